#include "BufferedDC.h"

CBufferedDC::CBufferedDC(CDC* target, const RECT* rect, bool copy, bool takeExtents)
    : m_pTarget(target), m_bMemory(!target->IsPrinting())
{
    if (rect) m_rect = *rect;
    else target->GetClipBox(&m_rect);
    if (!m_bMemory) {
        Attach(target->m_hDC);
        return;
    }
    CreateCompatibleDC(target);
    m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height());
    m_oldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    SetMapMode(target->GetMapMode());
    if (takeExtents) {
        SIZE ext = target->GetWindowExt();
        SetWindowExt(ext.cx, ext.cy);
        ext = target->GetViewportExt();
        SetViewportExt(ext.cx, ext.cy);
    }
    SetWindowOrg(m_rect.left, m_rect.top);
    if (copy) BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), target, m_rect.left, m_rect.top, SRCCOPY);
    else FillSolidRect(&m_rect, target->GetBkColor());
}

CBufferedDC::~CBufferedDC()
{
    if (!m_bMemory) {
        Detach();
        return;
    }
    m_pTarget->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    ::SelectObject(m_hDC, m_oldBitmap);
}
