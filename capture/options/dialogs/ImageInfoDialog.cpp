// The Image Info dialog: what a document's first image is (name, size,
// depth, colours, memory) and when and how it last changed.
#include <windows.h>

#include <cstdio>

#include "../../../framework/Dialog.h"
#include "DocumentOperationCalls.h"
#include "SmallDialogIds.h"
#include "TitleBarDecorations.h"

namespace {

class XDialogImageInfo : public CDialog {
public:
    XDialogImageInfo(const char* documentTitle, const DisplayImage& described)
        : CDialog(IDD_IMAGE_INFO), title(documentTitle), image(described)
    {
    }

    CString title;
    const DisplayImage& image;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetDlgItemText(IDC_INFO_FILENAME, title);
        ShowNumber(IDC_INFO_WIDTH, "%ld", long(image.width));
        ShowNumber(IDC_INFO_HEIGHT, "%ld", long(image.height));
        ShowNumber(IDC_INFO_BITS, "%ld", long(image.bitCount));
        ShowNumber(IDC_INFO_MEMORY, "%ldKB", long(image.GetBitsSize() / 1024 + 1));
        const uint32_t colors = image.GetPaletteSize();
        if (colors)
            ShowNumber(IDC_INFO_COLORS, "%ld", long(colors));
        else
            SetDlgItemText(IDC_INFO_COLORS, "16.8M");
        SetDlgItemText(IDC_INFO_LAST_CHANGE, image.status == 0 ? "Original" : static_cast<LPCSTR>(title));
        CString date, time;
        FormatTimeStamp(image.timeStamp, date, time);
        SetDlgItemText(IDC_INFO_TIME, time);
        SetDlgItemText(IDC_INFO_DATE, date);
        CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
        return TRUE;
    }

    void ShowNumber(int id, const char* format, long value)
    {
        char text[32];
        snprintf(text, sizeof text, format, value);
        SetDlgItemText(id, text);
    }
};

}  // namespace

void RunImageInfoDialog(const char* title, const DisplayImage& image)
{
    XDialogImageInfo dialog(title ? title : "", image);
    dialog.DoModal();
}
