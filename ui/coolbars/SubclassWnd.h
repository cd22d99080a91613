// Light window hooks: any number of CSubclassWnd objects can watch one
// window's messages, also windows the program does not own (a frame, the MDI
// client, a control). The hooks of one window form a chain (the last one
// attached sees messages first); all hooked windows share one procedure, and
// the procedure that was installed before the first hook comes back when the
// last one leaves, provided no other subclass has been put on top meanwhile.
#pragma once

#include <windows.h>

#include "CObject.h"

class CSubclassWnd : public CObject {
    DECLARE_DYNAMIC(CSubclassWnd)
public:
    CSubclassWnd() = default;
    // Leaves the chain of its window.
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // With a window: joins the front of that window's chain. With null:
    // leaves the chain it is in. TRUE.
    BOOL Attach(HWND window);
    BOOL IsHooked() const { return m_hWnd != nullptr; }

    // A message of the hooked window. The default passes it on to the next
    // hook, or, at the end of the chain, to the procedure saved at the first
    // attach. Overrides handle what they need and end with this default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default for the message being handled now.
    LRESULT Default();

    HWND m_hWnd = nullptr;                // the hooked window, null when not hooked
    WNDPROC m_pOldWndProc = nullptr;      // the procedure before the first hook
    CSubclassWnd* m_pNext = nullptr;      // the next hook of the same window

private:
    friend class CHookWindowMap;
};

// The process-wide map from a window to the first hook of its chain.
class CHookWindowMap {
public:
    static void Add(HWND window, CSubclassWnd* hook);
    static void Remove(CSubclassWnd* hook);
    // Detaches every hook of the window.
    static void RemoveAll(HWND window);
    static CSubclassWnd* Lookup(HWND window);
    // The number of windows with hooks (for checks).
    static int WindowCount();
};
