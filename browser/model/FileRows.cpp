#include "FileRows.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "BrowserFormats.h"
#include "TextFormats.h"

namespace {

const size_t kPoolBlock = 64 * 1024;

}  // namespace

const char* TextPool::Add(const std::string& text)
{
    const size_t need = text.size() + 1;
    if (blocks_.empty() || size_ - used_ < need) {
        size_ = std::max(kPoolBlock, need);
        blocks_.emplace_back(new char[size_]);
        used_ = 0;
    }
    char* copy = blocks_.back().get() + used_;
    std::memcpy(copy, text.c_str(), need);
    used_ += need;
    return copy;
}

void TextPool::Clear()
{
    blocks_.clear();
    used_ = size_ = 0;
}

std::string FileRow::Type() const
{
    const char* dot = std::strrchr(Name(), '.');
    std::string type = dot ? dot + 1 : "";
    for (char& c : type)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return type;
}

std::string FileRow::Text(int column) const
{
    switch (column) {
    case kColumnName: return Name();
    case kColumnSize: return FormatThousands(size);
    case kColumnType: return Type();
    case kColumnModified: return FormatFileDate(modified);
    case kColumnLocation: return location;
    default: return std::string();
    }
}

void FileRowTable::Append(const std::string& location, uint64_t size, uint64_t modified, uintptr_t treeItem,
                          uintptr_t folderItem)
{
    const size_t slash = location.find_last_of("\\/");
    const uint32_t nameOffset = slash == std::string::npos ? 0 : static_cast<uint32_t>(slash + 1);
    rows_.push_back(FileRow{paths_.Add(location), size, modified, treeItem, folderItem, nameOffset, false});
}

void FileRowTable::Clear()
{
    rows_.clear();
    paths_.Clear();
}

void FileRowTable::Settle() { Sort(kColumnName, true); }

long FileRowTable::Find(uintptr_t treeItem) const
{
    if (!treeItem)
        return -1;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].treeItem == treeItem)
            return static_cast<long>(i);
    return -1;
}

void FileRowTable::Sort(int column, bool ascending)
{
    std::stable_sort(rows_.begin(), rows_.end(), [column, ascending](const FileRow& a, const FileRow& b) {
        const int order = CompareRows(a, b, column);
        return ascending ? order < 0 : order > 0;
    });
}

long FileRowTable::Selected() const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].selected)
            return static_cast<long>(i);
    return -1;
}

void FileRowTable::Select(long index)
{
    for (size_t i = 0; i < rows_.size(); ++i)
        rows_[i].selected = static_cast<long>(i) == index;
}

int CompareRows(const FileRow& a, const FileRow& b, int column)
{
    switch (column) {
    case kColumnSize: return a.size < b.size ? -1 : a.size > b.size;
    case kColumnModified: return a.modified < b.modified ? -1 : a.modified > b.modified;
    case kColumnType: return CompareNoCase(a.Type().c_str(), b.Type().c_str());
    case kColumnLocation: return CompareNoCase(a.location, b.location);
    default: return CompareNoCase(a.Name(), b.Name());
    }
}
