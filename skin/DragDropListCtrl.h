// CDragDropListCtrl: a CBListCtrl whose selected rows can be dragged to a new
// place, with a drag image and automatic scrolling at the edges.
#pragma once
#include "BListCtrl.h"
#include <vector>

class CDragDropListCtrl : public CBListCtrl {
public:
    CDragDropListCtrl();
    ~CDragDropListCtrl() override;
    bool IsDragging() const { return m_pDragImage != nullptr; }
    int DropTarget() const { return m_nDropIndex; }

protected:
    void OnBeginDrag(NMHDR* hdr, LRESULT* result);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void SetTarget(int index);
    void DropRows();
    void KillScrollTimer();

    std::vector<int> m_dragged;
    int m_nDropIndex = -1;
    CImageList* m_pDragImage = nullptr;
    int m_nHighlighted = -1;
    UINT m_nSavedState = 0;
    DWORD m_dwSavedStyle = 0;
    UINT_PTR m_nScrollTimer = 0;
    int m_nScrollDirection = 0;

    DECLARE_MESSAGE_MAP()
};
