// CAmplifyDlg (template 342): the gain of the amplify effect, 0 to 300 %, with a
// preview through the player's analyzer.
#pragma once
#include "PreviewEffectDlg.h"

class CAmplifyDlg : public CPreviewEffectDlg {
public:
    enum { IDD = 342 };
    CAmplifyDlg() : CPreviewEffectDlg(IDD) {}

    // Slider position 0..20 to percent: 0..100 in steps of 10, then 120..300 in steps of 20.
    static int PercentOfPosition(int position) { return position > 10 ? position * 20 - 100 : position * 10; }

    void Update() override;
    float m_fGain = 1.0f;

protected:
    void SetUpSlider() override;
    BOOL OpenPreviewGraph() override { return m_player.OpenWithAnalyzer(); }
};
