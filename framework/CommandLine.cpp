#include "CommandLine.h"

#include <vector>

namespace {

std::vector<CString> SplitArguments(LPCSTR commandLine)
{
    std::vector<CString> arguments;
    const char* p = commandLine ? commandLine : "";
    while (*p) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        CString argument;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '"')
                quoted = !quoted;
            else
                argument += *p;
        }
        arguments.push_back(argument);
    }
    return arguments;
}

} // namespace

void CCommandLineInfo::ParseParam(LPCSTR param, BOOL flag, BOOL)
{
    CString text(param);
    if (flag) {
        if (text.CompareNoCase("p") == 0)
            m_nShellCommand = FilePrint;
        else if (text.CompareNoCase("pt") == 0)
            m_nShellCommand = FilePrintTo;
        else if (text.CompareNoCase("nologo") == 0)
            m_bShowSplash = FALSE;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = text;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
}

void KfParseCommandLine(LPCSTR commandLine, CCommandLineInfo& info)
{
    std::vector<CString> arguments = SplitArguments(commandLine);
    for (size_t i = 0; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        BOOL flag = argument.GetLength() > 1 && (argument[0] == '/' || argument[0] == '-');
        info.ParseParam(flag ? (LPCSTR)argument.Mid(1) : (LPCSTR)argument, flag, i + 1 == arguments.size());
    }
}

BOOL KfProcessShellCommand(CWinApp& app, const CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        app.OnFileNew();
        return app.m_pMainWnd != nullptr || app.GetOpenDocumentCount() > 0;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        if (app.OpenDocumentFile(info.m_strFileName))
            return TRUE;
        AfxMessageBox(CString("Cannot open the document ") + info.m_strFileName + ".", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    default:
        return TRUE;
    }
}
