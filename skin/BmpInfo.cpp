#include "BmpInfo.h"
#include "SkinModule.h"

bool CBmpInfo::Load(HINSTANCE module, UINT id)
{
    m_bitmap.DeleteObject();
    m_bLoaded = m_bitmap.Attach(LoadSkinBitmap(module, id));
    if (m_bLoaded) {
        SIZE size = m_bitmap.GetSize();
        m_nWidth = size.cx;
        m_nHeight = size.cy;
    }
    return m_bLoaded != FALSE;
}
