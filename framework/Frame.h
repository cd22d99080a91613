// Frame windows: a top-level window (or an MDI child) that carries a menu,
// accelerators, control bars docked at its sides and one client pane (a
// view, a splitter or the MDI client) in what the bars leave. The frame
// routes commands to its active view (and so to the view's document) first,
// then handles them itself, then (outermost frame only) gives them to the
// application.
#pragma once

#include "Collections.h"
#include "Wnd.h"

class CControlBar;
class CDocTemplate;
class CDocument;
class CView;

// What a frame needs to build its views: handed from the template through
// frame creation to OnCreateClient, and on to the views' creation.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// WM_SIZEPARENT's parameter: the rectangle still free; each bar takes its
// side of it (deferred moves in hDWP, or only measuring when hDWP is null).
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};

// Child windows with ids in [first, last] lay themselves out along the sides
// of parent's client area (or of clientRect); the child leftOverId takes what
// remains. With reposQuery nothing moves and rectParam receives the
// remainder; with reposExtra rectParam's sides are kept free as well.
enum { reposDefault = 0, reposQuery = 1, reposExtra = 2 };
void KfRepositionBars(CWnd* parent, UINT first, UINT last, UINT leftOverId, UINT flag = reposDefault,
                      LPRECT rectParam = nullptr, LPCRECT clientRect = nullptr, BOOL stretch = TRUE);

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;   // lets the system choose

    // Creation. LoadFrame takes the title (first "\n" part of string id), the
    // menu, the icon and the accelerators of resource id.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
                        DWORD exStyle = 0, CCreateContext* context = nullptr);
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL LoadAccelTable(LPCSTR name);
    // The accelerators in force: the frame's own (an MDI frame: the active
    // document window's, when it has any).
    virtual HACCEL GetDefaultAccelerator();
    BOOL IsFrameWnd() const override { return TRUE; }

    // The client pane: a view of the context's view class unless overridden.
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);

    // Layout: bars along the sides, the pane in the rest.
    virtual void RecalcLayout(BOOL notify = TRUE);
    void RepositionBars(UINT first, UINT last, UINT leftOverId, UINT flag = reposDefault,
                        LPRECT rectParam = nullptr, LPCRECT clientRect = nullptr, BOOL stretch = TRUE)
    {
        KfRepositionBars(this, first, last, leftOverId, flag, rectParam, clientRect, stretch);
    }
    void DelayRecalcLayout(BOOL notify = TRUE);

    // Views and documents.
    virtual CFrameWnd* GetActiveFrame() { return this; }
    CView* GetActiveView() const;
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual void ActivateFrame(int showCommand = -1);
    // Makes a view active if none is, sends every descendant the initial
    // update, and shows the frame when makeVisible.
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR title) { m_strTitle = title; }

    // Control bars.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    CControlBar* GetControlBar(UINT id);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    // Docking is fixed at the side each bar's style names; these keep the
    // allowed sides for a later floating layer.
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY; }
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);

    // The status bar's first pane: a text, or the prompt of a command (the
    // part of string id before "\n"); AFX_IDS_IDLEMESSAGE gives the idle text.
    void SetMessageText(LPCSTR text);
    void SetMessageText(UINT id);
    virtual void GetMessageString(UINT id, CString& message) const;
    CWnd* GetMessageBar();

    HMENU m_hMenuDefault = nullptr;   // the menu while no document's menu is in place
    HACCEL m_hAccelTable = nullptr;
    BOOL m_bAutoMenuEnable = TRUE;    // menu items without a handler are disabled
    UINT m_nIDHelp = 0;               // the resource id the frame was loaded from

    // Routing and messages.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnBarCheck(UINT id);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* cmdUI);

protected:
    void UpdateFrameTitleForDocument(LPCSTR docName);
    // A tooltip's text: the part of the command's string after "\n".
    BOOL OnToolTipText(NMHDR* header, LRESULT* result);
    // Menu prompts and toolbar fly-by help in the status bar.
    void OnHotItemChange(NMHDR* header);
    // The first view with the first pane's id, however deep (splitters).
    CView* FindFirstPaneView() const;
    // The frame's window class: registered with the icon of resource id.
    LPCSTR RegisterFrameClass(UINT resourceId);

    CString m_strTitle;
    CString m_strShownTitle;   // the caption set last (MDI frames add to theirs)
    CView* m_pViewActive = nullptr;
    CPtrList m_listControlBars;
    DWORD m_dwDockStyle = 0;
    BOOL m_bLayoutPending = FALSE;
    BOOL m_bInRecalcLayout = FALSE;
    UINT m_nMenuPromptId = 0;            // the command whose prompt is showing
    CCreateContext* m_pPendingContext = nullptr;   // between Create and OnCreate

    DECLARE_MESSAGE_MAP()
};
