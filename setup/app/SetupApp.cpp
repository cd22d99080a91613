#include "SetupApp.h"

#include "SetupState.h"
#include "background/BackgroundWnd.h"
#include "files/InstalledCopy.h"
#include "wizard/SetupSheet.h"

namespace {

XSetupApp theApp;

// The folder of this program's own file, without the last "\".
CString ProgramFolder()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString(".");
    char* slash = strrchr(path, '\\');
    if (slash)
        *slash = 0;
    return CString(path);
}

void MakeHeadingFont(CFont& font)
{
    LOGFONTA face{};
    face.lfHeight = 11;
    face.lfWeight = FW_BOLD;
    lstrcpynA(face.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    font.CreateFontIndirect(&face);
}

}  // namespace

BOOL XSetupApp::InitInstance()
{
    Enable3dControls();
    XWndBackground background;
    if (!background.CreateOverScreen())
        return FALSE;
    m_pMainWnd = &background;

    SetupState& setup = TheSetup();
    MakeHeadingFont(setup.headingFont);
    setup.setupFolder = ProgramFolder();
    setup.picture.Load(setup.setupFolder + "\\setup.png");

    InstalledCopy installed;
    bool known = ReadInstalledCopy(&installed);
    if (known) {
        setup.userName = installed.userName;
        setup.organisation = installed.organisation;
        setup.installFolder = installed.folder;
        setup.recordedFolder = installed.folder;
    }
    {
        XPropertySheetSetup sheet(&background, known);
        sheet.DoModal();
    }
    setup.picture.Free();
    m_pMainWnd = nullptr;
    background.DestroyWindow();
    return FALSE;
}
