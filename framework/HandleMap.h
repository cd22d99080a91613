// The tables binding window handles to their objects: the permanent one
// (windows the framework created or subclassed) and the temporary wrappers
// FromHandle makes for the others.
#pragma once

#include <windows.h>

#include <map>
#include <memory>

class CWnd;

class KfPermanentWindowMap {
public:
    CWnd* Find(HWND window) const;
    void Add(HWND window, CWnd* wnd);
    // Only when the handle is still bound to that object.
    void Remove(HWND window, CWnd* wnd);
    size_t Count() const { return table_.size(); }

private:
    std::map<HWND, CWnd*> table_;
};

class KfTemporaryWindowMap {
public:
    CWnd* Get(HWND window);   // made on first use
    void Clear();
    size_t Count() const { return table_.size(); }

private:
    std::map<HWND, std::unique_ptr<CWnd>> table_;
};

KfPermanentWindowMap& KfPermanentWindows();
KfTemporaryWindowMap& KfTemporaryWindows();

// While one is open, the next window created on this thread is bound to the
// given object from its first message on (CreateEx, dialogs, sheets).
class KfCreationScope {
public:
    explicit KfCreationScope(CWnd* wnd);
    ~KfCreationScope();
    KfCreationScope(const KfCreationScope&) = delete;
    KfCreationScope& operator=(const KfCreationScope&) = delete;
    // Names the object for the next window instead (null: none).
    static void Await(CWnd* wnd);

private:
    CWnd* previous_;
};
