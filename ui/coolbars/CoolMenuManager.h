// Owner-drawn popup menus in the toolbar's look: each item shows its
// command's toolbar image (or a drawn check mark), its text and, at the
// right, its keyboard shortcuts from the frame's accelerator table. The
// manager hooks the frame: a popup's items become owner-drawn when it opens
// and plain again when the menu closes, so other code always sees ordinary
// menus. The frame owns one, attaches it after creation and loads its
// toolbar resources into it.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "SubclassWnd.h"
#include "Wnd.h"

class CCoolMenuManager : public CSubclassWnd {
    DECLARE_DYNAMIC(CCoolMenuManager)
public:
    CCoolMenuManager();
    ~CCoolMenuManager() override;

    // Hooks the frame window, or unhooks with null.
    void AttachFrame(HWND frame);
    // Adds the images of toolbar resource `id` (bitmap and toolbar of that
    // id); FALSE when missing or when its image size differs from the first.
    BOOL LoadToolbarImages(UINT id);

    virtual void ResetAll();
    // Loads every toolbar again (the images follow new system colours).
    virtual void ReloadImages();
    virtual void OnInitMenuPopup(HMENU popup, UINT index, BOOL isSystemMenu);
    virtual BOOL OnMeasureItem(MEASUREITEMSTRUCT* measure);
    virtual BOOL OnDrawItem(DRAWITEMSTRUCT* draw);
    virtual LRESULT OnMenuChar(UINT character, UINT flags, HMENU menu);
    virtual void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The shortcut text of `command` added to `text` by accelerator mode
    // `mode` (0 none; 1 replaces a text after a tab; 2 only where none is).
    void AddShortcutText(CString& text, UINT command, int mode) const;
    // Makes the popup's items owner-drawn (convert) or plain again.
    void ConvertMenu(HMENU popup, BOOL convert, BOOL isSystemMenu);
    int ConvertedMenuCount() const { return static_cast<int>(m_convertedMenus.size()); }

    BOOL m_bConvert = TRUE;
    int m_nAccelMode = 2;
    BOOL m_bUseDrawState = FALSE;       // disabled images through the system's disabled-state drawing
    BOOL m_bDisabledColour = FALSE;     // colour flag of the embossed drawing
    CSize m_sizeImage{0, 0};
    CSize m_sizeButton{0, 0};

private:
    struct ItemRecord {
        CString text;
        UINT type = 0;
        int image = -1;
        bool inUse = false;
    };
    ItemRecord* OwnRecord(ULONG_PTR data) const;
    ItemRecord* TakeRecord();
    void LoadAccelerators(HACCEL table);
    void UpdateAccelerators();
    HFONT MenuFont();
    void DrawCheck(HDC dc, const CRect& box, HMENU menu, UINT id, bool checked, bool selected);

    std::vector<UINT> m_toolbarIds;
    HIMAGELIST m_images = nullptr;
    std::map<UINT, int> m_imageOfCommand;
    std::map<UINT, int> m_lastAccelOfCommand;
    HACCEL m_hAccelLoaded = nullptr;
    std::vector<ACCEL> m_accels;   // command word: distance back to the command's previous entry
    std::vector<HMENU> m_convertedMenus;
    HFONT m_menuFont = nullptr;
    std::vector<std::unique_ptr<ItemRecord>> m_records;
};
