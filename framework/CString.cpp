#include "CString.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

size_t ClampIndex(int index, size_t size)
{
    if (index < 0)
        return 0;
    return std::min(static_cast<size_t>(index), size);
}

int CompareNoCaseBytes(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
}

bool InSet(char ch, const char* set)
{
    return set && ch != '\0' && std::strchr(set, ch) != nullptr;
}

bool IsSpace(char ch)
{
    return std::isspace(static_cast<unsigned char>(ch)) != 0;
}

} // namespace

CString::CString(const char* text)
{
    if (text)
        text_ = text;
}

CString::CString(const char* text, int length)
{
    if (text && length > 0)
        text_.assign(text, strnlen(text, static_cast<size_t>(length)));
}

CString::CString(char ch, int repeat)
{
    if (repeat > 0 && ch != '\0')
        text_.assign(static_cast<size_t>(repeat), ch);
}

CString& CString::operator=(const char* text)
{
    if (!text)
        text_.clear();
    else
        text_ = std::string(text);   // safe when text points into text_
    return *this;
}

CString& CString::operator=(char ch)
{
    text_.assign(1, ch);
    return *this;
}

char CString::GetAt(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= text_.size())
        return '\0';
    return text_[static_cast<size_t>(index)];
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && static_cast<size_t>(index) < text_.size())
        text_[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const CString& other)
{
    text_ += other.text_;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text)
        text_ += std::string(text);
    return *this;
}

CString& CString::operator+=(char ch)
{
    text_ += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
CString operator+(char a, const CString& b) { CString r(a); r += b; return r; }

int CString::Compare(const char* text) const
{
    int result = std::strcmp(text_.c_str(), text ? text : "");
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* text) const
{
    return CompareNoCaseBytes(text_.c_str(), text ? text : "");
}

void CString::FormatV(const char* format, va_list args)
{
    if (!format) {
        text_.clear();
        return;
    }
    va_list probe;
    va_copy(probe, args);
    int needed = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed < 0) {
        text_.clear();
        return;
    }
    std::string result(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(&result[0], result.size(), format, args);
    result.resize(static_cast<size_t>(needed));
    text_.swap(result);
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...)
{
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    text_ += more.text_;
}

#ifdef _WIN32
namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resourceModule = module;
}

BOOL CString::LoadString(UINT id)
{
    // A string-table entry holds at most 65535 characters; grow until the
    // text fits with room to spare, so a cut is never mistaken for the end.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buffer(static_cast<size_t>(size), '\0');
        int length = ::LoadStringA(AfxGetResourceHandle(), id, &buffer[0], size);
        if (length <= 0)
            return FALSE;
        if (length < size - 1) {
            buffer.resize(static_cast<size_t>(length));
            text_.swap(buffer);
            return TRUE;
        }
    }
    return FALSE;
}
#else
BOOL CString::LoadString(UINT)
{
    return FALSE;
}
#endif

CString CString::Left(int count) const
{
    return CString(text_.substr(0, ClampIndex(count, text_.size())));
}

CString CString::Right(int count) const
{
    size_t n = ClampIndex(count, text_.size());
    return CString(text_.substr(text_.size() - n));
}

CString CString::Mid(int first) const
{
    return CString(text_.substr(ClampIndex(first, text_.size())));
}

CString CString::Mid(int first, int count) const
{
    size_t start = ClampIndex(first, text_.size());
    size_t n = ClampIndex(count, text_.size() - start);
    return CString(text_.substr(start, n));
}

CString CString::SpanIncluding(const char* set) const
{
    size_t n = 0;
    while (n < text_.size() && InSet(text_[n], set))
        ++n;
    return Left(static_cast<int>(n));
}

CString CString::SpanExcluding(const char* set) const
{
    size_t n = 0;
    while (n < text_.size() && !InSet(text_[n], set))
        ++n;
    return Left(static_cast<int>(n));
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || static_cast<size_t>(start) >= text_.size())
        return -1;
    size_t at = text_.find(ch, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || static_cast<size_t>(start) > text_.size())
        return -1;
    size_t at = text_.find(sub, static_cast<size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const
{
    size_t at = text_.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(const char* set) const
{
    if (!set || !*set)
        return -1;
    size_t at = text_.find_first_of(set);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString& CString::MakeUpper()
{
    for (char& ch : text_)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return *this;
}

CString& CString::MakeLower()
{
    for (char& ch : text_)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(text_.begin(), text_.end());
    return *this;
}

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < text_.size() && IsSpace(text_[n]))
        ++n;
    text_.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(char ch)
{
    size_t n = 0;
    while (n < text_.size() && text_[n] == ch)
        ++n;
    text_.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(const char* set)
{
    size_t n = 0;
    while (n < text_.size() && InSet(text_[n], set))
        ++n;
    text_.erase(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    while (!text_.empty() && IsSpace(text_.back()))
        text_.pop_back();
    return *this;
}

CString& CString::TrimRight(char ch)
{
    while (!text_.empty() && text_.back() == ch)
        text_.pop_back();
    return *this;
}

CString& CString::TrimRight(const char* set)
{
    while (!text_.empty() && InSet(text_.back(), set))
        text_.pop_back();
    return *this;
}

int CString::Replace(char from, char to)
{
    int count = 0;
    for (char& ch : text_) {
        if (ch == from) {
            ch = to;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from)
        return 0;
    std::string needle(from), replacement(to ? to : "");
    int count = 0;
    std::string result;
    size_t pos = 0;
    for (size_t at; (at = text_.find(needle, pos)) != std::string::npos; pos = at + needle.size()) {
        result.append(text_, pos, at - pos);
        result += replacement;
        ++count;
    }
    if (count == 0)
        return 0;
    result.append(text_, pos, std::string::npos);
    text_.swap(result);
    return count;
}

int CString::Remove(char ch)
{
    size_t before = text_.size();
    text_.erase(std::remove(text_.begin(), text_.end(), ch), text_.end());
    return static_cast<int>(before - text_.size());
}

int CString::Insert(int index, char ch)
{
    text_.insert(ClampIndex(index, text_.size()), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const char* text)
{
    if (text)
        text_.insert(ClampIndex(index, text_.size()), std::string(text));
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && count > 0 && static_cast<size_t>(index) < text_.size())
        text_.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

LPSTR CString::GetBuffer(int minLength)
{
    if (minLength > 0 && static_cast<size_t>(minLength) > text_.size()) {
        // The bytes beyond the current text are zero, so a caller that
        // writes nothing and releases with -1 keeps the old text.
        text_.resize(static_cast<size_t>(minLength), '\0');
    }
    return &text_[0];
}

LPSTR CString::GetBufferSetLength(int length)
{
    text_.resize(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    return &text_[0];
}

void CString::ReleaseBuffer(int newLength)
{
    size_t length;
    if (newLength < 0)
        length = strnlen(text_.c_str(), text_.size());
    else
        length = std::min(static_cast<size_t>(newLength), text_.size());
    text_.resize(length);
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }
