#include "Bitmap.h"
#include "DC.h"
#include "ResourceHandle.h"

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(AfxGetResourceHandle(), id); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

SIZE CBitmap::GetSize() const
{
    BITMAP bm = {};
    if (!m_hObject || !GetBitmap(&bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}
