// The analyzer's property page under the null graphics driver, driven through
// its window messages against a spy that stands in for the filter.
#include "AnalyzerTestSupport.h"
#include <commctrl.h>
#include <ocidl.h>
#include <olectl.h>
#include <gtest/gtest.h>
#include <string>

using namespace analyzer_test;

namespace {

// Answers the three interfaces the page uses (or only some) and records calls.
class CAnalyzerSpy : public IAnalyzer, public IAudioEffect, public IMuteSound {
public:
    explicit CAnalyzerSpy(bool withMute = true) : m_withMute(withMute) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IAnalyzer)
            *ppv = static_cast<IAnalyzer*>(this);
        else if (riid == IID_IAudioEffect)
            *ppv = static_cast<IAudioEffect*>(this);
        else if (riid == IID_IMuteSound && m_withMute)
            *ppv = static_cast<IMuteSound*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    STDMETHODIMP GetData(BYTE* record) override
    {
        getDataCalls++;
        if (records.empty())
            return S_FALSE;
        memcpy(record, &records.front(), sizeof(AnalyzerRecord));
        records.erase(records.begin());
        return S_OK;
    }
    STDMETHODIMP SetGain(float g) override { gain = g; gainCalls++; return S_OK; }
    STDMETHODIMP GetGain(float* g) override { *g = gain; return S_OK; }
    STDMETHODIMP SetGainEnabled(BOOL e) override { gainEnabled = e; return S_OK; }
    STDMETHODIMP GetGainEnabled(BOOL* e) override { *e = gainEnabled; return S_OK; }
    STDMETHODIMP SetMuteTime(int ms) override { muteTime = ms; return S_OK; }
    STDMETHODIMP SetMuteLevel(float) override { return S_OK; }
    STDMETHODIMP GetMuteLevel(float* l) override { *l = 0; return S_OK; }

    ULONG refs = 1;
    std::vector<AnalyzerRecord> records;
    int getDataCalls = 0;
    float gain = 1.0f;
    int gainCalls = 0;
    BOOL gainEnabled = FALSE;
    int muteTime = -1;

private:
    bool m_withMute;
};

class CPageSite : public IPropertyPageSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP OnStatusChange(DWORD) override { return S_OK; }
    STDMETHODIMP GetLocaleID(LCID* id) override { *id = LOCALE_USER_DEFAULT; return S_OK; }
    STDMETHODIMP GetPageContainer(IUnknown** c) override { *c = nullptr; return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
};

AnalyzerRecord Record(double left, double right)
{
    AnalyzerRecord r = {};
    r.channels = 2;
    r.bitsPerSample = 16;
    r.sampleRate = 44100;
    for (int b = 0; b < kAnalyzerBands; b++) {
        r.leftBands[b] = uint8_t(b);
        r.rightBands[b] = uint8_t(99 - b);
    }
    r.leftLevelDb = left;
    r.rightLevelDb = right;
    r.mediaTime = 123456789;   // 12.35 s
    return r;
}

class AnalyzerPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        ASSERT_EQ(S_OK, CreateFromModule(CLSID_AudioAnalyzerProperty, IID_IPropertyPage,
                                         reinterpret_cast<void**>(&page)));
        parent = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 500,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, parent);
        ASSERT_EQ(S_OK, page->SetPageSite(&site));
    }
    void TearDown() override
    {
        if (page) {
            page->SetPageSite(nullptr);
            page.Release();
        }
        if (parent)
            DestroyWindow(parent);
        OleUninitialize();
    }

    HWND Activate()
    {
        IUnknown* object = static_cast<IAnalyzer*>(&spy);
        EXPECT_EQ(S_OK, page->SetObjects(1, &object));
        RECT rc = {0, 0, 700, 400};
        EXPECT_EQ(S_OK, page->Activate(parent, &rc, FALSE));
        dialog = FindWindowExW(parent, nullptr, L"#32770", nullptr);
        return dialog;
    }

    std::wstring Text(int id)
    {
        wchar_t text[128] = {};
        GetDlgItemTextW(dialog, id, text, 128);
        return text;
    }
    LRESULT Bar(int id) { return SendDlgItemMessageW(dialog, id, PBM_GETPOS, 0, 0); }

    CComPtr<IPropertyPage> page;
    CAnalyzerSpy spy;
    CPageSite site;
    HWND parent = nullptr;
    HWND dialog = nullptr;
};

TEST_F(AnalyzerPage, InfoCarriesTheTitleAndTheDialogSize)
{
    PROPPAGEINFO info = {};
    ASSERT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_STREQ(L"Audio Analyzer Filter", info.pszTitle);
    EXPECT_GT(info.size.cx, 200);
    EXPECT_GT(info.size.cy, 100);
    CoTaskMemFree(info.pszTitle);
}

TEST_F(AnalyzerPage, ActivationSetsUpTheControls)
{
    spy.records = {Record(-20, -20)};
    ASSERT_NE(nullptr, Activate());
    EXPECT_EQ(10, SendDlgItemMessageW(dialog, 1081, TBM_GETPOS, 0, 0));
    EXPECT_EQ(50, SendDlgItemMessageW(dialog, 1081, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(L"1.0", Text(1082));
    EXPECT_EQ(L"100", Text(1089));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, 1086));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1081))) << "the slider follows the gain switch";
    EXPECT_TRUE(spy.records.empty()) << "one record is taken and dropped";
    for (int id = 1013; id <= 1074; id++)
        EXPECT_EQ(100, SendDlgItemMessageW(dialog, id, PBM_GETRANGE, FALSE, 0)) << id;
}

