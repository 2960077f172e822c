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

// Sonelle.exe installed in a folder of its own with the fixture's tones beside it,
// under a window title of this test; the machine key is put back at the end.
class InstalledProgram {
public:
    bool Install(const std::wstring& fixtures)
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"SonelleEditInstall" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        drv::RemoveTree(folder.substr(0, folder.size() - 1));
        if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
        const std::wstring bin = drv::OwnFolder();
        for (const wchar_t* file :
             {L"Sonelle.exe", L"Tunlet.exe", L"NVCoreAudio.dll", L"NVDataCDDVD.dll", L"NVAudioCD.dll"})
            if (!CopyFileW((bin + file).c_str(), (folder + file).c_str(), FALSE)) return false;
        if (!CopyFileW((bin + L"StarterDouble.exe").c_str(), (folder + L"SonelleStarter.exe").c_str(), FALSE))
            return false;
        wav = folder + L"tones.wav";
        if (!CopyFileW((fixtures + L"tones.wav").c_str(), wav.c_str(), FALSE)) return false;
        hadPath = drv::RegReadString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", &savedPath);
        hadTitle = drv::RegReadString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", &savedTitle);
        title = L"Sonelle Edit Test " + std::to_wstring(GetCurrentProcessId());
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", folder);
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", title);
        installed = true;
        return true;
    }
    ~InstalledProgram()
    {
        if (!installed) return;
        if (hadPath) drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", savedPath);
        else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kKey, L"AppPath");
        if (hadTitle) drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", savedTitle);
        else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName");
        for (int i = 0; i < 40; ++i) {
            drv::RemoveTree(folder.substr(0, folder.size() - 1));
            if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) break;
            Sleep(50);
        }
    }
    // Starts the program; its main window once shown, else null.
    HWND Start(drv::Process& process)
    {
        if (!process.Start(folder + L"Sonelle.exe", L"", folder)) return nullptr;
        return drv::WaitUntilShown(drv::WaitForWindow(L"#32770", title, process.Id(), 15000), 15000);
    }
    bool Exists(const wchar_t* name) const
    {
        return GetFileAttributesW((folder + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::wstring folder, wav, title;

private:
    bool installed = false, hadPath = false, hadTitle = false;
    std::wstring savedPath, savedTitle;
};

// Shows the Edit page and opens the tones through the platform's file dialog (the
// full path typed into it); the page once the file's time shows, else null.
HWND OpenInEditPage(HWND window, DWORD processId, const std::wstring& wav)
{
    if (!drv::ClickControl(window, 1001)) return nullptr;
    HWND page = nullptr;
    if (!WaitFor([&] { return (page = PageWithControl(window, 1013)) != nullptr && IsWindowVisible(page); }, 5000))
        return nullptr;
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(1013, BN_CLICKED), (LPARAM)GetDlgItem(page, 1013));
    HWND open = drv::WaitForWindow(L"#32770", L"Open", processId, 15000);
    if (!open || !drv::SetControlText(open, 1148, wav) || !drv::ClickControl(open, IDOK)) return nullptr;
    const bool shown = WaitFor(
        [&] {
            std::wstring t = drv::ControlText(page, 1023);
            return t.size() >= 11 && t.substr(t.size() - 11) == L"00:00:40.00";
        },
        30000);
    return shown ? page : nullptr;
}

}  // namespace

TEST(EditPageEndToEnd, OpenSplitAmplifyAndUndoInTheProgram)
{
    const std::wstring fixtures = testsignal::FixtureFolder();
    if (fixtures.empty()) GTEST_SKIP() << "SONELLE_FIXTURES is not set";
    InstalledProgram program;
    ASSERT_TRUE(program.Install(fixtures));
    const std::wstring& install = program.folder;
    const std::wstring& wav = program.wav;

    drv::Process process;
    HWND window = program.Start(process);
    ASSERT_NE(nullptr, window);
    // Open: the platform's file dialog, the fixture's name typed into it.
    HWND page = OpenInEditPage(window, process.Id(), wav);
    ASSERT_NE(nullptr, page) << "the file opened and its time shows";
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
}

TEST(EditPageEndToEnd, WorkFilesOfAKilledRunGoAtTheNextStart)
{
    const std::wstring fixtures = testsignal::FixtureFolder();
    if (fixtures.empty()) GTEST_SKIP() << "SONELLE_FIXTURES is not set";
    InstalledProgram program;
    ASSERT_TRUE(program.Install(fixtures));
    {
        drv::Process process;
        HWND window = program.Start(process);
        ASSERT_NE(nullptr, window);
        HWND page = OpenInEditPage(window, process.Id(), program.wav);
        ASSERT_NE(nullptr, page);
        // An effect's output beside the work set (Normalize, answered Yes), then
        // the program is killed.
        PostMessageW(page, WM_COMMAND, 32772, 0);
        drv::MessageBoxInfo question = drv::WaitForMessageBox(process.Id(), 15000);
        ASSERT_NE(nullptr, question.window);
        drv::AnswerMessageBox(question, IDYES);
        HWND undo = GetDlgItem(page, 1028);
        ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(undo) != FALSE; }, 30000));
        process.Kill();
        ASSERT_TRUE(process.WaitForExit(15000));
        drv::EndProcessesStartedFrom(program.folder);
    }
    for (const wchar_t* name : {L"tones.tmw", L"tones.npk", L"tones.tm1", L"tones.np1"})
        ASSERT_TRUE(program.Exists(name)) << "left by the killed run";

    // The next start, on the Record page: the left-over work set goes before any
    // file is opened; the user's file stays.
    drv::Process process;
    HWND window = program.Start(process);
    ASSERT_NE(nullptr, window);
    for (const wchar_t* name : {L"tones.tmw", L"tones.npk", L"tones.nvs", L"tones.tm1", L"tones.np1"})
        EXPECT_TRUE(WaitFor([&] { return !program.Exists(name); }, 10000)) << name;
    EXPECT_TRUE(program.Exists(L"tones.wav"));
    ASSERT_TRUE(drv::ClickControl(window, 1005));
    EXPECT_TRUE(process.WaitForExit(15000));
}
