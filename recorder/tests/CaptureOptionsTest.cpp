// The recording-options dialog on the Record page's running capture device:
// devices, formats, noise reduction and the record folder take effect at once.
#include <gtest/gtest.h>
#include "CaptureOptionDlg.h"
#include "Driver.h"
#include <cstdlib>
#include <cstring>
#include "RecordPageSupport.h"
#include "RecorderCaptureDevice.h"
#include "Registry.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "TestSignal.h"

namespace {

class CaptureOptions : public RecordPageFixture {
protected:
    // The dialog, created modeless over the page, as its modal run would show it.
    bool Show()
    {
        if (!dialog.Create(CCaptureOptionDlg::IDD, &page)) return false;
        return true;
    }
    void TearDown() override
    {
        if (dialog.m_hWnd) dialog.OnCancel();
        if (dialog.m_hWnd) dialog.DestroyWindow();
        RecordPageFixture::TearDown();
    }
    CComboBox& Combo(int id) { return *(CComboBox*)dialog.GetDlgItem(id); }
    int Select(int id, const wchar_t* text)
    {
        int index = (int)::SendDlgItemMessageW(dialog.m_hWnd, id, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text);
        ::SendDlgItemMessageW(dialog.m_hWnd, id, CB_SETCURSEL, (WPARAM)index, 0);
        return index;
    }
    int Selected(int id) { return (int)::SendDlgItemMessageW(dialog.m_hWnd, id, CB_GETCURSEL, 0, 0); }

    CCaptureOptionDlg dialog{&page};
};

}  // namespace

TEST_F(CaptureOptions, FormatsSelectTheSavedOneAndAChoiceIsKeptEvenOnCancel)
{
    g_Settings.nSamplerate = 48000;
    g_Settings.nChannel = 1;
    ASSERT_TRUE(Show());
    ASSERT_EQ(4, (int)::SendDlgItemMessageW(dialog.m_hWnd, CCaptureOptionDlg::IDC_FORMAT, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, Selected(CCaptureOptionDlg::IDC_FORMAT));
    EXPECT_LE(0, Select(CCaptureOptionDlg::IDC_FORMAT, L"44100Hz  16bit  Stereo"));
    dialog.OnFormatChosen();
    EXPECT_EQ(44100u, g_Settings.nSamplerate);
    EXPECT_EQ(2u, g_Settings.nChannel);
    dialog.OnCancel();
    EXPECT_EQ(44100u, g_Settings.nSamplerate) << "Cancel keeps a new format";
}

TEST_F(CaptureOptions, AFormatNotOfferedLeavesTheFirstEntryAndTheSettings)
{
    g_Settings.nSamplerate = 22050;
    ASSERT_TRUE(Show());
    EXPECT_EQ(0, Selected(CCaptureOptionDlg::IDC_FORMAT));
    EXPECT_EQ(22050u, g_Settings.nSamplerate);
}

TEST_F(CaptureOptions, ItsListsDropToShowAtLeastEightEntries)
{
    ASSERT_TRUE(Show());
    for (int id : {CCaptureOptionDlg::IDC_DEVICE, CCaptureOptionDlg::IDC_FORMAT}) {
        HWND combo = ::GetDlgItem(dialog.m_hWnd, id);
        while ((int)::SendMessageW(combo, CB_GETCOUNT, 0, 0) < 12)
            ::SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)L"44100 Hz, 16 Bit, Stereo");
        EXPECT_GE(drv::DroppedRows(combo), 8) << id;
    }
}

