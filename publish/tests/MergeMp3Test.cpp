#include <gtest/gtest.h>
#include "DiscTestKit.h"
#include "FullVolume.h"
#include "MergeMp3.h"

using namespace disctest;

namespace {

// Runs one merge to its end and returns WM_MERGE_DONE's result (-1: none came).
int MergeAndWait(CMergeMp3& merge, const std::vector<CString>& sources, const CString& output)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    int result = -1;
    EXPECT_TRUE(merge.Start(owner, &sources, output));
    const DWORD end = GetTickCount() + 20000;
    while (result < 0 && GetTickCount() < end) {
        MSG msg;
        while (PeekMessageW(&msg, owner, 0, 0, PM_REMOVE))
            if (msg.message == WM_MERGE_DONE) result = int(msg.wParam);
        Sleep(10);
    }
    merge.Wait();
    DestroyWindow(owner);
    return result;
}

std::vector<unsigned char> Pattern(size_t size, int seed)
{
    std::vector<unsigned char> v(size);
    for (size_t i = 0; i < size; ++i) v[i] = (unsigned char)(i * 31 + seed * 7);
    return v;
}

}  // namespace

TEST(MergeMp3, JoinsTheFilesInListOrderAndLeavesOutOneThatDoesNotOpen)
{
    const std::wstring folder = FreshFolder(L"merge-src");
    std::vector<CString> sources;
    std::vector<unsigned char> want;
    const size_t sizes[] = {250000, 1, 102400};
    for (int i = 0; i < 3; ++i) {
        std::wstring path = folder + L"\\part" + std::to_wstring(i) + L".mp3";
        ASSERT_TRUE(WriteBytes(path, Pattern(sizes[i], i)));
        const std::vector<unsigned char> part = Pattern(sizes[i], i);
        want.insert(want.end(), part.begin(), part.end());
        sources.push_back(CString(path));
        if (i == 1) sources.push_back(CString(folder + L"\\missing.mp3"));
    }
    CMergeMp3 merge;
    EXPECT_EQ(1, MergeAndWait(merge, sources, CString(folder + L"\\all.mp3")));
    EXPECT_EQ(100, merge.GetPercent());
    EXPECT_EQ(want, ReadBytes(folder + L"\\all.mp3"));
    RemoveTree(folder);
}

TEST(MergeMp3, AFullDiskReportsFailure)
{
    CFullVolume volume(L'V', 100 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    const std::wstring folder = FreshFolder(L"merge-full");
    std::vector<CString> sources;
    for (int i = 0; i < 2; ++i) {
        std::wstring path = folder + L"\\p" + std::to_wstring(i) + L".mp3";
        ASSERT_TRUE(WriteBytes(path, Pattern(150000, i)));
        sources.push_back(CString(path));
    }
    CMergeMp3 merge;
    EXPECT_EQ(0, MergeAndWait(merge, sources, CString(volume.Path(L"all.mp3"))));
    RemoveTree(folder);
}

TEST(MergeMp3, WaitCancelsARunningMerge)
{
    const std::wstring folder = FreshFolder(L"merge-cancel");
    std::vector<CString> sources;
    for (int i = 0; i < 40; ++i) {
        std::wstring path = folder + L"\\p" + std::to_wstring(i) + L".mp3";
        ASSERT_TRUE(WriteBytes(path, Pattern(2000000, i)));
        sources.push_back(CString(path));
    }
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CMergeMp3 merge;
    ASSERT_TRUE(merge.Start(owner, &sources, CString(folder + L"\\all.mp3")));
    merge.Wait();
    MSG msg;
    int result = -1;
    while (PeekMessageW(&msg, owner, WM_MERGE_DONE, WM_MERGE_DONE, PM_REMOVE)) result = int(msg.wParam);
    EXPECT_EQ(0, result) << "cancelled before the end";
    DestroyWindow(owner);
    RemoveTree(folder);
}
