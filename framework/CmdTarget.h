// Objects that receive commands (windows, documents, the application) and
// the command-update object that asks them whether a menu item or button is
// enabled, checked or labelled.
#pragma once

#include "CObject.h"
#include "MessageMap.h"

class CMenu;
class CWnd;
class CCmdUI;

// What OnCmdMsg carries for a WM_NOTIFY routed like a command: the
// notification's header and where its handler writes the result.
struct KfNotifyArgs {
    NMHDR* header;
    LRESULT* result;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Runs the handler of a command, command update or routed notification.
    // code: CN_COMMAND, CN_UPDATE_COMMAND_UI, a control's WM_COMMAND
    // notification code, or MAKELONG(notification code, WM_NOTIFY) with a
    // KfNotifyArgs in extra. With handlerInfo set nothing runs: the result
    // only says whether a handler exists. Frames override this to pass
    // commands on to their views, documents and the application.
    virtual BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo);

    // The first entry of this object's tables (most derived first) that
    // takes the call, and runs it; FALSE when none did.
    BOOL DispatchToTable(KfMessageCall& call, BOOL probeOnly = FALSE);

protected:
    static const KfMessageMap* GetThisMessageMap();
    virtual const KfMessageMap* GetMessageMap() const;
};

// A menu item, toolbar button or control being asked for its state. The bars
// derive their own kinds and override the four setters.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;           // position in the menu or bar
    UINT m_nIndexMax = 0;        // item count of the menu or bar
    CMenu* m_pMenu = nullptr;    // a menu item's popup
    CMenu* m_pSubMenu = nullptr;
    CWnd* m_pOther = nullptr;    // a control or bar, when not a menu item
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL on = TRUE);
    virtual void SetCheck(int state = 1);   // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL on = TRUE);
    virtual void SetText(LPCSTR text);
    // The handler leaves the decision to the next target on the route.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks target for the state; with no update handler the item is enabled
    // exactly when a command handler exists (if disableIfNoHandler).
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);

    // Updates every command item of a popup menu through target. An update
    // handler may replace its item by several (or none) at the same place,
    // as the recent-file list does; the walk goes on after them.
    static void UpdateMenuItems(CMenu* popup, CCmdTarget* target, BOOL disableIfNoHandler = TRUE);
};
