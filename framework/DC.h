// CDC: a device context with the drawing calls the windows use. A CDC made by
// CreateCompatibleDC deletes its context; one that was attached only lets go.
#pragma once
#include <windows.h>
#include "Bitmap.h"
#include "Brush.h"
#include "Font.h"
#include "Geometry.h"
#include "Pen.h"
#include "Rgn.h"
#include "String.h"
#include "TempMap.h"

class CDC {
public:
    CDC() = default;
    virtual ~CDC() { if (m_hDC && m_bOwnsDC) ::DeleteDC(m_hDC); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC dc) { return framework_detail::TempFromHandle<CDC, HDC>(dc); }
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    virtual BOOL IsPrinting() const { return FALSE; }

    // Selection returns the previously selected object (a temporary wrapper).
    CPen* SelectObject(CPen* pen) { return CPen::FromHandle((HPEN)Select(pen)); }
    CBrush* SelectObject(CBrush* brush) { return CBrush::FromHandle((HBRUSH)Select(brush)); }
    CFont* SelectObject(CFont* font) { return CFont::FromHandle((HFONT)Select(font)); }
    CBitmap* SelectObject(CBitmap* bitmap) { return CBitmap::FromHandle((HBITMAP)Select(bitmap)); }
    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    CGdiObject* SelectStockObject(int index);

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    int GetMapMode() const { return ::GetMapMode(m_hDC); }
    CPoint SetWindowOrg(int x, int y) { POINT p = {}; ::SetWindowOrgEx(m_hDC, x, y, &p); return p; }
    CPoint GetWindowOrg() const { POINT p = {}; ::GetWindowOrgEx(m_hDC, &p); return p; }
    CPoint SetViewportOrg(int x, int y) { POINT p = {}; ::SetViewportOrgEx(m_hDC, x, y, &p); return p; }
    CPoint GetViewportOrg() const { POINT p = {}; ::GetViewportOrgEx(m_hDC, &p); return p; }
    CSize SetWindowExt(int x, int y) { SIZE s = {}; ::SetWindowExtEx(m_hDC, x, y, &s); return s; }
    CSize GetWindowExt() const { SIZE s = {}; ::GetWindowExtEx(m_hDC, &s); return s; }
    CSize SetViewportExt(int x, int y) { SIZE s = {}; ::SetViewportExtEx(m_hDC, x, y, &s); return s; }
    CSize GetViewportExt() const { SIZE s = {}; ::GetViewportExtEx(m_hDC, &s); return s; }
    CPoint SetBrushOrg(int x, int y) { POINT p = {}; ::SetBrushOrgEx(m_hDC, x, y, &p); return p; }
    int GetClipBox(RECT* rc) const { return ::GetClipBox(m_hDC, rc); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int IntersectClipRect(const RECT* rc) { return IntersectClipRect(rc->left, rc->top, rc->right, rc->bottom); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? (HRGN)rgn->m_hObject : nullptr); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, int sw, int sh, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, sw, sh, rop);
    }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL TransparentBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, int sw, int sh, UINT key)
    {
        return ::TransparentBlt(m_hDC, x, y, w, h, src->m_hDC, sx, sy, sw, sh, key);
    }
    void FillSolidRect(const RECT* rc, COLORREF c);
    void FillSolidRect(int x, int y, int w, int h, COLORREF c);
    void FillRect(const RECT* rc, CBrush* brush) { ::FillRect(m_hDC, rc, (HBRUSH)brush->m_hObject); }
    void FrameRect(const RECT* rc, CBrush* brush) { ::FrameRect(m_hDC, rc, (HBRUSH)brush->m_hObject); }
    void Draw3dRect(const RECT* rc, COLORREF topLeft, COLORREF bottomRight);
    void DrawFocusRect(const RECT* rc) { ::DrawFocusRect(m_hDC, rc); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* rc) { return Rectangle(rc->left, rc->top, rc->right, rc->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) { return ::RoundRect(m_hDC, l, t, r, b, w, h); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
    CPoint MoveTo(int x, int y) { POINT p = {}; ::MoveToEx(m_hDC, x, y, &p); return p; }
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawEdge(RECT* rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }

    int DrawText(const wchar_t* text, int count, RECT* rc, UINT format)
    {
        return ::DrawTextW(m_hDC, text, count, rc, format);
    }
    int DrawText(const CString& text, RECT* rc, UINT format)
    {
        return DrawText(text.GetString(), text.GetLength(), rc, format);
    }
    BOOL TextOut(int x, int y, const wchar_t* text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rc, const wchar_t* text, UINT count, const INT* dx)
    {
        return ::ExtTextOutW(m_hDC, x, y, options, rc, text, count, dx);
    }
    CSize GetTextExtent(const wchar_t* text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }

    // Used by the temporary-wrapper maps only.
    void AttachTemporary(HDC dc) { m_hDC = dc; m_bOwnsDC = false; }
    void DetachTemporary() { m_hDC = nullptr; }

protected:
    HGDIOBJ Select(CGdiObject* obj) { return ::SelectObject(m_hDC, obj ? obj->m_hObject : nullptr); }
    bool m_bOwnsDC = false;
};
