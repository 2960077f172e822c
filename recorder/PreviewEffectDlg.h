// The parameter dialogs that preview their effect: a slider whose setting the
// player program applies live while it plays the work WAV from the first
// selected track. The amplify and noise-reduction dialogs differ only in the
// slider's scale and the player's effect.
#pragma once
#include "Dialog.h"
#include "RemoteTunlet.h"
#include "SliderCtrl.h"

class CPreviewEffectDlg : public CDialog {
public:
    enum { IDC_PREVIEW = 1059, IDC_SLIDER = 1061, IDC_VALUE = 1063 };

    explicit CPreviewEffectDlg(UINT templateId) : CDialog(templateId) {}

    void SetFile(const wchar_t* workPath) { m_strFile = workPath; }
    void SetStartTime(double seconds) { m_fStartTime = seconds; }
    BOOL IsPreviewRunning() const { return m_bPreview; }
    CRemoteTunlet& Player() { return m_player; }

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    // Reads the slider into the setting, shows it and hands it to the player.
    virtual void Update() = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The slider's range and start; the player's graph for the preview.
    virtual void SetUpSlider() = 0;
    virtual BOOL OpenPreviewGraph() = 0;
    void OnPreview();

    CSliderCtrl m_slider;
    CString m_strFile;
    double m_fStartTime = 0.0;
    BOOL m_bPreview = FALSE;
    CRemoteTunlet m_player;

    DECLARE_MESSAGE_MAP()
};
