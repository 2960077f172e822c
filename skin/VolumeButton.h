// CVolumeButton: an owner-drawn button that is a bar display: style 1 a vertical
// volume bar, style 2 a horizontal progress bar, style 3 a progress bar with a
// second mark (the first segment up to the mark, the second beyond it).
#pragma once
#include "BmpInfo.h"
#include "Controls.h"

class CVolumeButton : public CButton {
public:
    CVolumeButton();
    void LoadBitmap(HINSTANCE module, UINT id);
    void SetStyle(int style) { m_nStyle = style; }
    void SetRange(int minValue, int maxValue) { m_nMin = minValue; m_nMax = maxValue; }
    void SetRangeEx(int minValue, int maxValue, int second) { SetRange(minValue, maxValue); m_nSecond = second; }
    void SetValue(int value);
    int GetValue() const { return m_nValue; }
    void DrawItem(LPDRAWITEMSTRUCT dis) override;

    // Rows of the style-3 bitmap: four in the recorder's skin, three in the wizard's.
    static int s_markRows;

protected:
    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void Copy(CDC* dc, CDC* src, int x, int y, int w, int h, int sx, int sy);

    CBmpInfo m_picture;
    int m_nStyle = 2;
    int m_nMin = 0, m_nMax = 100, m_nValue = 0, m_nSecond = 0;

    DECLARE_MESSAGE_MAP()
};