TEST_F(CaptureOptions, NoiseLevelSliderTextAndSetting)
{
    ASSERT_TRUE(Show());
    // Seven tick marks, 0 to 300 in steps of 50 (the two ends included).
    HWND slider = ::GetDlgItem(dialog.m_hWnd, CCaptureOptionDlg::IDC_NOISE_LEVEL);
    EXPECT_EQ(7, (int)::SendMessageW(slider, TBM_GETNUMTICS, 0, 0));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(50 * (i + 1), (int)::SendMessageW(slider, TBM_GETTIC, i, 0)) << i;
    if (const char* dir = std::getenv("SONELLE_PICTURES_DIR")) {
        // A picture for a person to look at (under Xvfb): the slider with its marks.
        dialog.EnableWindow(TRUE);
        ::EnableWindow(slider, TRUE);
        dialog.ShowWindow(SW_SHOW);
        drv::Pump(1000);
        drv::SaveWindowPicture(dialog.m_hWnd, std::wstring(dir, dir + strlen(dir)) + L"\\options.bmp");
    }
    const struct { int pos; const wchar_t* text; } cases[] = {{0, L"-15.0"}, {150, L"0.0"}, {300, L"15.0"}};
    for (const auto& c : cases) {
        ::SendDlgItemMessageW(dialog.m_hWnd, CCaptureOptionDlg::IDC_NOISE_LEVEL, TBM_SETPOS, TRUE, c.pos);
        dialog.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, c.pos),
                           (LPARAM)::GetDlgItem(dialog.m_hWnd, CCaptureOptionDlg::IDC_NOISE_LEVEL));
        EXPECT_EQ(std::wstring(c.text), Text(dialog, CCaptureOptionDlg::IDC_NOISE_TEXT));
        EXPECT_EQ((float)c.pos, g_Settings.fNoiseReductionValue);
    }
}

TEST_F(CaptureOptions, TheChosenDeviceOpensAtOnceAndARefusedOneKeepsTheSavedName)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Show());
    EXPECT_LE(0, Select(CCaptureOptionDlg::IDC_DEVICE, testsignal::CaptureDeviceName));
    dialog.OnDeviceChosen();
    EXPECT_TRUE(g_CaptureDevice.m_bInit);
    EXPECT_STREQ(testsignal::CaptureDeviceName, g_Settings.szAudioDeviceName);

    // A name the device list no longer holds cannot be opened.
    int index = (int)::SendDlgItemMessageW(dialog.m_hWnd, CCaptureOptionDlg::IDC_DEVICE, CB_ADDSTRING, 0,
                                           (LPARAM)L"Gone Device 4711");
    ::SendDlgItemMessageW(dialog.m_hWnd, CCaptureOptionDlg::IDC_DEVICE, CB_SETCURSEL, (WPARAM)index, 0);
    CMessageBoxAnswerer answerer;
    dialog.OnDeviceChosen();
    Pump(300);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(L"Device not compatible. Please select another device.", answerer.Texts()[0]);
    EXPECT_STREQ(testsignal::CaptureDeviceName, g_Settings.szAudioDeviceName);
}

TEST_F(CaptureOptions, AChosenFolderGetsItsBackslashInTheRegistryAtOnce)
{
    ASSERT_TRUE(Show());
    std::wstring music = folder + L"Music";
    ASSERT_TRUE(CreateDirectoryW(music.c_str(), nullptr));
    ASSERT_TRUE(dialog.UseFolder(music.c_str()));
    EXPECT_EQ(music + L"\\", std::wstring(g_Settings.szRecordFolder));
    EXPECT_EQ(music + L"\\", Text(dialog, CCaptureOptionDlg::IDC_FOLDER));
    CString stored;
    ASSERT_TRUE(RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"RecordOutFolder", stored, L""));
    EXPECT_EQ(music + L"\\", std::wstring(stored));
}

TEST_F(CaptureOptions, AFolderThatCannotBeWrittenIsRefusedWithItsName)
{
    ASSERT_TRUE(Show());
    std::wstring before = g_Settings.szRecordFolder;
    std::wstring missing = folder + L"no\\such\\folder";
    CMessageBoxAnswerer answerer;
    EXPECT_FALSE(dialog.UseFolder(missing.c_str()));
    Pump(300);
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(0u, answerer.Texts()[0].find(L"You do not have permissions to save in this directory."));
    EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(L"\"" + missing + L"\""));
    EXPECT_EQ(before, std::wstring(g_Settings.szRecordFolder));
}

TEST_F(CaptureOptions, OkTakesThePrefix)
{
    ASSERT_TRUE(Show());
    dialog.SetDlgItemText(CCaptureOptionDlg::IDC_PREFIX, L"Concert");
    dialog.OnOK();
    EXPECT_STREQ(L"Concert", g_Settings.szPrefixName);
}
