// CImageList: an image list handle, owned unless detached.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "TempMap.h"

class CBitmap;
class CDC;

class CImageList {
public:
    CImageList() = default;
    virtual ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    static CImageList* FromHandle(HIMAGELIST list) { return framework_detail::TempFromHandle<CImageList, HIMAGELIST>(list); }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        return Attach(ImageList_Create(cx, cy, flags, initial, grow));
    }
    BOOL Attach(HIMAGELIST list) { if (!list) return FALSE; DeleteImageList(); m_hImageList = list; return TRUE; }
    HIMAGELIST Detach() { HIMAGELIST l = m_hImageList; m_hImageList = nullptr; return l; }
    BOOL DeleteImageList() { if (!m_hImageList) return FALSE; return ImageList_Destroy(Detach()); }

    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(CBitmap* bitmap, COLORREF maskColour);
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL Draw(CDC* dc, int image, POINT p, UINT style);
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }

    BOOL BeginDrag(int image, POINT hotSpot) { return ImageList_BeginDrag(m_hImageList, image, hotSpot.x, hotSpot.y); }
    static BOOL DragEnter(HWND lock, POINT p) { return ImageList_DragEnter(lock, p.x, p.y); }
    static BOOL DragMove(POINT p) { return ImageList_DragMove(p.x, p.y); }
    static BOOL DragLeave(HWND lock) { return ImageList_DragLeave(lock); }
    static BOOL DragShowNolock(BOOL show) { return ImageList_DragShowNolock(show); }
    static void EndDrag() { ImageList_EndDrag(); }

    // Used by the temporary-wrapper maps only.
    void AttachTemporary(HIMAGELIST list) { m_hImageList = list; }
    void DetachTemporary() { m_hImageList = nullptr; }
};
