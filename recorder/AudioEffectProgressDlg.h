// CAudioEffectProgressDlg: runs one file effect over the Edit page's work WAV on
// the effect's worker thread, shows its progress and lets the user cancel. The
// output goes beside the work WAV, alternating between ".tm1" and ".tm2", each
// with its own peak file; result 1 means both are complete.
#pragma once
#include "Amplify.h"
#include "EditProgressDlg.h"
#include "EffectThread.h"
#include "FadeInOut.h"
#include "NoiseReduction.h"
#include "Normalize.h"

class CAudioEffectProgressDlg : public CEditProgressDlg {
public:
    enum : UINT_PTR { TIMER_START = 10, TIMER_PROGRESS = 100 };

    CAudioEffectProgressDlg();
    ~CAudioEffectProgressDlg() override;

    // kind: 1 amplify, 2 normalize, 3 fade, 4 noise reduction.
    void SetEffect(int kind, const wchar_t* sourceWav);
    void SetAmplifyParam(const AmplifyParam* param) { m_amplify.SetParam(param); }
    void SetFadeParam(const FadeInOutParam* param) { m_fade.SetParam(param); }
    void SetNoiseParam(const NoiseReductionParam* param) { m_noise.SetParam(param); }
    void SetNormalizeParam(const NormalizeParam* param) { m_normalize.SetParam(param); }

    int GetResult() const { return m_nResult; }
    const CString& GetOutputPath() const { return m_strOutput; }
    const CString& GetOutputPeakPath() const { return m_strOutputPeak; }

    BOOL OnInitDialog() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id);
    void OnCancelConfirmed() override;
    void StartRun();
    void Finish();
    CAudioEffect* Effect();

    CFadeInOut m_fade;
    CNormalize m_normalize;
    CNoiseReduction m_noise;
    CAmplify m_amplify;
    CEffectThread m_thread;
    CString m_strOutput, m_strOutputPeak, m_strSource;
    int m_nKind = 0;
    int m_nResult = 0;
    bool m_bComInitialized = false;

    DECLARE_MESSAGE_MAP()
};
