// CSpin: an up-down button drawn from a five-frame strip (normal, -, hover,
// pressed, disabled); each frame holds the up arrow in its upper half and the
// down arrow in its lower half, and the half under the pointer lights up.
#pragma once
#include "Controls.h"

class CSpin : public CSpinButtonCtrl {
public:
    CSpin(HINSTANCE module, UINT bitmapId);
    ~CSpin() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    virtual void OnSkinChanged() {}
    int CurrentFrame() const { return m_nFrame; }
    int HoverHalf() const { return m_nHoverHalf; }

    enum { kUpperHalf = 5, kLowerHalf = 6, kNoHalf = 7 };

protected:
    void PreSubclassWindow() override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnEnable(BOOL enable);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point) { CSpinButtonCtrl::OnLButtonDblClk(flags, point); }
    void CutFrames();
    void Draw(CDC* dc);
    void ShowFrame(int frame);

    int m_nHoverHalf = kNoHalf;
    BYTE m_bDisabled = 0;
    int m_nFrame = 0;
    UINT m_nBitmapId;
    HBITMAP m_hStrip = nullptr;
    HBITMAP m_hFrames[5] = {};
    BYTE m_bPressed = 0;
    BYTE m_bHover = 0;
    BYTE m_bCut = 1;

    DECLARE_MESSAGE_MAP()
};
