// The preview of the Open dialogs: the selected file is loaded into the
// work image and drawn scaled into a pane, its size written under it. When
// the dialog is confirmed on the same file, the document's open takes that
// image over (the preview-loaded flag) instead of reading the file again.
#pragma once

#include <windows.h>

#include "../../../framework/Wnd.h"

// Loads path into the work image for the preview and sets the
// preview-loaded flag, even when the file cannot be read (the library's
// message has been shown then, once: the same file is not read again while
// its preview stands). True when there is an image to show.
bool LoadPreview(const char* path);
// Forgets the preview: an empty work image, the flag clear.
void DiscardPreview();
// Confirming path: a preview of another file goes (so that path is read).
void KeepPreviewOnlyFor(const char* path);

// The pane: the work image scaled into its square box on white.
class XWndFilePreview : public CWnd {
public:
protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The older dialog's size line: "%dw x %dh" of the work image.
class XWndImageSizeLabel : public CWnd {
protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// "%dw x %dh" of the work image, "" when it holds no pixels.
CString PreviewSizeText();
