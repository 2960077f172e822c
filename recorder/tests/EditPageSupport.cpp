#include "EditPageSupport.h"
#include <cmath>
#include "Driver.h"
#include "ModuleLoader.h"
#include "RemoteTunlet.h"
#include "SkinModule.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "TestSignal.h"
#include "WavHeader.h"

Pcm Tone(double hz, double seconds, double amplitude, int channels, int rate, int bits)
{
    Pcm p;
    p.channels = channels;
    p.rate = rate;
    p.bits = bits;
    int64_t frames = (int64_t)std::llround(seconds * rate);
    for (int64_t i = 0; i < frames; ++i) {
        double v = amplitude * std::sin(2 * 3.14159265358979 * hz * (double)i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 16) {
                int16_t s = (int16_t)std::lround(v * 32767.0);
                p.bytes.push_back((uint8_t)(s & 0xFF));
                p.bytes.push_back((uint8_t)((s >> 8) & 0xFF));
            } else {
                p.bytes.push_back((uint8_t)(128 + std::lround(v * 127.0)));
            }
        }
    }
    return p;
}

void Append(Pcm& to, const Pcm& more)
{
    to.bytes.insert(to.bytes.end(), more.bytes.begin(), more.bytes.end());
}

bool WriteWav(const std::wstring& path, const Pcm& pcm)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    uint32_t dataSize = (uint32_t)pcm.bytes.size();
    uint16_t block = (uint16_t)(pcm.channels * pcm.bits / 8);
    uint8_t h[44];
    auto u32 = [&h](int at, uint32_t v) { memcpy(h + at, &v, 4); };
    auto u16 = [&h](int at, uint16_t v) { memcpy(h + at, &v, 2); };
    memcpy(h, "RIFF", 4);
    u32(4, 36 + dataSize);
    memcpy(h + 8, "WAVEfmt ", 8);
    u32(16, 16);
    u16(20, 1);
    u16(22, (uint16_t)pcm.channels);
    u32(24, (uint32_t)pcm.rate);
    u32(28, (uint32_t)pcm.rate * block);
    u16(32, block);
    u16(34, (uint16_t)pcm.bits);
    memcpy(h + 36, "data", 4);
    u32(40, dataSize);
    DWORD done = 0;
    bool ok = WriteFile(f, h, 44, &done, nullptr) && done == 44;
    if (ok && dataSize) ok = WriteFile(f, pcm.bytes.data(), dataSize, &done, nullptr) && done == dataSize;
    CloseHandle(f);
    return ok;
}

std::vector<uint8_t> ReadAll(const std::wstring& path)
{
    std::vector<uint8_t> out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size = {};
    GetFileSizeEx(f, &size);
    out.resize((size_t)size.QuadPart);
    DWORD done = 0;
    if (!out.empty() && !ReadFile(f, out.data(), (DWORD)out.size(), &done, nullptr)) out.clear();
    CloseHandle(f);
    return out;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

void SetWriteTime(const std::wstring& path, const FILETIME& time)
{
    HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &time);
    CloseHandle(f);
}

std::vector<uint8_t> WavData(const std::wstring& path)
{
    std::vector<uint8_t> all = ReadAll(path);
    auto readAt = [&all](uint64_t offset, void* buffer, size_t count) -> size_t {
        if (offset >= all.size()) return 0;
        size_t n = std::min(count, (size_t)(all.size() - offset));
        memcpy(buffer, all.data() + offset, n);
        return n;
    };
    WavHeaderInfo info;
    if (ParseWavHeader(readAt, all.size(), info) != WavHeaderStatus::Ok) return {};
    return std::vector<uint8_t>(all.begin() + (ptrdiff_t)info.dataOffset,
                                all.begin() + (ptrdiff_t)(info.dataOffset + info.dataSize));
}

HWND WaitForDialog(int id, const wchar_t* caption, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
        HWND dialog = nullptr;
        while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", caption)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(dialog, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(dialog) && GetDlgItem(dialog, id)) return dialog;
        }
    }
    return nullptr;
}

void PressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

std::wstring AnswerMessageBox(int button, DWORD timeoutMs)
{
    drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), timeoutMs);
    if (!box.window) return L"";
    drv::AnswerMessageBox(box, button);
    for (int i = 0; i < 100 && IsWindow(box.window); ++i) Sleep(10);
    return box.text;
}

void EditPageFixture::SetUpTestSuite()
{
    for (const wchar_t* m : {L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax", L"Vossel.ax"})
        ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    g_hSkinModule = g_hResourceModule = GetModuleHandleW(nullptr);
    SetSkinModule(g_hSkinModule);
    g_szWindowTitle = L"Edit Page Test";
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    *wcsrchr(exe, L'\\') = 0;
    CRemoteTunlet::SetAppFolder(exe);
    g_Settings.nAutoSplitThreshold = 3000;
    g_Settings.nAutoSplitSilentTime = 50;
    g_Settings.nAutoSplitMinDuration = 10;
    g_Settings.nNormalizeValue = 900;
}

void EditPageFixture::SetUp()
{
    static int count = 0;
    folder = testsignal::TempPath((L"EditPage" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                   std::to_wstring(++count)).c_str()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    lstrcpynW(g_Settings.szRecordFolder, folder.c_str(), 260);
    host.SetPlaceholder(1006);
    host.AddPage(&page, CPageEdit::IDD);
    ASSERT_TRUE(host.Create(102, nullptr));
    ASSERT_TRUE(host.SetActivePage(CPageEdit::IDD));
    host.ShowWindow(SW_SHOWNOACTIVATE);
    Pump(50);
}

void EditPageFixture::TearDown()
{
    if (host.m_hWnd) host.DestroyWindow();
    Pump(100);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do DeleteFileW((folder + data.cFileName).c_str());
        while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.substr(0, folder.size() - 1).c_str());
}

std::vector<std::wstring> EditPageFixture::Open(const std::wstring& path)
{
    CMessageBoxAnswerer boxes;
    page.OpenFile(path.c_str());
    Pump(50);
    return boxes.Texts();
}

std::wstring EditPageFixture::Cell(int row, int column)
{
    wchar_t text[300] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 300;
    page.Tracks().SendMessage(LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)&item);
    return text;
}
