#include "ByteFile.h"
#include "TestFiles.h"
#include "WaveEditXCtrl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

namespace {

struct Note {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text;
};

std::vector<Note> g_notes;
NV_WaveEditXCtrl* g_reopenEditor = nullptr;
std::wstring g_reopenPath;
int g_reopenResults = 0, g_reopenRefused = 0;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_WAVEEDIT_SPLITCHANGED:
        g_notes.push_back({msg, wp, lp, L""});
        return 0;
    case WM_WAVEEDIT_TIMETEXT:
    case WM_WAVEEDIT_STATUS:
        g_notes.push_back({msg, wp, lp, (const wchar_t*)lp});
        return 0;
    case WM_WAVEEDIT_PEAKPROGRESS:
        // A click that would open another file while the peaks are built.
        if (g_reopenEditor) {
            ++g_reopenResults;
            if (!g_reopenEditor->OpenFile(g_reopenPath.c_str(), g_reopenPath.c_str(), hwnd))
                ++g_reopenRefused;
        }
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

HWND MakeParent()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WaveEditorTestParent";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"Wave editor test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 840,
                           400, nullptr, nullptr, wc.hInstance, nullptr);
}

// 10 s of stereo 16-bit: a 2 Hz sine on the left, a quieter 5 Hz one on the right.
Bytes ToneWav()
{
    std::vector<int16_t> s;
    for (int f = 0; f < 441000; ++f) {
        s.push_back((int16_t)(20000 * sin(2 * 3.14159265358979 * 2 * f / 44100.0)));
        s.push_back((int16_t)(8000 * sin(2 * 3.14159265358979 * 5 * f / 44100.0)));
    }
    return PlainWav(2, 44100, 16, Samples16(s));
}

class WaveEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_notes.clear();
        m_parent = MakeParent();
        ASSERT_TRUE(m_parent);
        RECT r = {0, 0, 800, 300};
        ASSERT_TRUE(m_editor.Create(WS_VISIBLE, r, m_parent, 100));
        m_path = TempPath(L"editor.tmw");
        WriteBytes(m_path, ToneWav());
        DeleteByteFile(PeakPathFor(m_path));
    }
    void TearDown() override { DestroyWindow(m_parent); }

    void Click(int x, int y, int toX = -1)
    {
        HWND w = m_editor.GetHwnd();
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        if (toX >= 0) {
            SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((x + toX) / 2, y));
            SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, y));
            x = toX;
        }
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    std::vector<std::pair<int, int>> SplitNotes() const
    {
        std::vector<std::pair<int, int>> v;
        for (const Note& n : g_notes)
            if (n.msg == WM_WAVEEDIT_SPLITCHANGED)
                v.emplace_back((int)n.wParam, (int)n.lParam);
        return v;
    }
    std::wstring LastText(UINT msg) const
    {
        for (auto it = g_notes.rbegin(); it != g_notes.rend(); ++it)
            if (it->msg == msg)
                return it->text;
        return L"";
    }
    std::vector<int32_t> Positions()
    {
        CTrackList l = m_editor.GetDocument().GetSplitPoints();
        std::vector<int32_t> v;
        for (int i = 0; i < l.GetCount(); ++i)
            v.push_back(l.PositionOf(i));
        return v;
    }

    HWND m_parent = nullptr;
    NV_WaveEditXCtrl m_editor;
    std::wstring m_path;
};

}  // namespace

TEST_F(WaveEditor, OpenShowsStartAndEndPoints)
{
    EXPECT_EQ(L"F001", m_editor.GetFileTitle());
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    EXPECT_TRUE(m_editor.IsLoaded());
    EXPECT_EQ(552, m_editor.GetDocument().GetUnit());  // 441000 / 800 + 1
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitAdded, 0}}), SplitNotes());
    EXPECT_EQ((std::vector<int32_t>{0, 441000}), Positions());
    EXPECT_EQ(L"00:00:00.00 / 00:00:10.00", LastText(WM_WAVEEDIT_TIMETEXT));
    EXPECT_EQ(L"editor", m_editor.GetFileTitle());
    EXPECT_FALSE(ReadBytes(PeakPathFor(m_path)).empty()) << "the peak file was built";
    EXPECT_TRUE(m_editor.CanZoom(0));
    EXPECT_FALSE(m_editor.CanZoom(1));
    EXPECT_FALSE(m_editor.CanZoom(2));
}

