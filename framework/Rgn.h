#pragma once
#include "GdiObject.h"

class CRgn : public CGdiObjectOf<CRgn, HRGN> {
public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(const RECT* rc) { return Attach(::CreateRectRgnIndirect(rc)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h)
    {
        return Attach(::CreateRoundRectRgn(l, t, r, b, w, h));
    }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) { return Attach(::CreateEllipticRgn(l, t, r, b)); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn((HRGN)m_hObject, a ? (HRGN)a->m_hObject : nullptr,
                            b ? (HRGN)b->m_hObject : nullptr, mode);
    }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    int GetRgnBox(RECT* rc) const { return ::GetRgnBox((HRGN)m_hObject, rc); }
};
