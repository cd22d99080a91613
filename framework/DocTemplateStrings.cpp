#include "DocTemplateStrings.h"

BOOL KfGetDocStringPart(const CString& docString, int index, CString& part)
{
    part.Empty();
    if (index < 0 || index >= kDocStringPartCount)
        return FALSE;
    int start = 0;
    for (int i = 0; i < index; ++i) {
        int newline = docString.Find('\n', start);
        if (newline < 0)
            return TRUE;   // fewer parts: this one is empty
        start = newline + 1;
    }
    int end = docString.Find('\n', start);
    part = end < 0 ? docString.Mid(start) : docString.Mid(start, end - start);
    return TRUE;
}

CString KfDocFilterExtension(const CString& docString)
{
    CString ext;
    KfGetDocStringPart(docString, kDocFilterExt, ext);
    int semicolon = ext.Find(';');
    if (semicolon >= 0)
        ext = ext.Left(semicolon);
    ext.Trim();
    if (ext.Left(1) == "*")
        ext = ext.Mid(1);
    if (ext.IsEmpty() || ext == ".")
        return CString();
    if (ext[0] != '.')
        ext = "." + ext;
    return ext;
}

CString KfUntitledTitle(const CString& docString, int count)
{
    CString name;
    KfGetDocStringPart(docString, kDocName, name);
    if (name.IsEmpty())
        name = "Untitled";
    if (count > 0)
        name.AppendFormat("%d", count);
    return name;
}
