// CNosieReductionDlg (template 216, "Nosie Reduction"): the noise-reduction
// level 0.0..30.0 (shown as -15.0..15.0 around the middle), with a preview
// through the player's noise-reduction filter.
#pragma once
#include "PreviewEffectDlg.h"

class CNosieReductionDlg : public CPreviewEffectDlg {
public:
    enum { IDD = 216 };
    CNosieReductionDlg() : CPreviewEffectDlg(IDD) {}

    void Update() override;
    float m_fLevel = 15.0f;

protected:
    void SetUpSlider() override;
    BOOL OpenPreviewGraph() override { return m_player.OpenWithNoiseReduction(); }
};
