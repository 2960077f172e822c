// File-name edits: CTooltipEdit (on CBEdit) and CTooltipEdit1 (on a plain edit)
// refuse the characters a file name cannot hold, typed or pasted, and explain
// why in a tip anchored on the tip parent.
#pragma once
#include "BEdit.h"

class CTooltipEdit : public CBEdit {
public:
    void SetTipParent(CWnd* wnd) { m_pTipParent = wnd; }
    void HideTip();
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override { CBEdit::PreSubclassWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CWnd* m_pTipParent = nullptr;
};

class CTooltipEdit1 : public CEdit {
public:
    void SetTipParent(CWnd* wnd) { m_pTipParent = wnd; }
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CWnd* m_pTipParent = nullptr;
};

// CColumEdit: the label editor of the publish list; it keeps the horizontal
// place and width its owner gives it, whatever the list does.
class CColumEdit : public CEdit {
public:
    int m_nLeft;
    int m_nWidth;

protected:
    void OnWindowPosChanging(WINDOWPOS* pos);
    DECLARE_MESSAGE_MAP()
};
