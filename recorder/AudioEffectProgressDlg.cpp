#include "AudioEffectProgressDlg.h"
#include <objbase.h>
#include <stdlib.h>
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CAudioEffectProgressDlg, CEditProgressDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CAudioEffectProgressDlg::CAudioEffectProgressDlg() : CEditProgressDlg(0)
{
    m_bComInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CAudioEffectProgressDlg::~CAudioEffectProgressDlg()
{
    m_thread.Stop();
    if (m_bComInitialized) CoUninitialize();
}

void CAudioEffectProgressDlg::SetEffect(int kind, const wchar_t* sourceWav)
{
    m_nKind = kind;
    m_strSource = sourceWav;
    wchar_t drive[_MAX_DRIVE], folder[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    _wsplitpath(sourceWav, drive, folder, name, ext);
    m_strOutput.Format(L"%s%s%s.tm1", drive, folder, name);
    if (!m_strOutput.CompareNoCase(sourceWav)) m_strOutput.Format(L"%s%s%s.tm2", drive, folder, name);
    // Each output keeps its own peak file, so the one on screen is never the one
    // being rewritten.
    m_strOutputPeak = EffectPeakPathFor(std::wstring(m_strOutput)).c_str();
    DeleteFileW(m_strOutput);
    DeleteFileW(m_strOutputPeak);
    const UINT names[] = {0, 163, 162, 164, 165};
    const wchar_t* fallback[] = {L"", L"Amplify", L"Normalize", L"Fade In/Out", L"Noise Reduction"};
    if (kind >= 1 && kind <= 4 && !m_strName.LoadString(names[kind])) m_strName = fallback[kind];
}

CAudioEffect* CAudioEffectProgressDlg::Effect()
{
    switch (m_nKind) {
    case 1: return &m_amplify;
    case 2: return &m_normalize;
    case 3: return &m_fade;
    case 4: return &m_noise;
    default: return nullptr;
    }
}

BOOL CAudioEffectProgressDlg::OnInitDialog()
{
    CEditProgressDlg::OnInitDialog();
    m_nLastPercent = -1;
    ShowPercent(0);
    SetTimer(TIMER_START, 200);
    return TRUE;
}

void CAudioEffectProgressDlg::StartRun()
{
    ShowPercent(0);
    CAudioEffect* effect = Effect();
    BOOL started = effect && m_thread.Start(effect, m_hWnd, m_strSource, m_strOutput, m_strOutputPeak);
    m_nResult = started ? 1 : 0;
    if (started) {
        SetTimer(TIMER_PROGRESS, 300);
        return;
    }
    CString text;
    if (!text.LoadString(134)) text = L"File conversion error.";
    ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONERROR);
    m_nResult = 0;
    Finish();
}

void CAudioEffectProgressDlg::OnTimer(UINT_PTR id)
{
    if (id == TIMER_START) {
        KillTimer(TIMER_START);
        StartRun();
    } else if (id == TIMER_PROGRESS) {
        ShowPercent(m_thread.GetProgress());
    }
}

LRESULT CAudioEffectProgressDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_AUDIOEFFECT_DONE) {
        m_nResult = (int)wParam;
        if (m_nResult == 1) ShowPercent(100);
        Finish();
        return 0;
    }
    return CEditProgressDlg::WindowProc(message, wParam, lParam);
}

void CAudioEffectProgressDlg::OnCancelConfirmed()
{
    m_nResult = 0;
    Finish();
}

void CAudioEffectProgressDlg::Finish()
{
    KillTimer(TIMER_START);
    KillTimer(TIMER_PROGRESS);
    m_thread.Stop();
    EndDialog(IDCANCEL);
}
