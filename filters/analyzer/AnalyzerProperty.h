// CNVAudioAnalyzerProperty: the analyzer's property page. It shows the bands,
// levels and format of the latest record every 200 ms, sets the gain from a
// slider and its switch, and starts a timed mute. Every change goes to the
// filter at once; it talks to the filter only through its custom interfaces.
#pragma once
#include "IAnalyzer.h"
#include "PropertyPage.h"

class CNVAudioAnalyzerProperty : public CBasePropertyPage {
public:
    static CUnknown* CreateInstance(HRESULT* result);

    HRESULT OnConnect(IUnknown* object) override;
    HRESULT OnDisconnect() override;
    HRESULT OnActivate() override;
    HRESULT OnDeactivate() override;
    INT_PTR OnReceiveMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    static const UINT_PTR kUpdateTimer = 100;

private:
    CNVAudioAnalyzerProperty();
    ~CNVAudioAnalyzerProperty() override;

    void ReleaseInterfaces();
    void InitialiseControls();
    void Update();
    void ApplyGain();
    void ApplyGainSwitch();
    void StartMute();
    void SetText(int id, const wchar_t* format, ...);

    IAnalyzer* m_analyzer = nullptr;
    IAudioEffect* m_effect = nullptr;
    IMuteSound* m_mute = nullptr;
    bool m_active = false;
};
