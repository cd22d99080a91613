// The capture program's Save As dialog: the 11 formats of the format
// library, whose position in the list is the export type, and the
// "Automatic Color Reduction" box. It names the files of the image
// documents and, in capture-file mode, the capture file.
#pragma once

#include "../../../framework/CommonDialogs.h"

class XDialogFileSave : public CFileDialog {
public:
    XDialogFileSave(LPCSTR filter, LPCSTR fileName);

    int reduceColors = 0;

protected:
    BOOL OnInitDialog() override;
    BOOL OnFileNameOK() override;
    afx_msg void OnReduceColors();
    DECLARE_MESSAGE_MAP()
};

// Runs the dialog: true when a name with a known format was chosen. Document
// mode (capture-file mode false): the name into FileNameSave and the type
// into Format value 2, starting in initialFolder when given. Capture-file
// mode: into FileNameDirect and Format value 3.
bool RunFileSaveDialog(bool captureFileMode, const char* initialFolder);
