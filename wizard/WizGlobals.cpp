#include "WizGlobals.h"
#include "CaptureDevice.h"
#include "CoreAudioCtrl.h"
#include "MixerControl.h"
#include "WizSettings.h"

WizProduct g_WizProduct;

// Constructed in the order the program's objects need: texts, settings, key.
CString g_strDeviceName = L"RIFBOX";
CString g_strNoteText;
WizSettings g_WizSettings = DefaultWizSettings();
const wchar_t g_szRegKey[] = L"software\\Norvane\\NV Sonelle";

CString g_szAppPath;
CString g_szWindowTitle;
HINSTANCE g_hResourceModule = nullptr;
HINSTANCE g_hSkinModule = nullptr;
HMODULE g_hExtraModule = nullptr;
HMODULE g_hBurnTextModule = nullptr;

CCaptureDevice& CaptureDevice()
{
    static CCaptureDevice device;
    return device;
}

CMixerControl& MixerControl()
{
    static CMixerControl mixer;
    return mixer;
}

// The core-audio instance is made before the keeper that uses it, so it is
// destroyed after it.
CCoreAudioCtrl& CoreAudioCtrl()
{
    static CNVCoreAudio coreAudio;
    static CCoreAudioCtrl keeper(coreAudio, MixerControl());
    return keeper;
}

CString WizString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

CString WizStringOr(UINT id, const wchar_t* fallback)
{
    CString text = WizString(id);
    return text.IsEmpty() ? CString(fallback) : text;
}

CString WithDeviceName(const CString& text)
{
    CString result = text;
    result.Replace(L"RIFBOX", g_strDeviceName);
    return result;
}

CString FillFormat(const CString& format, const wchar_t* argument)
{
    int at = format.Find(L"%s");
    if (at < 0) return format;
    return format.Left(at) + argument + format.Mid(at + 2);
}
