// CBEdit: an edit that shows the dialog's background behind its text instead of
// a filled box, and that can be re-created with other styles while it lives.
#pragma once
#include "Controls.h"

class CBEdit : public CEdit {
public:
    CBEdit();
    ~CBEdit() override;
    bool RecreateWithStyle(DWORD remove, DWORD add);
    BOOL PreTranslateMessage(MSG* msg) override { return CEdit::PreTranslateMessage(msg); }
    virtual void OnSkinNotify(void*) {}

protected:
    void PreSubclassWindow() override;
    HBRUSH CtlColor(CDC* dc, UINT kind);
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnUpdateReflect();
    void OnNcPaint();
    void OnEnable(BOOL enable);
    void OnKillFocus(CWnd* wnd);
    void CaptureBackground(CDC* dc);
    void Draw(CDC* dc);
    void InvalidateParentArea(int grow);

    CBrush m_brush;
    BYTE m_bDisabled = 0;
    BYTE m_bCaptureBackground = 1;
    HBITMAP m_hBackground = nullptr;

    DECLARE_MESSAGE_MAP()
};
