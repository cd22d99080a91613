// The rows of the browser's file list, held by the program rather than by
// the list control (which shows them as an owner-data list): a sorted
// insertion per row or a comparison that looks rows up would not scale to
// hundreds of thousands of files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum FileColumn { kColumnName, kColumnSize, kColumnType, kColumnModified, kColumnLocation, kFileColumnCount };

// A row is a few numbers and a pointer to its path, which the table keeps:
// growing the table or sorting it copies bytes, and a file costs no
// allocation of its own.
struct FileRow {
    const char* location;   // full path
    uint64_t size;
    uint64_t modified;      // file time, 100-ns ticks since 1601
    uintptr_t treeItem;     // the file's tree item; 0 until its folder is opened
    uintptr_t folderItem;   // the tree item of the file's folder
    uint32_t nameOffset;    // where the file name starts in location
    bool selected;

    const char* Name() const { return location + nameOffset; }
    // The extension after the last ".", upper case.
    std::string Type() const;
    std::string Text(int column) const;
};

// Texts copied into blocks that never move, so the copies stay put while
// more are added; all go at once.
class TextPool {
public:
    const char* Add(const std::string& text);
    void Clear();

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = 0;   // of the last block
    size_t size_ = 0;
};

class FileRowTable {
public:
    size_t Count() const { return rows_.size(); }
    const FileRow& Row(size_t index) const { return rows_[index]; }
    FileRow& Row(size_t index) { return rows_[index]; }

    // Appends a row; rows appended since the last Settle are put in name
    // order by Settle (one sort, not one search per row).
    void Append(const std::string& location, uint64_t size, uint64_t modified, uintptr_t treeItem,
                uintptr_t folderItem = 0);
    // Orders the rows by name, as a list sorted on insertion would show them.
    void Settle();
    void Clear();

    // The row of a tree item, or -1.
    long Find(uintptr_t treeItem) const;
    void Remove(size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }

    // Sorts by a column: names, types and locations as text without regard
    // to case, sizes as numbers, times as times. Equal keys keep their order.
    void Sort(int column, bool ascending);
    // The selected row, or -1; Select(-1) clears the selection.
    long Selected() const;
    void Select(long index);

private:
    std::vector<FileRow> rows_;
    TextPool paths_;
};

// Negative, zero or positive as row a sorts before, with or after row b by
// the column, ascending.
int CompareRows(const FileRow& a, const FileRow& b, int column);
