// CMp3SettingDlg: channel mode, sample rate and bit rate of the MP3 files that
// the publish dialog writes. The caller fills the three values, runs it, and
// reads them back only after OK.
#pragma once
#include "Dialog.h"
#include "SliderCtrl.h"

class CMp3SettingDlg : public CDialog {
public:
    enum { IDD = 134 };
    static const int BitrateTable[6];   // kbps by slider position
    static const int DefaultPosition = 4;

    explicit CMp3SettingDlg(CWnd* parent = nullptr);

    int m_nChannel = 1;        // 0 Mono, 1 Stereo ("Mp3Channel" - 1)
    int m_nRateIndex = -1;     // 0 = 44100 Hz, 1 = 48000 Hz
    int m_nSampleRate = 48000;
    int m_nBitrate = 192;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void ShowBitrate(int position);
    void OnMono() { m_nChannel = 0; }
    void OnStereo() { m_nChannel = 1; }
    void On44100() { m_nSampleRate = 44100; }
    void On48000() { m_nSampleRate = 48000; }
    void OnDefault();
    void OnSliderDraw(NMHDR* hdr, LRESULT* result);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);

    CSliderCtrl m_slider;

    DECLARE_MESSAGE_MAP()
};
