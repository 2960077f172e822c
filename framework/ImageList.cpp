#include "ImageList.h"
#include "DC.h"

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, bitmap ? (HBITMAP)bitmap->m_hObject : nullptr,
                         mask ? (HBITMAP)mask->m_hObject : nullptr);
}

int CImageList::Add(CBitmap* bitmap, COLORREF maskColour)
{
    return ImageList_AddMasked(m_hImageList, bitmap ? (HBITMAP)bitmap->m_hObject : nullptr, maskColour);
}

BOOL CImageList::Draw(CDC* dc, int image, POINT p, UINT style)
{
    return ImageList_Draw(m_hImageList, image, dc->m_hDC, p.x, p.y, style);
}
