#include "HandleMap.h"

#include "Wnd.h"

CWnd* KfPermanentWindowMap::Find(HWND window) const
{
    auto found = table_.find(window);
    return found == table_.end() ? nullptr : found->second;
}

void KfPermanentWindowMap::Add(HWND window, CWnd* wnd) { table_[window] = wnd; }

void KfPermanentWindowMap::Remove(HWND window, CWnd* wnd)
{
    auto found = table_.find(window);
    if (found != table_.end() && found->second == wnd)
        table_.erase(found);
}

CWnd* KfTemporaryWindowMap::Get(HWND window)
{
    auto found = table_.find(window);
    if (found != table_.end())
        return found->second.get();
    auto wrapper = std::make_unique<CWnd>(window);
    CWnd* result = wrapper.get();
    table_.emplace(window, std::move(wrapper));
    return result;
}

void KfTemporaryWindowMap::Clear()
{
    // Unbind first: a wrapper never destroys its window.
    for (auto& entry : table_)
        entry.second->m_hWnd = nullptr;
    table_.clear();
}

// Never destroyed: global window objects may ask for them at exit.
KfPermanentWindowMap& KfPermanentWindows()
{
    static auto* map = new KfPermanentWindowMap;
    return *map;
}

KfTemporaryWindowMap& KfTemporaryWindows()
{
    static auto* map = new KfTemporaryWindowMap;
    return *map;
}