TEST_F(AnalyzerPage, TimerShowsTheNextRecord)
{
    ASSERT_NE(nullptr, Activate());
    spy.records = {Record(-80.0, 20.0)};
    SendMessageW(dialog, WM_TIMER, 100, 0);
    EXPECT_EQ(0, Bar(1074)) << "-80 dB is an empty bar";
    EXPECT_EQ(100, Bar(1073)) << "+20 dB is a full bar";
    EXPECT_EQ(0, Bar(1013));
    EXPECT_EQ(29, Bar(1042));
    EXPECT_EQ(99, Bar(1043));
    EXPECT_EQ(70, Bar(1072));
    EXPECT_EQ(L"-80.0", Text(1075));
    EXPECT_EQ(L"20.0", Text(1077));
    EXPECT_EQ(L"2", Text(1076));
    EXPECT_EQ(L"44100", Text(1078));
    EXPECT_EQ(L"16", Text(1080));
    EXPECT_EQ(L"12.35 sec", Text(1083));

    // No new record: nothing changes.
    SendMessageW(dialog, WM_TIMER, 100, 0);
    EXPECT_EQ(100, Bar(1073));
    EXPECT_EQ(L"20.0", Text(1077));
}

TEST_F(AnalyzerPage, GainChangesWhenTheTrackActionEnds)
{
    ASSERT_NE(nullptr, Activate());
    HWND slider = GetDlgItem(dialog, 1081);
    SendMessageW(slider, TBM_SETPOS, TRUE, 25);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 25), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(0, spy.gainCalls) << "dragging changes nothing";
    SendMessageW(dialog, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(1, spy.gainCalls);
    EXPECT_FLOAT_EQ(2.5f, spy.gain);
    EXPECT_EQ(L"2.50", Text(1082));
}

TEST_F(AnalyzerPage, SwitchAndMuteGoToTheFilterAtOnce)
{
    ASSERT_NE(nullptr, Activate());
    SendDlgItemMessageW(dialog, 1086, BM_CLICK, 0, 0);
    EXPECT_TRUE(spy.gainEnabled);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1081)));
    SendDlgItemMessageW(dialog, 1086, BM_CLICK, 0, 0);
    EXPECT_FALSE(spy.gainEnabled);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1081)));

    SetDlgItemTextW(dialog, 1089, L"800");
    SendDlgItemMessageW(dialog, 1090, BM_CLICK, 0, 0);
    EXPECT_EQ(800, spy.muteTime);
}

TEST_F(AnalyzerPage, DisconnectReleasesEveryInterface)
{
    ASSERT_NE(nullptr, Activate());
    EXPECT_EQ(4u, spy.refs);
    EXPECT_EQ(S_OK, page->Deactivate());
    EXPECT_EQ(S_OK, page->SetObjects(0, nullptr));
    EXPECT_EQ(1u, spy.refs);
}

TEST_F(AnalyzerPage, NoInterfaceIsKeptWhenALaterQueryFails)
{
    CAnalyzerSpy partial(false);
    IUnknown* object = static_cast<IAnalyzer*>(&partial);
    EXPECT_EQ(E_NOINTERFACE, page->SetObjects(1, &object));
    EXPECT_EQ(1u, partial.refs);
}

TEST_F(AnalyzerPage, WorksOnTheRealFilter)
{
    CComPtr<IBaseFilter> filter = CreateAnalyzer();
    IUnknown* object = filter;
    ASSERT_EQ(S_OK, page->SetObjects(1, &object));
    RECT rc = {0, 0, 700, 400};
    ASSERT_EQ(S_OK, page->Activate(parent, &rc, FALSE));
    dialog = FindWindowExW(parent, nullptr, L"#32770", nullptr);
    HWND slider = GetDlgItem(dialog, 1081);
    SendDlgItemMessageW(dialog, 1086, BM_CLICK, 0, 0);
    SendMessageW(slider, TBM_SETPOS, TRUE, 35);
    SendMessageW(dialog, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(slider));
    CComQIPtr<IAudioEffect> effect(filter.p);
    float gain = 0;
    BOOL on = FALSE;
    effect->GetGain(&gain);
    effect->GetGainEnabled(&on);
    EXPECT_FLOAT_EQ(3.5f, gain);
    EXPECT_TRUE(on);
    page->Deactivate();
    page->SetObjects(0, nullptr);
}

// Not part of the run: shows the page in the platform's property frame on a
// live graph for a screenshot (run by hand with a display).
TEST(AnalyzerPageOnScreen, DISABLED_PropertyFrame)
{
    OleInitialize(nullptr);
    CMediaType mt = CMediaType::Pcm(44100, 2, 16);
    AnalyzerGraph g;
    std::vector<BYTE> data = Pcm(mt, 44100 * 30, [](int i, int c) {
        return int((c ? 9000 : 3000) * std::sin(2 * 3.14159265358979 * (c ? 700 : 220) * i / 44100.0));
    });
    ASSERT_EQ(S_OK, g.Build(mt, data, 4096));
    g.source->SetDelayPerSample(20);
    ASSERT_TRUE(SUCCEEDED(g.graph.Run()));
    IUnknown* object = g.analyzer;
    CLSID pageId = CLSID_AudioAnalyzerProperty;
    // The frame creates the page by class id: the module must be registered.
    OleCreatePropertyFrame(nullptr, 40, 40, L"NV Audio Analyzer", 1, &object, 1, &pageId, 0, 0, nullptr);
    g.graph.Stop();
    OleUninitialize();
}

}  // namespace
