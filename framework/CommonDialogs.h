// The system's common dialogs (file, colour, font, print) as objects. The
// file dialog can be extended: a child template (OFN_ENABLETEMPLATE) whose
// controls the object binds and whose messages its table receives, and the
// notifications OnInitDone, OnFileNameChange, OnFolderChange,
// OnTypeChange, OnFileNameOK and, for the older style without
// OFN_EXPLORER, OnLBSelChangedNotify.
#pragma once

#include "Dialog.h"

#include <commdlg.h>

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // The filter takes "|" between its parts (as "Bitmaps|*.bmp|All|*.*|").
    explicit CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                         CWnd* parent = nullptr);

    OPENFILENAMEA m_ofn{};
    BOOL m_bOpenFileDialog;

    INT_PTR DoModal() override;

    // While the dialog runs (explorer style) they ask it; after, they read
    // the result in m_ofn.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

    virtual void OnInitDone() {}
    virtual void OnFileNameChange() {}
    virtual void OnFolderChange() {}
    virtual void OnTypeChange() {}
    // TRUE refuses the chosen name (the dialog stays open).
    virtual BOOL OnFileNameOK() { return FALSE; }
    virtual void OnLBSelChangedNotify(UINT listId, UINT selection, UINT code)
    {
        (void)listId, (void)selection, (void)code;
    }

    BOOL OnInitDialog() override;
    // The system's dialog ends itself: OK and Cancel get its own handling.
    void OnOK() override { Default(); }
    void OnCancel() override { Default(); }
    // Explorer style: the dialog's window, of which this object's window
    // (the child template's) is a child.
    bool IsExplorerStyle() const { return (m_ofn.Flags & OFN_EXPLORER) != 0; }

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend UINT_PTR CALLBACK KfFileDialogHook(HWND, UINT, WPARAM, LPARAM);
    HWND DialogWindow() const;
    CString AskDialog(UINT message) const;
    char fileBuffer_[MAX_PATH * 4] = {};
    char titleBuffer_[MAX_PATH] = {};
    CString filter_;
    CString defaultExtension_;
};

UINT_PTR CALLBACK KfFileDialogHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CColorDialog : public CObject {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    CHOOSECOLORA m_cc{};
    virtual INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF color) { m_cc.rgbResult = color; }
    // The sixteen custom colours, shared by every colour dialog of the program.
    static COLORREF* GetSavedCustomColors();
};

class CFontDialog : public CObject {
public:
    explicit CFontDialog(const LOGFONTA* initial = nullptr, DWORD flags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* printer = nullptr, CWnd* parent = nullptr);
    CHOOSEFONTA m_cf{};
    LOGFONTA m_lf{};
    virtual INT_PTR DoModal();
    void GetCurrentFont(LOGFONTA* font) const { *font = m_lf; }
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    int GetSize() const { return m_cf.iPointSize; }   // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return m_lf.lfWeight; }
    BOOL IsBold() const { return m_lf.lfWeight >= FW_SEMIBOLD; }
    BOOL IsItalic() const { return m_lf.lfItalic != 0; }
};

// Owns the device-mode and device-name blocks the system hands back; take
// them out of m_pd (and clear them there) to keep them.
class CPrintDialog : public CObject {
public:
    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                          CWnd* parent = nullptr);
    ~CPrintDialog() override;
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;

    PRINTDLGA m_pd{};
    virtual INT_PTR DoModal();
    // The default printer without showing anything.
    BOOL GetDefaults();
    CString GetDeviceName() const;
    CString GetDriverName() const;
    CString GetPortName() const;
    int GetCopies() const { return m_pd.nCopies; }
    HDC GetPrinterDC() const { return m_pd.hDC; }
    HDC CreatePrinterDC();

private:
    CString DevNamesField(int which) const;
};