TEST_F(WaveEditor, BadFilesFailToOpen)
{
    const std::wstring notRiff = TempPath(L"notriff.tmw");
    WriteBytes(notRiff, Bytes(100, 'x'));
    EXPECT_FALSE(m_editor.OpenFile(notRiff.c_str(), notRiff.c_str(), m_parent));
    EXPECT_FALSE(ReadBytes(notRiff).empty()) << "a file that is no RIFF is left in place";
    const std::wstring twelveBit = TempPath(L"twelve.tmw");
    WriteBytes(twelveBit, PlainWav(2, 44100, 12, Bytes(400, 0)));
    EXPECT_FALSE(m_editor.OpenFile(twelveBit.c_str(), twelveBit.c_str(), m_parent));
    EXPECT_FALSE(m_editor.IsLoaded());
}

TEST_F(WaveEditor, MouseEditsSplitPoints)
{
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    NV_EditWaveFile& doc = m_editor.GetDocument();
    g_notes.clear();

    Click(400, 150);  // in the wave area: the cursor goes there
    EXPECT_EQ(400 * 552, doc.GetCursor());
    EXPECT_EQ(L"00:00:05.01 / 00:00:10.00", LastText(WM_WAVEEDIT_TIMETEXT));
    EXPECT_EQ(L"Unit:552    S:0  T:400   Position:220800   File:883200Byte", LastText(WM_WAVEEDIT_STATUS));

    doc.AddSplitPointAtCursor();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitAdded, 1}}), SplitNotes());
    g_notes.clear();

    Click(400, 20, 450);  // drag the interior line
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitMoved, 1}}), SplitNotes());
    EXPECT_EQ((std::vector<int32_t>{0, 450 * 552, 441000}), Positions());
    g_notes.clear();

    Click(798, 20, 700);  // drag the end line to the left: a new point
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitAdded, 2}}), SplitNotes());
    EXPECT_EQ((std::vector<int32_t>{0, 450 * 552, 700 * 552, 441000}), Positions());
    g_notes.clear();

    Click(450, 20, 795);  // an interior line stops 20 columns before its neighbour
    EXPECT_EQ((std::vector<int32_t>{0, 680 * 552, 700 * 552, 441000}), Positions());
    Click(680, 20, 450);
    g_notes.clear();

    Click(2, 5);  // the top of the first line: nothing is removed, nothing sent
    EXPECT_TRUE(SplitNotes().empty());
    EXPECT_EQ(4u, Positions().size());

    Click(465, 20);  // the flag box of the track that starts at the line
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitToggled, 1}}), SplitNotes());
    EXPECT_EQ(0, doc.GetSplitPoints().GetFlag(1));
    g_notes.clear();

    Click(700, 5);  // the delete box of an interior line
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitRemoved, 2}}), SplitNotes());
    EXPECT_EQ((std::vector<int32_t>{0, 450 * 552, 441000}), Positions());
    g_notes.clear();

    // Three lines 10 columns apart: the middle one has no room and is not moved.
    doc.AddSplitPoint(300 * 552, 1);
    doc.AddSplitPoint(310 * 552, 1);
    doc.AddSplitPoint(320 * 552, 1);
    g_notes.clear();
    Click(310, 28, 330);  // below the flag boxes
    EXPECT_TRUE(SplitNotes().empty());
    EXPECT_TRUE(doc.GetSplitPoints().IsOrdered());
    EXPECT_EQ(310 * 552, doc.GetSplitPoints().PositionOf(2));

    doc.ClearSplitPoints();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{kSplitCleared, 0}}), SplitNotes());
    EXPECT_EQ((std::vector<int32_t>{0, 441000}), Positions());
}

TEST_F(WaveEditor, ZoomKeepsTheCursorColumn)
{
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    NV_EditWaveFile& doc = m_editor.GetDocument();
    m_editor.SetCursorPos(300000);
    const int column = doc.GetCursorColumn();
    m_editor.ZoomIn();
    EXPECT_EQ(384, doc.GetUnit());
    EXPECT_EQ(column, doc.GetCursorColumn());
    m_editor.ZoomOut();
    m_editor.ZoomOut();
    EXPECT_EQ(552, doc.GetUnit());
    m_editor.ZoomIn();
    m_editor.ZoomIn();
    m_editor.GoToEnd();
    EXPECT_EQ(256, doc.GetUnit());
    EXPECT_EQ(441000 / 256 * 256, doc.GetCursor()) << "on the unit grid";
    EXPECT_EQ(441000 / 256 - 800, doc.GetScroll()) << "the view scrolled to the last page";
    m_editor.ZoomToFit();
    EXPECT_EQ(0, doc.GetScroll());
}

