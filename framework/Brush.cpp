#include "Brush.h"
#include "Bitmap.h"

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap ? Attach(::CreatePatternBrush((HBITMAP)bitmap->m_hObject)) : FALSE;
}
