#include "MainFrame.h"

#include <cstdio>

#include "../../capture/core/image/DisplayImage.h"
#include "../../framework/CommonDialogs.h"
#include "../../ui/coolbars/ComCtlVersion.h"
#include "../document/ExplorerDoc.h"
#include "../model/TextFormats.h"
#include "../views/ImageView.h"
#include "../views/ListView.h"
#include "../views/TreeView.h"
#include "BrowserBars.h"
#include "BrowserIds.h"
#include "BrowserState.h"

IMPLEMENT_DYNCREATE(XMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(XMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_CLOSE()
    ON_COMMAND(ID_VIEW_BACKGROUND, OnViewBackground)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_IMAGE_SIZE, OnUpdateImageSize)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_IMAGE_DEPTH, OnUpdateImageDepth)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_TOTAL_SPACE, OnUpdateTotalSpace)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_TOTAL_FILES, OnUpdateTotalFiles)
END_MESSAGE_MAP()

namespace {

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_IMAGE_SIZE, ID_INDICATOR_IMAGE_DEPTH,
                            ID_INDICATOR_TOTAL_SPACE, ID_INDICATOR_TOTAL_FILES};

const DisplayImage* SelectedImage()
{
    XExplorerDoc* doc = ActiveExplorerDoc();
    return doc ? doc->image : nullptr;
}

}  // namespace

void SplitterSizes(int clientWidth, int clientHeight, int& topHeight, int& leftWidth)
{
    topHeight = clientHeight / 5 * 3;
    leftWidth = clientWidth / 3;
    if (topHeight < 20)
        topHeight = 20;
    if (leftWidth < 20)
        leftWidth = 20;
}

XMainFrame::XMainFrame() = default;
XMainFrame::~XMainFrame() { delete coolBar_; }

BOOL XMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style &= ~FWS_ADDTOTITLE;
    return CFrameWnd::PreCreateWindow(cs);
}

int XMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    const bool plainToolBar = !CreateCoolBar();
    if (plainToolBar && !CreatePlainToolBar())
        return -1;
    if (!statusBar_.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !statusBar_.SetIndicators(kIndicators, sizeof kIndicators / sizeof kIndicators[0]))
        return -1;
    UINT id, style;
    int width;
    statusBar_.GetPaneInfo(0, id, style, width);
    statusBar_.SetPaneInfo(0, id, SBPS_STRETCH, width);
    if (plainToolBar) {
        toolBar_.SetBarStyle(toolBar_.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
        toolBar_.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&toolBar_);
    }
    return 0;
}

bool XMainFrame::CreateCoolBar()
{
    controlsVersion_ = ComCtlVersion();
    if (controlsVersion_ <= 470)
        return false;
    coolBar_ = new CMyCoolBar;
    if (!coolBar_->Create(this, kCoolBarWindowStyle, CBRS_ALIGN_TOP, AFX_IDW_TOOLBAR)) {
        // Should the rebar fail after all, the plain toolbar serves.
        delete coolBar_;
        coolBar_ = nullptr;
        return false;
    }
    coolBar_->SetBandColours(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNFACE));
    coolBar_->LoadFrameMenu(m_hWnd);
    menuManager_.AttachFrame(m_hWnd);
    menuManager_.LoadToolbarImages(IDR_MAINFRAME);
    return true;
}

BOOL XMainFrame::PreTranslateMessage(MSG* msg)
{
    if (coolBar_ && coolBar_->MenuBar().m_hWnd && coolBar_->MenuBar().FilterFrameKey(msg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(msg);
}

bool XMainFrame::CreatePlainToolBar()
{
    return toolBar_.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) &&
           toolBar_.LoadToolBar(IDR_MAINFRAME);
}

BOOL XMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    const CSize none(0, 0);
    if (!outerSplitter_.CreateStatic(this, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST) ||
        !innerSplitter_.CreateStatic(&outerSplitter_, 1, 2, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                     outerSplitter_.IdFromRowCol(0, 0)) ||
        !outerSplitter_.CreateView(1, 0, RUNTIME_CLASS(XExplorerImageView), none, context) ||
        !innerSplitter_.CreateView(0, 0, RUNTIME_CLASS(XExplorerTreeView), none, context) ||
        !innerSplitter_.CreateView(0, 1, RUNTIME_CLASS(XExplorerListView), none, context))
        return FALSE;
    CRect client;
    GetClientRect(&client);
    int topHeight, leftWidth;
    SplitterSizes(client.Width(), client.Height(), topHeight, leftWidth);
    outerSplitter_.SetRowInfo(0, topHeight, 20);
    innerSplitter_.SetColumnInfo(0, leftWidth, 20);
    return TRUE;
}

// A close that reaches the frame while a scan runs (the scan's message pump
// hands it over) stops the scan, and the frame closes once the scan is
// over: the views must outlive its loop.
void XMainFrame::OnClose()
{
    if (Browser.scanRunning) {
        Browser.scanCancelled = true;
        Browser.closeAfterScan = true;
        return;
    }
    CFrameWnd::OnClose();
}

void XMainFrame::OnSysColorChange()
{
    CFrameWnd::OnSysColorChange();
    if (coolBar_)
        coolBar_->SetBandColours(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_BTNFACE));
}

void XMainFrame::OnViewBackground()
{
    CColorDialog dialog(Browser.background, CC_FULLOPEN, this);
    if (dialog.DoModal() != IDOK)
        return;
    Browser.background = dialog.GetColor();
    SaveBackground();
}

void XMainFrame::OnUpdateImageSize(CCmdUI* cmdUI)
{
    const DisplayImage* image = SelectedImage();
    if (!image) {
        ShowMessage(nullptr);
        cmdUI->Enable(FALSE);
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%dw x %dh", static_cast<int>(image->width), static_cast<int>(image->height));
    cmdUI->SetText(text);
    cmdUI->Enable(TRUE);
    ShowMessage(image->name);
}

// The message pane: the image's path, or the idle prompt without an image.
// Set only on a change, so the idle updates do not repaint it.
void XMainFrame::ShowMessage(LPCSTR path)
{
    CString text;
    if (path)
        text = path;
    else
        GetMessageString(AFX_IDS_IDLEMESSAGE, text);
    if (statusBar_.GetSafeHwnd() && statusBar_.GetPaneText(0) != text)
        SetMessageText(text);
}

void XMainFrame::OnUpdateImageDepth(CCmdUI* cmdUI)
{
    const DisplayImage* image = SelectedImage();
    if (!image) {
        cmdUI->Enable(FALSE);
        return;
    }
    char text[64];
    const int bits = image->bitCount;
    if (bits <= 8)
        std::snprintf(text, sizeof text, "%d-bit, %d colors", bits, 1 << bits);
    else
        std::snprintf(text, sizeof text, "%d-bit, 16.8M colors", bits);
    cmdUI->SetText(text);
    cmdUI->Enable(TRUE);
}

void XMainFrame::OnUpdateTotalSpace(CCmdUI* cmdUI)
{
    cmdUI->SetText(("Total Space: " + FormatTotalSpace(Browser.counters.TotalBytes())).c_str());
    cmdUI->Enable(TRUE);
}

void XMainFrame::OnUpdateTotalFiles(CCmdUI* cmdUI)
{
    cmdUI->SetText(
        ("Total Files: " + FormatThousands(static_cast<uint64_t>(Browser.counters.TotalFiles()))).c_str());
    cmdUI->Enable(TRUE);
}
