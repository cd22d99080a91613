// The Merge command's flattening with its modeless progress dialog.
#include "MergeImages.h"

#include "../../../framework/Dialog.h"
#include "AppServices.h"
#include "ImageMerge.h"
#include "Settings.h"
#include "resource.h"

namespace {

// "Merge": one centred line telling the phase; closed when the merge ends.
class MergeProgressDialog : public CDialog {
public:
    MergeProgressDialog() { Create(IDD_MERGE_PROGRESS, CWnd::FromHandle(MainFrameWindow())); }
    ~MergeProgressDialog() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    void ShowPhase(int stringId)
    {
        if (!m_hWnd)
            return;
        CString text;
        text.LoadString(UINT(stringId));
        SetDlgItemText(IDC_MERGE_TEXT, text);
        // The merge pumps no messages: the box and its text are painted now.
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // Some systems put what a window painted on the screen only when its
        // thread next waits for messages: a wait of no time, which takes
        // none of them, lets the text through.
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_PAINT);
    }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        CenterWindow();
        return TRUE;
    }
};

void Merge(DisplayImage& result, DisplayImage* const* images, int count, bool forPrint)
{
    MergeProgressDialog dialog;
    MergeOptions options;
    options.background = forPrint ? 0xFFFFFF : COLORREF(Session[kSessionMergeBackground]);
    options.reportProgress = !forPrint;
    options.phaseShown = [&dialog, forPrint](int stringId) {
        // The print variant keeps its first text.
        if (!forPrint || stringId == kMergeScanningText)
            dialog.ShowPhase(stringId);
    };
    FlattenImages(result, images, count, options);
    if (result.hPixels && !forPrint)
        result.status = kStatusMerged;
}

} // namespace

void MergeImages(DisplayImage& result, DisplayImage* const* images, int count)
{
    Merge(result, images, count, false);
}

void MergeImagesForPrint(DisplayImage& result, DisplayImage* const* images, int count)
{
    Merge(result, images, count, true);
}
