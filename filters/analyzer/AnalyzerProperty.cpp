#include "AnalyzerProperty.h"
#include "AnalyzerResources.h"
#include <commctrl.h>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <new>

CUnknown* CNVAudioAnalyzerProperty::CreateInstance(HRESULT* result)
{
    auto* page = new (std::nothrow) CNVAudioAnalyzerProperty;
    if (!page && result)
        *result = E_OUTOFMEMORY;
    return page;
}

CNVAudioAnalyzerProperty::CNVAudioAnalyzerProperty()
    : CBasePropertyPage(IDD_ANALYZER_PROPERTY, IDS_ANALYZER_PAGE_TITLE)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
}

CNVAudioAnalyzerProperty::~CNVAudioAnalyzerProperty() { ReleaseInterfaces(); }

void CNVAudioAnalyzerProperty::ReleaseInterfaces()
{
    if (m_analyzer)
        m_analyzer->Release();
    if (m_effect)
        m_effect->Release();
    if (m_mute)
        m_mute->Release();
    m_analyzer = nullptr;
    m_effect = nullptr;
    m_mute = nullptr;
}

HRESULT CNVAudioAnalyzerProperty::OnConnect(IUnknown* object)
{
    if (!object)
        return E_POINTER;
    ReleaseInterfaces();
    HRESULT hr = object->QueryInterface(IID_IAnalyzer, reinterpret_cast<void**>(&m_analyzer));
    if (SUCCEEDED(hr))
        hr = object->QueryInterface(IID_IAudioEffect, reinterpret_cast<void**>(&m_effect));
    if (SUCCEEDED(hr))
        hr = object->QueryInterface(IID_IMuteSound, reinterpret_cast<void**>(&m_mute));
    if (FAILED(hr)) {
        // Nothing taken so far is kept when a later query fails.
        ReleaseInterfaces();
        return E_NOINTERFACE;
    }
    m_active = false;
    return S_OK;
}

HRESULT CNVAudioAnalyzerProperty::OnDisconnect()
{
    if (!m_analyzer)
        return E_UNEXPECTED;
    ReleaseInterfaces();
    return S_OK;
}

HRESULT CNVAudioAnalyzerProperty::OnActivate()
{
    InitialiseControls();
    m_active = true;
    SetTimer(m_hwnd, kUpdateTimer, 200, nullptr);
    return S_OK;
}

HRESULT CNVAudioAnalyzerProperty::OnDeactivate()
{
    m_active = false;
    KillTimer(m_hwnd, kUpdateTimer);
    return S_OK;
}

void CNVAudioAnalyzerProperty::SetText(int id, const wchar_t* format, ...)
{
    wchar_t text[64];
    va_list args;
    va_start(args, format);
    _vsnwprintf(text, 63, format, args);
    va_end(args);
    text[63] = 0;
    SetDlgItemTextW(m_hwnd, id, text);
}

void CNVAudioAnalyzerProperty::InitialiseControls()
{
    for (int id = IDC_LEFT_BAND_FIRST; id < IDC_RIGHT_BAND_FIRST + kAnalyzerBands; id++)
        SendDlgItemMessageW(m_hwnd, id, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageW(m_hwnd, IDC_LEFT_LEVEL_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageW(m_hwnd, IDC_RIGHT_LEVEL_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageW(m_hwnd, IDC_GAIN_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 50));
    SendDlgItemMessageW(m_hwnd, IDC_GAIN_SLIDER, TBM_SETPOS, TRUE, 10);
    SetDlgItemTextW(m_hwnd, IDC_GAIN_TEXT, L"1.0");
    if (m_analyzer) {
        BYTE stale[sizeof(AnalyzerRecord)];
        m_analyzer->GetData(stale);   // start from a fresh record
    }
    BOOL enabled = FALSE;
    if (m_effect)
        m_effect->GetGainEnabled(&enabled);
    CheckDlgButton(m_hwnd, IDC_GAIN_ENABLE, enabled ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(m_hwnd, IDC_GAIN_SLIDER), enabled);
    SetDlgItemTextW(m_hwnd, IDC_MUTE_TIME, L"100");
}

void CNVAudioAnalyzerProperty::Update()
{
    if (!m_analyzer)
        return;
    AnalyzerRecord record;
    if (m_analyzer->GetData(reinterpret_cast<BYTE*>(&record)) != S_OK)
        return;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
    for (int i = 0; i < 2 * kAnalyzerBands; i++)
        SendDlgItemMessageW(m_hwnd, IDC_LEFT_BAND_FIRST + i, PBM_SETPOS, bytes[4 + i], 0);
    SendDlgItemMessageW(m_hwnd, IDC_LEFT_LEVEL_BAR, PBM_SETPOS, int(record.leftLevelDb) + 80, 0);
    SendDlgItemMessageW(m_hwnd, IDC_RIGHT_LEVEL_BAR, PBM_SETPOS, int(record.rightLevelDb) + 80, 0);
    SetText(IDC_LEFT_LEVEL_TEXT, L"%3.1f", record.leftLevelDb);
    SetText(IDC_RIGHT_LEVEL_TEXT, L"%3.1f", record.rightLevelDb);
    SetText(IDC_CHANNELS, L"%d", int(record.channels));
    SetText(IDC_SAMPLE_RATE, L"%d", int(record.sampleRate));
    SetText(IDC_BITS, L"%d", int(record.bitsPerSample));
    SetText(IDC_SAMPLE_TIME, L"%5.2f sec", double(record.mediaTime) / 10000000.0);
}

void CNVAudioAnalyzerProperty::ApplyGain()
{
    LRESULT position = SendDlgItemMessageW(m_hwnd, IDC_GAIN_SLIDER, TBM_GETPOS, 0, 0);
    float gain = float(position) * 0.1f;
    if (m_effect) {
        m_effect->SetGain(gain);
        SetText(IDC_GAIN_TEXT, L"%3.2f", double(gain));
    }
}

void CNVAudioAnalyzerProperty::ApplyGainSwitch()
{
    BOOL on = IsDlgButtonChecked(m_hwnd, IDC_GAIN_ENABLE) == BST_CHECKED;
    if (m_effect)
        m_effect->SetGainEnabled(on ? 1 : 0);
    EnableWindow(GetDlgItem(m_hwnd, IDC_GAIN_SLIDER), on);
}

void CNVAudioAnalyzerProperty::StartMute()
{
    wchar_t text[101] = {};
    GetDlgItemTextW(m_hwnd, IDC_MUTE_TIME, text, 101);
    if (m_mute)
        m_mute->SetMuteTime(_wtoi(text));
}

INT_PTR CNVAudioAnalyzerProperty::OnReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TIMER:
        if (wParam == kUpdateTimer && IsWindowVisible(hwnd)) {
            Update();
            return 1;
        }
        break;
    case WM_HSCROLL:
        // Applied when a track action ends; positions passed while dragging change nothing.
        if (wParam == TB_ENDTRACK || wParam == TB_THUMBPOSITION)
            ApplyGain();
        return 1;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDC_GAIN_ENABLE)
                ApplyGainSwitch();
            else if (LOWORD(wParam) == IDC_MUTE_BUTTON)
                StartMute();
        }
        break;
    }
    return CBasePropertyPage::OnReceiveMessage(hwnd, msg, wParam, lParam);
}
