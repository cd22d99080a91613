// The standard shell command of a program's command line: nothing (a new
// document), a file to open, or a file to print. Parsed from the
// application's command line and carried out through its document layer.
#pragma once

#include "CString.h"
#include "Wnd.h"

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileNothing };

    // Called for every argument (flags without their "/" or "-").
    virtual void ParseParam(LPCSTR param, BOOL flag, BOOL last);
    virtual ~CCommandLineInfo() = default;

    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
};

// Splits the command line (quoted arguments keep their blanks) and hands
// each argument to info.
void KfParseCommandLine(LPCSTR commandLine, CCommandLineInfo& info);
// Carries the command out: FALSE when the document could not be made or
// opened (the user is told when a named file failed).
BOOL KfProcessShellCommand(CWinApp& app, const CCommandLineInfo& info);
