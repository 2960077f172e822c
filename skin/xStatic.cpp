#include "xStatic.h"
#include "SkinModule.h"
#include "LineBreaker.h"
#include "MemDC.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CxStatic, CStatic)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DROPFILES()
END_MESSAGE_MAP()

CxStatic::CxStatic() : m_crText(::GetSysColor(COLOR_WINDOWTEXT)), m_crBackground(::GetSysColor(COLOR_BTNFACE))
{
    m_brush.CreateSolidBrush(m_crBackground);
}

CxStatic::~CxStatic() = default;

void CxStatic::CopyFont(HFONT font)
{
    LOGFONTW lf = {};
    if (!font || !::GetObjectW(font, sizeof(lf), &lf)) return;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
}

void CxStatic::PreSubclassWindow()
{
    m_dwStyle = GetStyle();
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (m_dwStyle & ~(DWORD)SS_TYPEMASK) | SS_OWNERDRAW);
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    if (!font) font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (!font) font = (HFONT)::GetStockObject(ANSI_VAR_FONT);
    CopyFont(font);
    m_strText = GetWindowText();
    DragAcceptFiles(TRUE);
    Invalidate();
    CStatic::PreSubclassWindow();
}

void CxStatic::TakeBitmap(HBITMAP bitmap)
{
    m_bitmap.DeleteObject();
    m_bitmap.Attach(bitmap);
    m_bHasBitmap = TRUE;
    m_bitmap.GetBitmap(&m_bmInfo);
}

void CxStatic::SetBitmap(HINSTANCE module, UINT bitmapId, BOOL keepSize, COLORREF)
{
    m_strBitmapFile.Empty();
    HBITMAP bitmap = LoadSkinBitmap(module, bitmapId, LR_LOADMAP3DCOLORS);
    if (!bitmap) return;
    m_nBitmapId = (int)bitmapId;
    TakeBitmap(bitmap);
    // Without keepSize the control takes the picture's size.
    if (!keepSize && m_hWnd)
        SetWindowPos((HWND) nullptr, 0, 0, m_bmInfo.bmWidth, m_bmInfo.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_hWnd) Invalidate();
}

void CxStatic::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    if (m_hWnd) Invalidate();
}

void CxStatic::SetFont(const wchar_t* face, int height, int weight, BOOL redraw)
{
    LOGFONTW lf = {};
    if (face) wcsncpy(lf.lfFaceName, face, 31);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
    if (redraw && m_hWnd) Invalidate();
}

void CxStatic::SetWindowText(const wchar_t* text)
{
    m_strText = text ? text : L"";
    if (m_hWnd) Invalidate();
}

LRESULT CxStatic::OnSetText(WPARAM, LPARAM)
{
    // The static's own handling may paint at once, before the text member
    // changes: paint again with the text the window now holds.
    LRESULT result = Default();
    m_strText = GetWindowText();
    Invalidate();
    return result;
}

LRESULT CxStatic::OnSetFont(WPARAM wParam, LPARAM)
{
    LRESULT result = Default();
    CopyFont((HFONT)wParam);
    Invalidate();
    return result;
}

void CxStatic::OnSize(UINT type, int cx, int cy)
{
    CStatic::OnSize(type, cx, cy);
    Invalidate();
}

void CxStatic::OnDropFiles(HDROP drop)
{
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        wchar_t path[MAX_PATH] = {};
        ::DragQueryFileW(drop, 0, path, MAX_PATH);
        CString name(path);
        int dot = name.ReverseFind(L'.');
        if (dot >= 0 && name.Mid(dot).CompareNoCase(L".bmp") == 0) {
            HBITMAP bitmap = (HBITMAP)::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
            if (bitmap) {
                TakeBitmap(bitmap);
                m_strBitmapFile = name;
                Invalidate();
            }
        }
    }
    ::DragFinish(drop);
}

UINT CxStatic::TextFormat(DWORD style, const CString& text)
{
    UINT format = 0;
    DWORD type = style & SS_TYPEMASK;
    if (type == SS_RIGHT) format |= DT_RIGHT;
    if (type == SS_CENTER) format |= DT_CENTER;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & 0xC000) {
        format |= DT_WORD_ELLIPSIS;
        if (style & 0x4000) format |= DT_END_ELLIPSIS;
        if (style & 0x8000) format |= DT_PATH_ELLIPSIS;
    }
    format |= DT_CENTER;
    if (text.Find(L'\t') >= 0) format |= DT_EXPANDTABS;
    return format;
}

void CxStatic::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CDC* target = CDC::FromHandle(dis->hDC);
    CRect rc = dis->rcItem;
    target->SetBkColor(m_crBackground);
    CMemDC dc(target, &rc, false);
    if (m_bHasBitmap) {
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        CBitmap* old = mem.SelectObject(&m_bitmap);
        dc.StretchBlt(rc.left, rc.top, rc.Width(), rc.Height(), &mem, 0, 0, m_bmInfo.bmWidth - 1, m_bmInfo.bmHeight,
                      SRCCOPY);
        mem.SelectObject(old);
    } else {
        dc.FillRect(&rc, &m_brush);
    }
    CFont* oldFont = m_font.m_hObject ? dc.SelectObject(&m_font) : nullptr;
    dc.SetTextColor(m_crText);
    UINT format = TextFormat(m_dwStyle, m_strText);
    std::vector<CString> lines;
    if (m_bWordWrap) {
        lines = BreakLines(m_strText, rc.Width(), [&dc](const wchar_t* s, int n) { return (int)dc.GetTextExtent(s, n).cx; });
    } else {
        lines.push_back(m_strText);
    }
    TEXTMETRICW tm = {};
    dc.GetTextMetrics(&tm);
    int h = tm.tmHeight;
    int top = rc.top;
    if (m_dwStyle & SS_CENTERIMAGE) top = (rc.bottom - (rc.top + (int)lines.size() * h)) / 2;
    for (size_t i = 0; i < lines.size(); ++i) {
        CRect line(rc.left, top + (int)i * h, rc.right, rc.bottom);
        dc.DrawText(lines[i], &line, format);
    }
    if (oldFont) dc.SelectObject(oldFont);
}
