// DiscBench FOLDER: lays out every file of FOLDER on a data disc of the first
// writer (DiscWriter.ini beside the library names its image folder), writes the
// image and prints "seconds=<layout and write>" and "image=<path>". Exit code 1
// when the write did not start or failed.
#include <windows.h>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>
#include "NVDataCDDVD.h"

namespace {

std::mutex g_lock;
std::condition_variable g_done;
int g_status = -1;

void OnBurnDone(int status, void*)
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_status = status;
    g_done.notify_all();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        fwprintf(stderr, L"usage: DiscBench FOLDER\n");
        return 2;
    }
    const std::wstring folder = std::wstring(argv[1]) + L"\\";
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }

    CNVDataCDDVD disc;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    disc.Initialize();
    disc.SetBurnMode(1);
    if (disc.GetDriveCount() == 0 || !disc.ChooseDrive(0)) return 1;
    disc.Free();
    disc.LoadSession();
    char label[] = "BENCH";
    disc.SetDiscLabel(label);
    disc.SetFinalizeDisc(1);
    wchar_t root[] = L"\\";
    for (size_t i = 0; i < names.size(); ++i) {
        std::wstring path = folder + names[i], longName = names[i];
        wchar_t shortName[16];
        _snwprintf(shortName, 16, L"FILE%04u.MP3", unsigned(i));
        disc.AddFileW(root, &path[0], &longName[0], shortName);
    }
    disc.Ready();
    if (!disc.StartBurnData(&OnBurnDone, nullptr)) return 1;
    {
        std::unique_lock<std::mutex> hold(g_lock);
        g_done.wait(hold, [] { return g_status != -1; });
    }
    QueryPerformanceCounter(&end);
    disc.Uninitialize();
    wprintf(L"files=%u seconds=%.3f status=%d\n", unsigned(names.size()),
            double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart), g_status);
    return g_status == 1 ? 1 : 0;
}
