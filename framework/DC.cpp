#include "DC.h"

BOOL CDC::Attach(HDC dc)
{
    if (!dc) return FALSE;
    m_hDC = dc;
    m_bOwnsDC = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_bOwnsDC = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    HDC made = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
    if (!made) return FALSE;
    DeleteDC();
    m_hDC = made;
    m_bOwnsDC = true;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    BOOL ok = m_bOwnsDC ? ::DeleteDC(m_hDC) : TRUE;
    m_hDC = nullptr;
    m_bOwnsDC = false;
    return ok;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ previous = ::SelectObject(m_hDC, ::GetStockObject(index));
    switch (::GetObjectType(previous)) {
    case OBJ_PEN: return CPen::FromHandle((HPEN)previous);
    case OBJ_BRUSH: return CBrush::FromHandle((HBRUSH)previous);
    case OBJ_FONT: return CFont::FromHandle((HFONT)previous);
    default: return nullptr;
    }
}

void CDC::FillSolidRect(const RECT* rc, COLORREF c)
{
    COLORREF old = ::SetBkColor(m_hDC, c);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int w, int h, COLORREF c)
{
    RECT rc = {x, y, x + w, y + h};
    FillSolidRect(&rc, c);
}

void CDC::Draw3dRect(const RECT* rc, COLORREF topLeft, COLORREF bottomRight)
{
    int w = rc->right - rc->left, h = rc->bottom - rc->top;
    FillSolidRect(rc->left, rc->top, w - 1, 1, topLeft);
    FillSolidRect(rc->left, rc->top, 1, h - 1, topLeft);
    FillSolidRect(rc->right - 1, rc->top, 1, h, bottomRight);
    FillSolidRect(rc->left, rc->bottom - 1, w, 1, bottomRight);
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const
{
    SIZE s = {};
    ::GetTextExtentPoint32W(m_hDC, text, count, &s);
    return s;
}