TEST_F(WaveEditor, WorkerSplitPointsArriveThroughTheUserInterfaceThread)
{
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    g_notes.clear();
    struct Job {
        NV_EditWaveFile* doc;
        static DWORD WINAPI Run(LPVOID p)
        {
            auto* doc = static_cast<Job*>(p)->doc;
            std::mt19937 rng(3);
            doc->ClearSplitPoints();
            for (int i = 0; i < 60; ++i)
                doc->AddSplitPoint((int32_t)(1 + rng() % 440998), 1);
            return 0;
        }
    } job{&m_editor.GetDocument()};
    HANDLE thread = CreateThread(nullptr, 0, Job::Run, &job, 0, nullptr);
    ASSERT_TRUE(thread);
    // Paint while the worker changes the list; its synchronous notifications are
    // delivered by this thread's wait.
    for (;;) {
        RedrawWindow(m_editor.GetHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, 1000, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            break;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    CloseHandle(thread);
    const CTrackList l = m_editor.GetDocument().GetSplitPoints();
    EXPECT_TRUE(l.IsOrdered());
    const auto notes = SplitNotes();
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(std::make_pair((int)kSplitCleared, 0), notes[0]);
    EXPECT_EQ((size_t)l.GetCount() - 2, notes.size() - 1);
}

TEST_F(WaveEditor, PeakBuildIsNotReentered)
{
    g_reopenEditor = &m_editor;
    g_reopenPath = m_path;
    g_reopenResults = g_reopenRefused = 0;
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    g_reopenEditor = nullptr;
    EXPECT_GT(g_reopenResults, 0);
    EXPECT_EQ(g_reopenResults, g_reopenRefused);
    EXPECT_FALSE(m_editor.IsBuildingPeaks());
}

TEST_F(WaveEditor, PaintsTheWaveformAndTheCursorLine)
{
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    m_editor.GetDocument().AddSplitPoint(220000, 1);
    m_editor.SetCursorPos(100000);
    RECT r = {0, 0, 800, 300};
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 800;
    bi.bmiHeader.biHeight = -300;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    m_editor.OnDraw(dc, r);
    GdiFlush();
    auto pixel = [&](int x, int y) {
        const uint32_t v = static_cast<const uint32_t*>(bits)[y * 800 + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    int green = 0;
    for (int y = 52; y < 300; ++y)
        for (int x = 0; x < 800; ++x)
            green += pixel(x, y) == RGB(85, 255, 0);
    EXPECT_GT(green, 800) << "a waveform was drawn";
    EXPECT_EQ(RGB(51, 51, 51), pixel(3, 60)) << "background";
    EXPECT_EQ(RGB(255, 180, 0), pixel(5, 40)) << "ruler body";
    const int cursorX = 100000 / 552;
    EXPECT_EQ(RGB(255, 255, 255), pixel(cursorX, 290)) << "the cursor line";
    EXPECT_EQ(RGB(120, 180, 0), pixel(100, 20)) << "a selected track strip";

    if (const char* shot = getenv("WAVEEDIT_SHOT")) {
        BITMAPFILEHEADER fh = {};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
        fh.bfSize = fh.bfOffBits + 800 * 300 * 4;
        Bytes file((const uint8_t*)&fh, (const uint8_t*)&fh + sizeof fh);
        file.insert(file.end(), (const uint8_t*)&bi.bmiHeader, (const uint8_t*)&bi.bmiHeader + sizeof bi.bmiHeader);
        file.insert(file.end(), (const uint8_t*)bits, (const uint8_t*)bits + 800 * 300 * 4);
        WriteBytes(std::wstring(shot, shot + strlen(shot)), file);
    }
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// An open that fails while building or loading its peak data leaves nothing
// behind that a later close could write: the good peak file stays as it was.
TEST_F(WaveEditor, AFailedOpenLeavesTheGoodPeakFileAlone)
{
    ASSERT_TRUE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
    m_editor.CloseFile();
    const std::wstring peakPath = PeakPathFor(m_path);
    const Bytes good = ReadBytes(peakPath);
    ASSERT_GT(good.size(), 1012u);
    {
        // Another program reads both files: the peak file cannot be loaded and
        // the WAV cannot be read for a new build.
        HANDLE held[2];
        const std::wstring files[2] = {m_path, peakPath};
        for (int i = 0; i < 2; ++i) {
            held[i] = CreateFileW(files[i].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held[i]);
        }
        EXPECT_FALSE(m_editor.OpenFile(m_path.c_str(), m_path.c_str(), m_parent));
        EXPECT_FALSE(m_editor.IsLoaded());
        CloseHandle(held[0]);
        CloseHandle(held[1]);
    }
    m_editor.CloseFile();
    EXPECT_EQ(good, ReadBytes(peakPath)) << "the close wrote over the good peak file";
    EXPECT_FALSE(ReadBytes(m_path).empty()) << "the WAV itself was removed";
}
