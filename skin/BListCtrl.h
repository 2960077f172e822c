// CBListCtrl: the report list of the skinned dialogs: dark colours, a flat
// skinned header, check boxes, full-row selection, its own colours for selected
// rows, and a busy switch that makes it refuse editing input.
#pragma once
#include "Controls.h"
#include "FlatHeaderCtrl.h"

class CBListCtrl : public CListCtrl {
public:
    CBListCtrl();
    ~CBListCtrl() override;
    // While 0 the list takes no clicks, double clicks, keys or label edits; it
    // still scrolls and shows its rows.
    void EnableMouse(BOOL enable) { m_bMouseEnabled = enable; }
    BOOL IsMouseEnabled() const { return m_bMouseEnabled; }
    CFlatHeaderCtrl& Header() { return m_header; }

    // The header bitmap of the skin module (the wizard's skin has it elsewhere).
    static UINT s_headerBitmapId;

    enum : COLORREF {
        kBackground = 0x333333,
        kText = 0xFAFAFA,
        kSelectedText = 0xFAFAFA,
        kSelectedBackground = 0x9696A0,
        kCheckRim = RGB(196, 98, 45),     // the skin's ember
        kCheckFace = RGB(30, 26, 23),     // its charcoal
        kCheckMark = RGB(245, 199, 126),  // its light amber
    };

protected:
    void PreSubclassWindow() override;
    void SetSkinnedCheckBoxes();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCustomDraw(NMHDR* hdr, LRESULT* result);
    // The skinned scroll bars' line and thumb requests as list scrolls (LVM_SCROLL
    // in pixels); FALSE for other requests, which the list handles itself.
    BOOL TranslateScroll(UINT message, WPARAM wParam);

    CFlatHeaderCtrl m_header;
    CImageList* m_pImageList = nullptr;
    BOOL m_bMouseEnabled = TRUE;

    DECLARE_MESSAGE_MAP()
};
