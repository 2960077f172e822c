#include "Mp3SettingDlg.h"

const int CMp3SettingDlg::BitrateTable[6] = {64, 96, 128, 160, 192, 224};

namespace {
enum {
    IDC_RATE_44100 = 1050,
    IDC_RATE_48000 = 1051,
    IDC_MONO = 1053,
    IDC_STEREO = 1054,
    IDC_BITRATE_SLIDER = 1055,
    IDC_BITRATE_TEXT = 1056,
    IDC_DEFAULT = 1031,
};
}  // namespace

BEGIN_MESSAGE_MAP(CMp3SettingDlg, CDialog)
    ON_BN_CLICKED(IDC_MONO, OnMono)
    ON_BN_CLICKED(IDC_STEREO, OnStereo)
    ON_BN_CLICKED(IDC_RATE_44100, On44100)
    ON_BN_CLICKED(IDC_RATE_48000, On48000)
    ON_BN_CLICKED(IDC_DEFAULT, OnDefault)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_BITRATE_SLIDER, OnSliderDraw)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CMp3SettingDlg::CMp3SettingDlg(CWnd* parent) : CDialog(IDD, parent) {}

void CMp3SettingDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BITRATE_SLIDER, m_slider);
    DDX_Radio(dx, IDC_MONO, m_nChannel);
    DDX_Radio(dx, IDC_RATE_44100, m_nRateIndex);
}

void CMp3SettingDlg::ShowBitrate(int position)
{
    if (position < 0 || position > 5) position = DefaultPosition;
    CString text;
    text.Format(L"%d Kbps", BitrateTable[position]);
    SetDlgItemText(IDC_BITRATE_TEXT, text);
}

BOOL CMp3SettingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_slider.SetRange(0, 5, FALSE);
    // A stored rate outside the table shows the default; the member keeps it until OK.
    int position = DefaultPosition;
    for (int i = 0; i < 6; ++i)
        if (BitrateTable[i] == m_nBitrate) position = i;
    m_slider.SetPos(position);
    ShowBitrate(position);
    m_nRateIndex = m_nSampleRate == 44100 ? 0 : 1;
    UpdateData(FALSE);
    return TRUE;
}

void CMp3SettingDlg::OnSliderDraw(NMHDR*, LRESULT* result)
{
    ShowBitrate(m_slider.GetPos());
    *result = CDRF_DODEFAULT;
}

// Keys and drags move the slider too: the text follows at once.
void CMp3SettingDlg::OnHScroll(UINT, UINT, CScrollBar*) { ShowBitrate(m_slider.GetPos()); }

void CMp3SettingDlg::OnDefault()
{
    m_nChannel = 1;
    m_nRateIndex = 1;
    m_nSampleRate = 48000;
    m_slider.SetPos(DefaultPosition);
    ShowBitrate(DefaultPosition);
    m_nBitrate = BitrateTable[DefaultPosition];
    UpdateData(FALSE);
}

void CMp3SettingDlg::OnOK()
{
    UpdateData(TRUE);
    int position = m_slider.GetPos();
    if (position < 0 || position > 5) position = DefaultPosition;
    m_nBitrate = BitrateTable[position];
    EndDialog(IDOK);
}
