// The capture program's Open dialogs with the image preview: the
// explorer-style one with a child template (Windows 4 and later) and the
// older one that widens itself for the preview.
#pragma once

#include "../../../framework/CommonDialogs.h"
#include "../../../framework/Controls.h"
#include "FilePreview.h"

// The older-style Open dialog: a "Preview" check box widens it by 148
// pixels to show the preview pane and the size line.
class XDialogFileOpen : public CFileDialog {
public:
    explicit XDialogFileOpen(LPCSTR filter);

    XWndFilePreview preview;
    XWndImageSizeLabel sizeLabel;
    int previewOn = 0;
    CButton previewCheck;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPreview();
    void OnLBSelChangedNotify(UINT listId, UINT selection, UINT code) override;
    DECLARE_MESSAGE_MAP()
};

// The explorer-style Open dialog: the path line with the file's size, the
// preview pane, the size line and the "Preview" check box that narrows the
// dialog to hide the pane.
class XDialogFile4 : public CFileDialog {
public:
    explicit XDialogFile4(LPCSTR filter);

    XWndFilePreview preview;
    int previewOn = 0;
    int fullWidth = 0;
    int reducedWidth = 0;

protected:
    BOOL OnInitDialog() override;
    void OnInitDone() override;
    void OnFileNameChange() override;
    void OnFolderChange() override;
    afx_msg void OnPreview();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyWidth();
};

// Run the Open dialog: 1 on OK with the chosen file's name (without its
// folder, which the dialog has made the current one) in name, 2 on cancel.
int RunOpenDialog(char* name, int size);
int RunExplorerOpenDialog(char* name, int size);
