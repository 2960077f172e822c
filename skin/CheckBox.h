// CCheckBox: a check box drawn from a six-frame strip (checked, unchecked, both
// pushed, both disabled), magenta transparent, over the dialog's own background,
// with its caption beside the box. It keeps its own check state.
#pragma once
#include "Controls.h"

class CCheckBox : public CButton {
public:
    CCheckBox(HINSTANCE module, WORD bitmapId, int boxSize);
    ~CCheckBox() override;

    BOOL PreTranslateMessage(MSG* msg) override;
    void DrawItem(LPDRAWITEMSTRUCT) override {}
    int CurrentFrame() const { return m_nFrame; }
    bool IsChecked() const { return m_bChecked != 0; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnEnable(BOOL enable);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnKillFocus(CWnd* wnd);
    BOOL OnSetCursor(CWnd*, UINT, UINT);

    void ShowFrame(int frame);
    void PrepareFrames(CDC* dc);
    void FreeFrames();
    int PushedFrame() const { return m_bChecked ? 2 : 3; }
    int PlainFrame() const { return m_bChecked ? 0 : 1; }
    // The vertically centred band of the client area the frames are drawn into.
    void Band(const CRect& client, int& y, int& height) const;

    BYTE m_bLeftText = 0;
    BYTE m_bDisabled = 0;
    BYTE m_bChecked = 0;
    int m_nFrame = 1;
    int m_nBoxSize;
    WORD m_nBitmapId;
    COLORREF m_crButtonFace = 0;
    HBITMAP m_hStrip = nullptr;
    HBITMAP m_hFrames[6] = {};
    BYTE m_bPressedInside = 0;
    BYTE m_bSpaceDown = 0;
    BYTE m_bButtonDown = 0;
    HFONT m_hFont = nullptr;
    CString m_strCaption;
    int m_nRowHeight = 0;
    BYTE m_bPrepare = 1;
    HCURSOR m_hCursor = nullptr;

    DECLARE_MESSAGE_MAP()
};
