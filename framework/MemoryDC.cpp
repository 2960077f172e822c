#include "MemoryDC.h"

CMemoryDC::CMemoryDC(CDC* compatible, int width, int height)
{
    CreateCompatibleDC(compatible);
    HDC screen = nullptr;
    HDC reference = compatible ? compatible->m_hDC : (screen = ::GetDC(nullptr));
    m_bitmap.Attach(::CreateCompatibleBitmap(reference, width, height));
    if (screen) ::ReleaseDC(nullptr, screen);
    m_previous = ::SelectObject(m_hDC, m_bitmap.m_hObject);
}

CMemoryDC::~CMemoryDC()
{
    if (m_hDC && m_previous) ::SelectObject(m_hDC, m_previous);
    DeleteDC();
}
