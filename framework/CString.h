// The framework's string: a growable, zero-terminated ANSI text with value
// semantics. Window-free: it builds natively too (no windows.h except through
// the kernel header).
//
// Pass a CString to printf-style functions (Format included) with an
// explicit (LPCSTR) conversion; the compiler checks the format strings.
#pragma once

#include "kernel/KernelApi.h"

#include <cstdarg>
#include <string>

#if defined(__MINGW32__)
#define KF_PRINTF_FORMAT(fmt, args) __attribute__((format(gnu_printf, fmt, args)))
#elif defined(__GNUC__)
#define KF_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KF_PRINTF_FORMAT(fmt, args)
#endif

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const char* text);                 // null gives the empty string
    CString(const char* text, int length);     // at most length bytes
    CString(char ch, int repeat = 1);
    explicit CString(const std::string& text) : text_(text) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);
    CString& operator=(char ch);

    // Size and content.
    int GetLength() const { return static_cast<int>(text_.size()); }
    BOOL IsEmpty() const { return text_.empty() ? TRUE : FALSE; }
    void Empty() { text_.clear(); }
    char GetAt(int index) const;                // 0 outside the text
    void SetAt(int index, char ch);             // ignored outside the text
    char operator[](int index) const { return GetAt(index); }
    operator LPCSTR() const { return text_.c_str(); }
    LPCSTR GetString() const { return text_.c_str(); }
    const std::string& str() const { return text_; }

    // Concatenation.
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, const char* b);
    friend CString operator+(const char* a, const CString& b);
    friend CString operator+(const CString& a, char b);
    friend CString operator+(char a, const CString& b);

    // Comparison: byte order, or without regard to case.
    int Compare(const char* text) const;
    int CompareNoCase(const char* text) const;

    // Formatting and resources.
    void Format(const char* format, ...) KF_PRINTF_FORMAT(2, 3);
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...) KF_PRINTF_FORMAT(2, 3);
    // Loads a string-table entry of the framework's resource module; FALSE
    // (and the string unchanged) when there is none. Natively always FALSE.
    BOOL LoadString(UINT id);

    // Extraction; counts are clamped to the text.
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;

    // Searching: index of the first byte, or -1.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    // Changes in place.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    CString& TrimLeft();
    CString& TrimLeft(char ch);
    CString& TrimLeft(const char* set);
    CString& TrimRight();
    CString& TrimRight(char ch);
    CString& TrimRight(const char* set);
    CString& Trim() { return TrimLeft().TrimRight(); }
    int Replace(char from, char to);
    int Replace(const char* from, const char* to);
    int Remove(char ch);
    int Insert(int index, char ch);
    int Insert(int index, const char* text);
    int Delete(int index, int count = 1);

    // Direct access to the bytes: GetBuffer gives room for at least minLength
    // bytes and the terminator; ReleaseBuffer takes the new length, or with -1
    // the length up to the first zero byte.
    LPSTR GetBuffer(int minLength = 0);
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string text_;
};

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, const char* b);
bool operator<(const char* a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, const char* b);
bool operator>(const char* a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, const char* b);
bool operator<=(const char* a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, const char* b);
bool operator>=(const char* a, const CString& b);

#ifdef _WIN32
// The module whose string table LoadString reads; the executable unless the
// application sets another.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
#endif
