// The Edit page in Sonelle.exe as a user meets it, from another process: Open and
// the platform's file dialog, the loaded file's time, Auto Split, a track's check
// box clicked off, the Amplify command as the Effect menu posts it with its slider
// moved by key, the runner, Undo.
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <gtest/gtest.h>
#include "Driver.h"
#include "EditPageSupport.h"
#include "Mp3FileCheck.h"

namespace {

const wchar_t kKey[] = L"software\\Norvane\\NV Sonelle";

HWND PageWithControl(HWND window, int id)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (drv::WindowClass(child) == L"#32770" && GetDlgItem(child, id)) return child;
    return nullptr;
}

BOOL CALLBACK FindList(HWND child, LPARAM out)
{
    if (drv::WindowClass(child) != L"SysListView32") return TRUE;
    *(HWND*)out = child;
    return FALSE;
}

// The track list: inside the skinned scroll frame that took its place and id.
HWND TrackList(HWND page)
{
    HWND found = nullptr;
    EnumChildWindows(page, FindList, (LPARAM)&found);
    return found;
}

bool WaitFor(const std::function<bool()>& done, DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50))
        if (done()) return true;
    return done();
}

}  // namespace

TEST(EditPageEndToEnd, OpenSplitAmplifyAndUndoInTheProgram)
{
    const std::wstring fixtures = testsignal::FixtureFolder();
    if (fixtures.empty()) GTEST_SKIP() << "SONELLE_FIXTURES is not set";
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring install = std::wstring(temp) + L"SonelleEditInstall" + std::to_wstring(GetCurrentProcessId()) +
                                 L"\\";
    drv::RemoveTree(install.substr(0, install.size() - 1));
    ASSERT_TRUE(CreateDirectoryW(install.c_str(), nullptr));
    const std::wstring bin = drv::OwnFolder();
    for (const wchar_t* file : {L"Sonelle.exe", L"Tunlet.exe", L"NVCoreAudio.dll", L"NVDataCDDVD.dll", L"NVAudioCD.dll"})
        ASSERT_TRUE(CopyFileW((bin + file).c_str(), (install + file).c_str(), FALSE)) << file;
    ASSERT_TRUE(CopyFileW((bin + L"StarterDouble.exe").c_str(), (install + L"SonelleStarter.exe").c_str(), FALSE));
    const std::wstring wav = install + L"tones.wav";
    ASSERT_TRUE(CopyFileW((fixtures + L"tones.wav").c_str(), wav.c_str(), FALSE));

    std::wstring savedPath, savedTitle;
    bool hadPath = drv::RegReadString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", &savedPath);
    bool hadTitle = drv::RegReadString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", &savedTitle);
    const std::wstring title = L"Sonelle Edit Test " + std::to_wstring(GetCurrentProcessId());
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", install);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", title);

    drv::Process process;
    ASSERT_TRUE(process.Start(install + L"Sonelle.exe", L"", install));
    HWND window = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", title, process.Id(), 15000), 15000);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(drv::ClickControl(window, 1001));
    HWND page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (page = PageWithControl(window, 1013)) != nullptr && IsWindowVisible(page); },
                        5000));

    // Open: the platform's file dialog, the fixture's name typed into it.
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(1013, BN_CLICKED), (LPARAM)GetDlgItem(page, 1013));
    HWND open = drv::WaitForWindow(L"#32770", L"Open", process.Id(), 15000);
    ASSERT_NE(nullptr, open);
    ASSERT_TRUE(drv::SetControlText(open, 1148, wav));
    ASSERT_TRUE(drv::ClickControl(open, IDOK));
    auto timeText = [&] { return drv::ControlText(page, 1023); };
    EXPECT_TRUE(WaitFor([&] {
        std::wstring t = timeText();
        return t.size() >= 11 && t.substr(t.size() - 11) == L"00:00:40.00";
    }, 30000)) << std::string(timeText().begin(), timeText().end());
    HWND list = TrackList(page);
    ASSERT_NE(nullptr, list);
    auto rows = [&] { return (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); };
    EXPECT_EQ(1, rows());

    // Auto Split: three tracks.
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(1029, BN_CLICKED), (LPARAM)GetDlgItem(page, 1029));
    EXPECT_TRUE(WaitFor([&] { return rows() == 3; }, 30000)) << rows();

    // The second track's check box clicked off: the effect leaves it as it is.
    ASSERT_TRUE(drv::ClickListRowCheckBox(list, 1));
    EXPECT_TRUE(WaitFor([&] { return !drv::ListRowChecked(list, 1); }, 5000));
    EXPECT_TRUE(drv::ListRowChecked(list, 0));
    EXPECT_TRUE(drv::ListRowChecked(list, 2));

    // The Effect menu's Amplify command; the slider moved five steps up by its arrow
    // key (200 %); OK in its dialog; the runner; Undo enabled.
    PostMessageW(page, WM_COMMAND, 32771, 0);
    HWND amplify = drv::WaitForWindow(L"#32770", L"Amplify", process.Id(), 15000);
    ASSERT_NE(nullptr, amplify);
    HWND slider = GetDlgItem(amplify, 1061);
    for (int i = 0; i < 5; ++i) PostMessageW(slider, WM_KEYDOWN, VK_RIGHT, 1);
    PostMessageW(slider, WM_KEYUP, VK_RIGHT, 0xC0000001);
    EXPECT_TRUE(WaitFor([&] { return drv::ControlText(amplify, 1063) == L"200 %"; }, 5000))
        << std::string(drv::ControlText(amplify, 1063).begin(), drv::ControlText(amplify, 1063).end());
    ASSERT_TRUE(drv::ClickControl(amplify, IDOK));
    HWND undo = GetDlgItem(page, 1028);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(undo) != FALSE; }, 30000));
    EXPECT_TRUE(GetFileAttributesW((install + L"tones.tm1").c_str()) != INVALID_FILE_ATTRIBUTES);
    {
        // Tracks 1 and 3 louder; track 2 (the second tone, 616448 to 1233920) byte for byte the same.
        const std::vector<uint8_t> in = WavData(install + L"tones.tmw"), out = WavData(install + L"tones.tm1");
        const size_t block = 4, a = 616448 * block, b = 1233920 * block;
        ASSERT_EQ(in.size(), out.size());
        ASSERT_GT(in.size(), b);
        EXPECT_TRUE(std::equal(in.begin() + a, in.begin() + b, out.begin() + a)) << "the unchecked track";
        EXPECT_FALSE(std::equal(in.begin(), in.begin() + a, out.begin())) << "the first track";
        EXPECT_FALSE(std::equal(in.begin() + b, in.end(), out.begin() + b)) << "the third track";
    }
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(1028, BN_CLICKED), (LPARAM)undo);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(undo); }, 10000));
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesW((install + L"tones.tm1").c_str()) == INVALID_FILE_ATTRIBUTES; },
                        5000));
    EXPECT_EQ(3, rows());

    ASSERT_TRUE(drv::ClickControl(window, 1005));
    EXPECT_TRUE(process.WaitForExit(15000));
    // The program deletes its work set on the way out. The player it started may
    // still be letting go of the work WAV (it ends on its own message loop); the
    // file is gone once it has.
    EXPECT_TRUE(WaitFor([&] { return GetFileAttributesW((install + L"tones.tmw").c_str()) == INVALID_FILE_ATTRIBUTES; },
                        5000))
        << "the work set goes with the program";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wav.c_str()));

    if (hadPath) drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", savedPath);
    else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kKey, L"AppPath");
    if (hadTitle) drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", savedTitle);
    else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName");
    for (int i = 0; i < 40; ++i) {
        drv::RemoveTree(install.substr(0, install.size() - 1));
        if (GetFileAttributesW(install.c_str()) == INVALID_FILE_ATTRIBUTES) break;
        Sleep(50);
    }
}
