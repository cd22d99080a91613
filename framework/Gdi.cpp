#include "Gdi.h"

#include "Wnd.h"

#include <map>
#include <memory>
#include <vector>

namespace {

// Temporary wrappers by handle, one table per wrapper class; wrappers in
// them never delete their handles.
std::vector<void (*)()>& TempTableCleaners()
{
    static std::vector<void (*)()> cleaners;
    return cleaners;
}

template <class T>
std::map<HGDIOBJ, std::unique_ptr<T>>& TempTable()
{
    static std::map<HGDIOBJ, std::unique_ptr<T>>* table = [] {
        auto* made = new std::map<HGDIOBJ, std::unique_ptr<T>>;
        TempTableCleaners().push_back([] {
            for (auto& entry : TempTable<T>())
                entry.second->Detach();
            TempTable<T>().clear();
        });
        return made;
    }();
    return *table;
}

template <class T>
T* TempWrapper(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    auto& table = TempTable<T>();
    auto found = table.find(handle);
    if (found != table.end())
        return found->second.get();
    auto wrapper = std::make_unique<T>();
    wrapper->m_hObject = handle;
    T* result = wrapper.get();
    table.emplace(handle, std::move(wrapper));
    return result;
}

std::map<HDC, std::unique_ptr<CDC>>& TempDcTable()
{
    static std::map<HDC, std::unique_ptr<CDC>> table;
    return table;
}

} // namespace

void KfDeleteTempGdiObjects()
{
    for (auto cleaner : TempTableCleaners())
        cleaner();
    for (auto& entry : TempDcTable())
        entry.second->Detach();
    TempDcTable().clear();
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (!object)
        return FALSE;
    DeleteObject();
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    BOOL done = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return done;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return TempWrapper<CGdiObject>(object); }
CPen* CPen::FromHandle(HPEN pen) { return TempWrapper<CPen>(pen); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return TempWrapper<CBrush>(brush); }
CFont* CFont::FromHandle(HFONT font) { return TempWrapper<CFont>(font); }
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return TempWrapper<CBitmap>(bitmap); }
CPalette* CPalette::FromHandle(HPALETTE palette) { return TempWrapper<CPalette>(palette); }
CRgn* CRgn::FromHandle(HRGN region) { return TempWrapper<CRgn>(region); }

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap ? Attach(::CreatePatternBrush(static_cast<HBITMAP>(bitmap->m_hObject))) : FALSE;
}

BOOL CFont::CreatePointFont(int pointSize10, LPCSTR face, CDC* dc)
{
    HDC screen = dc ? dc->m_hDC : ::GetDC(nullptr);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(pointSize10, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face ? face : "", LF_FACESIZE);
    if (!dc)
        ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&font);
}

BOOL CBitmap::LoadBitmap(UINT id) { return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id))); }
BOOL CBitmap::LoadBitmap(LPCSTR name) { return Attach(::LoadBitmapA(AfxGetResourceHandle(), name)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc ? Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}

BOOL CPalette::CreateHalftonePalette(CDC* dc)
{
    return dc ? Attach(::CreateHalftonePalette(dc->m_hDC)) : FALSE;
}

CDC::~CDC()
{
    if (owned_)
        DeleteDC();
}

BOOL CDC::Attach(HDC dc)
{
    if (!dc)
        return FALSE;
    if (owned_)
        DeleteDC();
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return dc;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    BOOL done = ::DeleteDC(Detach());
    return done;
}

CDC* CDC::FromHandle(HDC dc)
{
    if (!dc)
        return nullptr;
    auto& table = TempDcTable();
    auto found = table.find(dc);
    if (found != table.end())
        return found->second.get();
    auto wrapper = std::make_unique<CDC>();
    wrapper->owned_ = false;
    wrapper->m_hDC = wrapper->m_hAttribDC = dc;
    CDC* result = wrapper.get();
    table.emplace(dc, std::move(wrapper));
    return result;
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    if (!object)
        return nullptr;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CPen* CDC::SelectObject(CPen* pen)
{
    return pen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject))) : nullptr;
}

CFont* CDC::SelectObject(CFont* font)
{
    return font ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject))) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground)
{
    HPALETTE old = ::SelectPalette(m_hDC, palette ? static_cast<HPALETTE>(palette->m_hObject) : nullptr,
                                   forceBackground);
    return CPalette::FromHandle(old);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old{};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    POINT p{};
    ::GetViewportOrgEx(m_hDC, &p);
    return p;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetWindowOrg() const
{
    POINT p{};
    ::GetWindowOrgEx(m_hDC, &p);
    return p;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const
{
    SIZE size{};
    ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    return size;
}

CPaintDC::CPaintDC(CWnd* wnd) : hwnd_(wnd->m_hWnd)
{
    owned_ = false;
    Attach(::BeginPaint(hwnd_, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(hwnd_, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : hwnd_(wnd ? wnd->m_hWnd : nullptr)
{
    owned_ = false;
    Attach(::GetDC(hwnd_));
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(hwnd_, Detach());
}

CWindowDC::CWindowDC(CWnd* wnd) : hwnd_(wnd ? wnd->m_hWnd : nullptr)
{
    owned_ = false;
    Attach(::GetWindowDC(hwnd_));
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(hwnd_, Detach());
}
