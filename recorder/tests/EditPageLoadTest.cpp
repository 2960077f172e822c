// Opening files in the Edit page: the work set beside the file, its reuse only
// when it was made from this very source, refusals with clear messages, a
// cancelled load that leaves nothing, and the track list that follows the
// editor's split points.
#include "EditPageSupport.h"
#include "AudioTrackListCtrl.h"
#include "EditWorkSet.h"
#include "FileLoadingDlg.h"
#include "FileLoadingJob.h"
#include "Registry.h"
#include "SonelleGlobals.h"
#include "TestSignal.h"
#include "WaitUntil.h"

namespace {

// Runs the loading dialog on its own, as the page does.
struct Load {
    explicit Load(const std::wstring& source)
    {
        dialog.SetSource(source.c_str(), &tags);
        dialog.DoModal();
    }
    EditTagRecord tags;
    CFileLoadingDlg dialog;
};

}  // namespace

TEST_F(EditPageFixture, AWavOpensThroughAWorkSetBesideItWithOneTrack)
{
    const std::wstring wav = Path(L"Talk.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 10, 0.5)));
    const std::vector<uint8_t> original = ReadAll(wav);
    EXPECT_TRUE(Open(wav).empty());
    ASSERT_TRUE(page.IsFileOpen());
    EXPECT_EQ(Path(L"Talk.tmw"), std::wstring(page.LoadedWorkPath()));
    EXPECT_TRUE(Exists(Path(L"Talk.tmw")));
    EXPECT_TRUE(Exists(Path(L"Talk.npk")));
    EXPECT_EQ(WavData(wav), WavData(Path(L"Talk.tmw"))) << "the work copy holds the same sound";
    EXPECT_EQ(original, ReadAll(wav)) << "the file itself is never changed";

    ASSERT_EQ(1, page.Tracks().GetItemCount());
    EXPECT_EQ(L"01", Cell(0, 0));
    EXPECT_EQ(L"00 : 00 : 00.00", Cell(0, 1));
    EXPECT_EQ(L"00 : 00 : 10.00", Cell(0, 2));
    EXPECT_EQ(L"Talk_Track01", Cell(0, 3));
    EXPECT_TRUE(page.Tracks().GetCheck(0));
    std::wstring time = TimeText();
    ASSERT_GE(time.size(), 11u);
    EXPECT_EQ(L"00:00:10.00", time.substr(time.size() - 11)) << time;
    for (int id : {CPageEdit::IDC_AUTO_SPLIT, CPageEdit::IDC_SPLIT, CPageEdit::IDC_EFFECT, CPageEdit::IDC_PLAY})
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, id))) << id;
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageEdit::IDC_UNDO)));

    // Another file: the first one's work set goes, the file stays.
    const std::wstring other = Path(L"Other.wav");
    ASSERT_TRUE(WriteWav(other, Tone(660, 3, 0.5, 1)));
    EXPECT_TRUE(Open(other).empty());
    EXPECT_FALSE(Exists(Path(L"Talk.tmw")));
    EXPECT_FALSE(Exists(Path(L"Talk.npk")));
    EXPECT_EQ(original, ReadAll(wav));
    EXPECT_EQ(L"00 : 00 : 03.00", Cell(0, 2));

    // The work set of the last file goes with the page.
    host.DestroyWindow();
    EXPECT_FALSE(Exists(Path(L"Other.tmw")));
    EXPECT_FALSE(Exists(Path(L"Other.npk")));
    EXPECT_TRUE(Exists(other));
}

TEST_F(EditPageFixture, AWorkSetIsUsedAgainOnlyWhenItWasMadeFromThisSource)
{
    const std::wstring wav = Path(L"Take.wav"), tmw = Path(L"Take.tmw"), npk = Path(L"Take.npk");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 6, 0.5)));
    {
        Load first(wav);
        ASSERT_EQ(1, first.dialog.GetResult());
        EXPECT_TRUE(first.dialog.WroteWav() && first.dialog.WrotePeak());
    }
    const std::vector<uint8_t> work = ReadAll(tmw);
    ASSERT_FALSE(work.empty());
    {
        Load again(wav);
        EXPECT_EQ(1, again.dialog.GetResult());
        EXPECT_FALSE(again.dialog.WroteWav()) << "a current work set is not converted again";
        EXPECT_FALSE(again.dialog.WrotePeak());
    }
    // A stale peak file alone: only it is made again; the work WAV stays as it was.
    FILETIME old = WriteTime(wav);
    old.dwHighDateTime -= 1;
    SetWriteTime(npk, old);
    {
        Load peakOnly(wav);
        EXPECT_EQ(1, peakOnly.dialog.GetResult());
        EXPECT_FALSE(peakOnly.dialog.WroteWav());
        EXPECT_TRUE(peakOnly.dialog.WrotePeak());
        EXPECT_EQ(work, ReadAll(tmw)) << "the work WAV stays byte for byte";
    }
    // A truncated work WAV that is newer than the source (a killed conversion).
    {
        std::vector<uint8_t> cut(work.begin(), work.begin() + work.size() / 2);
        HANDLE f = CreateFileW(tmw.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        WriteFile(f, cut.data(), (DWORD)cut.size(), &done, nullptr);
        CloseHandle(f);
        Load truncated(wav);
        EXPECT_EQ(1, truncated.dialog.GetResult());
        EXPECT_TRUE(truncated.dialog.WroteWav());
        EXPECT_EQ(WavData(wav), WavData(tmw));
    }
    // A source edited since: converted again.
    ASSERT_TRUE(WriteWav(wav, Tone(880, 4, 0.5)));
    FILETIME later = WriteTime(tmw);
    later.dwHighDateTime += 1;
    SetWriteTime(wav, later);
    {
        Load touched(wav);
        EXPECT_EQ(1, touched.dialog.GetResult());
        EXPECT_TRUE(touched.dialog.WroteWav());
        EXPECT_EQ(WavData(wav), WavData(tmw));
    }
}

TEST_F(EditPageFixture, RefusedFilesGiveAClearMessageAndThePageGoesOn)
{
    // A work file of the page is never opened: its writer would empty it.
    const std::wstring work = Path(L"Old.tmw");
    ASSERT_TRUE(WriteWav(work, Tone(440, 1, 0.5)));
    const std::vector<uint8_t> before = ReadAll(work);
    EXPECT_EQ(std::vector<std::wstring>{L"Error opening file!"}, Open(work));
    EXPECT_EQ(before, ReadAll(work));
    EXPECT_FALSE(page.IsFileOpen());

    // A RIFF/WAVE without a usable format, and a file that is no sound at all.
    Pcm none = Tone(440, 1, 0.5);
    none.channels = 0;
    const std::wstring broken = Path(L"Broken.wav");
    {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(WriteWav(broken, Tone(440, 1, 0.5)));
        bytes = ReadAll(broken);
        memset(bytes.data() + 22, 0, 2);   // channels
        memset(bytes.data() + 32, 0, 4);   // block align and bits
        HANDLE f = CreateFileW(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        WriteFile(f, bytes.data(), (DWORD)bytes.size(), &done, nullptr);
        CloseHandle(f);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"Error opening file!"}, Open(broken));
    const std::wstring text = Path(L"Notes.mp3");
    {
        HANDLE f = CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        WriteFile(f, "not a sound file", 16, &done, nullptr);
        CloseHandle(f);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"Error opening file!"}, Open(text));
    EXPECT_FALSE(Exists(Path(L"Notes.tmw")));
    EXPECT_FALSE(Exists(Path(L"Notes.npk")));
    EXPECT_TRUE(Exists(text));

    // The page goes on: a good file opens after them.
    const std::wstring good = Path(L"Good.wav");
    ASSERT_TRUE(WriteWav(good, Tone(440, 2, 0.5)));
    EXPECT_TRUE(Open(good).empty());
    EXPECT_TRUE(page.IsFileOpen());
}

namespace {

// Writes `head` and then grows the file to `size` bytes: the rest reads as zeros
// (8 zero bytes are an empty chunk with an id of zeros).
bool WriteGrown(const std::wstring& path, const std::vector<uint8_t>& head, int64_t size)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = WriteFile(f, head.data(), (DWORD)head.size(), &done, nullptr) && done == head.size();
    LARGE_INTEGER end;
    end.QuadPart = size;
    ok = ok && SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f);
    CloseHandle(f);
    return ok;
}

// `mb` MB of pseudo-random bytes (one random MB repeated).
bool WriteRandom(const std::wstring& path, int mb)
{
    std::vector<uint8_t> block(1 << 20);
    uint32_t seed = 12345;
    for (uint8_t& b : block) b = (uint8_t)((seed = seed * 1664525u + 1013904223u) >> 24);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (int i = 0; ok && i < mb; ++i) {
        DWORD done = 0;
        block[0] = (uint8_t)i;
        ok = WriteFile(f, block.data(), (DWORD)block.size(), &done, nullptr) && done == block.size();
    }
    CloseHandle(f);
    return ok;
}

// An MP3 whose platform parsing takes seconds: `head`, eight 320 kbit/s frames
// (the play time judged from the file's size, about 90 minutes, stays within
// what the page opens), then 200 MB of noise.
bool WriteSlowMp3(const std::wstring& path, std::vector<uint8_t> head)
{
    if (!WriteRandom(path, 200)) return false;
    std::vector<uint8_t> frames(8 * 1044, 0x55);
    for (size_t at = 0; at < frames.size(); at += 1044) {
        frames[at] = 0xFF; frames[at + 1] = 0xFB; frames[at + 2] = 0xE0; frames[at + 3] = 0x00;
    }
    head.insert(head.end(), frames.begin(), frames.end());
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD done = 0;
    const bool written = f != INVALID_HANDLE_VALUE && WriteFile(f, head.data(), (DWORD)head.size(), &done, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    return written && done == head.size();
}

// "RIFF", "WAVE" and a 16-bit stereo "fmt " chunk, nothing after it.
std::vector<uint8_t> FormatOnlyHeader()
{
    std::vector<uint8_t> h = {'R', 'I', 'F', 'F', 0xFF, 0xFF, 0xFF, 0x7F, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                              1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    return h;
}

}  // namespace

// Crafted files are refused at once with a message that says what is wrong, and
// the page goes on. The old header walk took minutes over the empty chunks, and
// the platform searched the random ".mp3" for as long before its answer.
TEST_F(EditPageFixture, CraftedFilesAreRefusedInTime)
{
    std::wstring longFolder = folder;
    for (wchar_t c : {L'a', L'b'}) {
        longFolder += std::wstring(130, c) + L"\\";
        CreateDirectoryW(longFolder.c_str(), nullptr);
    }
    const std::wstring longWav = longFolder + L"Long path.wav";
    ASSERT_TRUE(WriteWav(longWav, Tone(440, 1, 0.5)));
    ASSERT_GE(longWav.size(), 260u);
    const std::wstring emptyChunks = Path(L"Empty chunks.wav"), noData = Path(L"No data.wav");
    const std::wstring randomMp3 = Path(L"Random.mp3"), junkMp3 = Path(L"Junk.mp3");
    ASSERT_TRUE(WriteGrown(emptyChunks, FormatOnlyHeader(), 64 << 20));
    ASSERT_TRUE(WriteGrown(noData, FormatOnlyHeader(), (int64_t)FormatOnlyHeader().size()));
    ASSERT_TRUE(WriteRandom(randomMp3, 100));
    ASSERT_TRUE(WriteGrown(junkMp3, {'I', 'D', '3', 3, 0, 0, 0, 0, 1, 0}, 4 << 20));
    const std::wstring tooLong =
        L"The file's path is too long: the Edit page opens paths of at most 259 characters. Please move the file to a "
        L"shorter path or give it a shorter name.";
    const struct { const char* name; const std::wstring* path; std::wstring message; } cases[] = {
        {"64 MB of empty chunks and no data", &emptyChunks, L"Error opening file!"},
        {"a format and no data", &noData, L"Error opening file!"},
        {"100 MB of random bytes named .mp3", &randomMp3, L"Error opening file!"},
        {"a tag and zeros named .mp3", &junkMp3, L"Error opening file!"},
        {"a path of 260 characters or more", &longWav, tooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> head = ReadAll(*c.path).size() > 4096 ? std::vector<uint8_t>() : ReadAll(*c.path);
        const DWORD start = GetTickCount();
        EXPECT_EQ(std::vector<std::wstring>{c.message}, Open(*c.path));
        // Generous: each took minutes before; refusing takes milliseconds.
        EXPECT_LT(GetTickCount() - start, 20000u);
        EXPECT_FALSE(page.IsFileOpen());
        EXPECT_TRUE(Exists(*c.path));
        EXPECT_FALSE(Exists(SiblingPath(c.path->c_str(), L".tmw").GetString()));
        if (!head.empty()) EXPECT_EQ(head, ReadAll(*c.path));
    }
    // The page goes on.
    const std::wstring good = Path(L"Good.wav");
    ASSERT_TRUE(WriteWav(good, Tone(440, 2, 0.5)));
    EXPECT_TRUE(Open(good).empty());
    EXPECT_TRUE(page.IsFileOpen());
    DeleteFileW(longWav.c_str());
}

// A file that begins like an MP3 and goes on as 200 MB of noise keeps the
// platform's parsers busy for seconds in every phase of the load (its play
// time, the playback check of a tag-less copy, the conversion graph): the
// loading dialog shows at once and, whatever the parsers do, is gone within a
// second of Yes. The load's work files and copy go once the parser lets go,
// the user's file stays as it was, and the next file opens at once.
TEST_F(EditPageFixture, TheLoadingDialogAnswersCancelInEveryPhase)
{
    // An ID3v2.3 tag with a title, its 100 bytes of padding included.
    std::vector<uint8_t> tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 115, 'T', 'I', 'T', '2', 0, 0, 0, 5, 0, 0, 0, 'S', 'l', 'o', 'w'};
    tag.resize(10 + 115, 0);
    const std::wstring slow = Path(L"Slow.mp3"), tagged = Path(L"Tagged.mp3");
    ASSERT_TRUE(WriteSlowMp3(slow, {}));
    ASSERT_TRUE(WriteSlowMp3(tagged, tag));
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring taggedCopy = std::wstring(temp) + L"TmpF\\Tagged.nv0";
    DeleteFileW(taggedCopy.c_str());
    const std::wstring good = Path(L"Good.wav");
    ASSERT_TRUE(WriteWav(good, Tone(440, 2, 0.5)));
    auto exists = [](const std::wstring& p) { return Exists(p); };
    const struct {
        const char* phase;
        const std::wstring* source;
        std::wstring sign;   // Cancel is pressed once this file is there (at once when empty)
    } cases[] = {
        {"while the play time is asked", &slow, L""},
        {"while the tag-less copy is made and checked", &tagged, taggedCopy},
        {"while the graph is built and converts", &slow, Path(L"Slow.tmw")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.phase);
        // The user's file: its size and first bytes (it is too big to read whole).
        auto headOf = [](const std::wstring& p) {
            std::vector<uint8_t> head(4096);
            HANDLE f = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            DWORD done = 0;
            LARGE_INTEGER size = {};
            if (f != INVALID_HANDLE_VALUE) {
                GetFileSizeEx(f, &size);
                ReadFile(f, head.data(), (DWORD)head.size(), &done, nullptr);
                CloseHandle(f);
            }
            head.resize(done);
            head.insert(head.end(), (uint8_t*)&size, (uint8_t*)&size + sizeof size);
            return head;
        };
        const std::vector<uint8_t> head = headOf(*c.source);
        DWORD pressed = 0, answered = 0, ended = 0, shown = 0;
        bool signSeen = true;
        std::wstring question;
        const DWORD start = GetTickCount();
        {
            CHelperThread canceller([&] {
                HWND loading = WaitForDialog(IDCANCEL, nullptr, 10000);
                if (!loading) return;
                shown = GetTickCount();
                if (!c.sign.empty()) {
                    testsignal::WaitUntil([&] { return exists(c.sign) || !IsWindow(loading); }, 120000);
                    signSeen = exists(c.sign);
                }
                if (!IsWindow(loading)) {
                    // The load ended on its own: answer what it says, for the failure's text.
                    question = AnswerMessageBox(IDOK, 5000);
                    return;
                }
                pressed = GetTickCount();
                PressButton(loading, IDCANCEL);
                // Long enough to answer a question that comes late rather than leave it standing.
                question = AnswerMessageBox(IDYES, 180000);
                answered = GetTickCount();
            });
            page.OpenFile(c.source->c_str());
            ended = GetTickCount();
        }
        ASSERT_NE(0u, shown) << "no loading dialog within 10 s: the page asked the platform itself";
        EXPECT_LT(shown - start, 4000u) << "the dialog waited for the platform";
        EXPECT_TRUE(signSeen) << "the load never reached this phase";
        EXPECT_EQ(L"Do you want to disable \"Loading\"?", question);
        // Generous for a busy machine; waiting for the parser took 5 s and more.
        EXPECT_LT(answered - pressed, 1500u) << "Cancel waited for the platform";
        EXPECT_LT((LONG)(ended - answered), 1500) << "the dialog waited for the platform after Yes";
        EXPECT_FALSE(page.IsFileOpen());
        // What the load made goes once the platform lets go of it.
        for (const std::wstring& made : {Path(L"Slow.tmw"), Path(L"Slow.npk"), Path(L"Tagged.tmw"),
                                         Path(L"Tagged.npk"), taggedCopy})
            EXPECT_TRUE(testsignal::WaitUntil([&] { return !exists(made); }, 120000)) << made.c_str();
        EXPECT_EQ(head, headOf(*c.source)) << "the user's file was touched";
        // The page goes on at once.
        EXPECT_TRUE(Open(good).empty());
        EXPECT_TRUE(page.IsFileOpen());
    }
    EXPECT_TRUE(Exists(slow) && Exists(tagged));
    DeleteFileW(slow.c_str());
    DeleteFileW(tagged.c_str());
}

TEST(EditWorkSet, SpaceNeedsAreCheckedIn64Bits)
{
    const std::wstring wav = testsignal::TempPath(L"EditSpace.wav"), big = testsignal::TempPath(L"EditSparse.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 1, 0.5, 2, 44100, 8)));
    // A sparse 1.5 GB 8-bit WAV: its 16-bit work copy would need 3 GB.
    {
        Pcm head = Tone(440, 0.01, 0.5, 1, 44100, 8);
        ASSERT_TRUE(WriteWav(big, head));
        HANDLE f = CreateFileW(big.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD done = 0;
        DeviceIoControl(f, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &done, nullptr);
        LARGE_INTEGER size;
        size.QuadPart = 1536LL * 1024 * 1024;
        SetFilePointerEx(f, size, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
    }
    const uint64_t plenty = 100ull * 1024 * 1024 * 1024 / 1024;   // 100 GB in KB
    const uint64_t wavKB = ReadAll(wav).size() * 2 / 1024;
    const struct { const std::wstring* path; uint64_t freeKB; UINT expected; } cases[] = {
        {&wav, plenty, 0},
        {&wav, 51200 + wavKB, 0},
        {&wav, 51200 + wavKB - 1, 108},   // the reserve must stay free
        {&wav, 512, 108},
        {&big, plenty, 131},              // 3 GB work copy: refused, not wrapped
        {&big, 1024, 108},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, CheckBeforeOpening(c.path->c_str(), c.freeKB, nullptr)) << c.freeKB;
    // Other files: 48 kHz 16-bit stereo for their play time.
    auto tenMinutes = [](const wchar_t*) { return 600.0; };
    const std::wstring mp3 = testsignal::TempPath(L"EditSpace.mp3");
    {
        // Twelve 128 kbit/s frames at 44.1 kHz: MPEG audio by its frame headers.
        std::vector<uint8_t> frames(12 * 417, 0x55);
        for (size_t at = 0; at < frames.size(); at += 417) {
            frames[at] = 0xFF; frames[at + 1] = 0xFB; frames[at + 2] = 0x90; frames[at + 3] = 0x00;
        }
        HANDLE f = CreateFileW(mp3.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        WriteFile(f, frames.data(), (DWORD)frames.size(), &done, nullptr);
        CloseHandle(f);
    }
    EXPECT_EQ(0u, CheckBeforeOpening(mp3.c_str(), 600 * 48000 * 4 / 1024 + 51200, tenMinutes));
    EXPECT_EQ(108u, CheckBeforeOpening(mp3.c_str(), 600 * 48000 * 4 / 1024 + 51199, tenMinutes));
    EXPECT_EQ(131u, CheckBeforeOpening(mp3.c_str(), plenty, [](const wchar_t*) { return 12000.0; }));
    // A file named MP3 without MPEG frames is refused before the platform is asked.
    const std::wstring empty = testsignal::TempPath(L"EditEmpty.mp3");
    CloseHandle(CreateFileW(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    static int asked;
    asked = 0;
    EXPECT_EQ(131u, CheckBeforeOpening(empty.c_str(), plenty, [](const wchar_t*) { ++asked; return 10.0; }));
    EXPECT_EQ(0, asked);
    DeleteFileW(empty.c_str());
    for (const std::wstring& p : {wav, big, mp3}) DeleteFileW(p.c_str());
}

TEST(EditWorkSet, WorkFilesAreKnownByTheirExtensions)
{
    for (const wchar_t* p : {L"C:\\a\\t.tmw", L"C:\\a\\t.NPK", L"C:\\a\\t.tm1", L"C:\\a\\t.tm2", L"C:\\a\\t.np1",
                             L"C:\\a\\t.np2", L"C:\\a\\t.nv0", L"C:\\a\\t.nvs"})
        EXPECT_TRUE(IsWorkFilePath(p)) << p;
    for (const wchar_t* p : {L"C:\\a\\t.wav", L"C:\\a\\t.mp3", L"C:\\a.tmw\\t", L"C:\\a\\tmw"})
        EXPECT_FALSE(IsWorkFilePath(p)) << p;
    EXPECT_EQ(L"C:\\Rec\\Talk.tmw", std::wstring(SiblingPath(L"C:\\Rec\\Talk.wav", L".tmw")));
}

TEST_F(EditPageFixture, AFullVolumeRefusesTheFile)
{
    if (GetDriveTypeW(L"W:\\") != DRIVE_FIXED) GTEST_SKIP() << "the sandbox has no small volume W:";
    const std::wstring wav = L"W:\\EditPageSmall.wav";
    if (!WriteWav(wav, Tone(440, 0.2, 0.5, 1))) GTEST_SKIP() << "W: is full";
    EXPECT_EQ(std::vector<std::wstring>{L"Hard disk is full."}, Open(wav));
    EXPECT_FALSE(page.IsFileOpen());
    EXPECT_FALSE(Exists(L"W:\\EditPageSmall.tmw"));
    DeleteFileW(wav.c_str());
}

TEST_F(EditPageFixture, ACancelledLoadEndsSoonAndLeavesNothing)
{
    // A recording cut short (its header promises more than the file holds) loads
    // through the platform's parser, slowly enough to be cancelled in the middle;
    // a whole WAV now loads before the Cancel could arrive.
    const std::wstring wav = Path(L"Long.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 300, 0.5)));
    {
        HANDLE file = CreateFileW(wav.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        LARGE_INTEGER size = {};
        GetFileSizeEx(file, &size);
        size.QuadPart -= 4 * 44100;  // the last second is missing
        ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
    }
    DWORD pressed = 0, ended = 0;
    std::wstring question;
    {
        CHelperThread canceller([&] {
            HWND loading = WaitForDialog(IDCANCEL, nullptr, 10000);
            if (!loading) return;
            Sleep(600);   // the conversion is running
            PressButton(loading, IDCANCEL);
            question = AnswerMessageBox(IDYES, 5000);
            pressed = GetTickCount();
        });
        page.OpenFile(wav.c_str());
        ended = GetTickCount();
    }
    EXPECT_EQ(L"Do you want to disable \"Loading\"?", question);
    // Signed: the dialog may be gone before the helper thread reads the clock.
    EXPECT_LT((LONG)(ended - pressed), 3000);
    EXPECT_FALSE(page.IsFileOpen());
    // The work files go once the cancelled conversion has let go of them.
    for (const wchar_t* made : {L"Long.tmw", L"Long.npk"})
        EXPECT_TRUE(testsignal::WaitUntil([&] { return !Exists(Path(made)); }, 30000)) << made;
    EXPECT_TRUE(Exists(wav));
}

TEST_F(EditPageFixture, TheTrackListFollowsTheSplitPoints)
{
    const std::wstring wav = Path(L"Ten.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 10, 0.5)));
    ASSERT_TRUE(Open(wav).empty());
    NV_WaveEditXCtrl* editor = page.Editor();
    ASSERT_NE(nullptr, editor);
    NV_EditWaveFile& doc = editor->GetDocument();

    editor->SetCursorPos(5 * 44100);
    Click(page, CPageEdit::IDC_SPLIT);
    Pump(50);
    ASSERT_EQ(2, page.Tracks().GetItemCount());
    EXPECT_EQ(L"00 : 00 : 05.00", Cell(0, 2));
    EXPECT_EQ(L"02", Cell(1, 0));
    EXPECT_EQ(L"00 : 00 : 05.00", Cell(1, 1));
    EXPECT_EQ(L"Ten_Track02", Cell(1, 3));

    // Unchecking row 02 clears the flag of split point 1.
    page.Tracks().SetCheck(1, FALSE);
    Pump(20);
    EXPECT_EQ(0, doc.GetSplitPoints().GetFlag(1));
    EXPECT_EQ(0, page.Tracks().Row(1)->selected);
    page.Tracks().SetCheck(1, TRUE);
    Pump(20);
    EXPECT_EQ(1, doc.GetSplitPoints().GetFlag(1));

    // Removing it: one row of 10 seconds again.
    int32_t column = (int32_t)(5 * 44100 / doc.GetUnit() - doc.GetScroll());
    doc.RemoveSplitPointNear(column);
    Pump(20);
    ASSERT_EQ(1, page.Tracks().GetItemCount());
    EXPECT_EQ(L"00 : 00 : 10.00", Cell(0, 2));

    // Five rows cleared: one row spanning the file.
    for (int s = 2; s <= 8; s += 2) doc.AddSplitPoint(s * 44100, 1);
    Pump(20);
    ASSERT_EQ(5, page.Tracks().GetItemCount());
    EXPECT_EQ(L"Ten_Track05", Cell(4, 3));
    Click(page, CPageEdit::IDC_CLEAR);
    Pump(50);
    ASSERT_EQ(1, page.Tracks().GetItemCount());
    EXPECT_EQ(L"00 : 00 : 10.00", Cell(0, 2));
    EXPECT_EQ(L"Ten_Track01", Cell(0, 3));
}

TEST(EditTrackList, TimeTextRoundsToHundredthsFirst)
{
    const struct { int64_t frames; int rate; const wchar_t* text; } cases[] = {
        {441000, 44100, L"00 : 00 : 10.00"},
        {(int64_t)(65.25 * 44100), 44100, L"00 : 01 : 05.25"},
        {(int64_t)(5.996 * 44100), 44100, L"00 : 00 : 06.00"},   // as the editor's time reads
        {(int64_t)3725 * 48000, 48000, L"01 : 02 : 05.00"},
        {0, 0, L"00 : 00 : 00.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, std::wstring(TrackTimeText(c.frames, c.rate))) << c.frames;
}

namespace {

CString NotedWorkSet()
{
    CString noted;
    RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"EditWorkFile", noted, L"");
    return noted;
}

}  // namespace

TEST_F(EditPageFixture, WorkFilesLeftByARunEndedFromOutsideGoAtTheNextStart)
{
    // While a file is open, its work set is noted; a normal end forgets it.
    const std::wstring wav = Path(L"Talk.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 3, 0.5)));
    ASSERT_TRUE(Open(wav).empty());
    EXPECT_EQ(Path(L"Talk.tmw"), std::wstring(NotedWorkSet()));
    host.DestroyWindow();
    EXPECT_TRUE(NotedWorkSet().IsEmpty());

    // A run killed during an effect: its work set, an effect's half-written
    // output and the note stay. The user's files beside them are not ours.
    const std::wstring left = Path(L"Left.wav");
    ASSERT_TRUE(WriteWav(left, Tone(440, 2, 0.5)));
    const wchar_t* ours[] = {L"Left.tmw", L"Left.npk", L"Left.nvs", L"Left.tm1", L"Left.np1", L"Left.tm2",
                             L"Left.np2"};
    for (const wchar_t* name : ours) ASSERT_TRUE(WriteWav(Path(name), Tone(440, 1, 0.5))) << name;
    const std::vector<uint8_t> note = {'k', 'e', 'e', 'p'};
    for (const wchar_t* name : {L"Left.txt", L"Left.mp3", L"Other.tmw"}) {
        HANDLE f = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        WriteFile(f, note.data(), (DWORD)note.size(), &done, nullptr);
        CloseHandle(f);
    }
    RegWriteString(HKEY_CURRENT_USER, g_szRegKey, L"EditWorkFile", Path(L"Left.tmw").c_str());

    // What the next start does (the program's own start is in the end-to-end test).
    DeleteLeftOverWorkSet();
    for (const wchar_t* name : ours) EXPECT_FALSE(Exists(Path(name))) << name;
    for (const wchar_t* name : {L"Left.wav", L"Left.txt", L"Left.mp3", L"Other.tmw"})
        EXPECT_TRUE(Exists(Path(name))) << name << " is not a work file of that set";
    EXPECT_TRUE(NotedWorkSet().IsEmpty());

    // A note that names no work WAV of ours deletes nothing.
    RegWriteString(HKEY_CURRENT_USER, g_szRegKey, L"EditWorkFile", left.c_str());
    DeleteLeftOverWorkSet();
    EXPECT_TRUE(Exists(left));
    EXPECT_TRUE(NotedWorkSet().IsEmpty());
}

TEST_F(EditPageFixture, AWorkSetIsNotUsedForAnotherSourceOfTheSameLength)
{
    // The file at the path is replaced by another recording of the same length
    // whose time is older than the work set (restored from a backup, say).
    const std::wstring wav = Path(L"Same.wav"), tmw = Path(L"Same.tmw");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 4, 0.5)));
    {
        Load first(wav);
        ASSERT_EQ(1, first.dialog.GetResult());
    }
    FILETIME older = WriteTime(wav);
    older.dwHighDateTime -= 1;
    ASSERT_TRUE(WriteWav(wav, Tone(880, 4, 0.5)));
    SetWriteTime(wav, older);
    {
        Load replaced(wav);
        EXPECT_EQ(1, replaced.dialog.GetResult());
        EXPECT_TRUE(replaced.dialog.WroteWav()) << "another source: converted again";
        EXPECT_TRUE(WavData(wav) == WavData(tmw)) << "the work WAV holds this source's sound";
    }
    {
        Load same(wav);
        EXPECT_FALSE(same.dialog.WroteWav()) << "the very same source: used again";
        EXPECT_TRUE(WavData(wav) == WavData(tmw));
    }
}

TEST_F(EditPageFixture, ACancelledLoadsCleanUpLeavesTheNextLoadOfTheSameNameAlone)
{
    // "Slow.mp3" and "Slow.wav" share the work set "Slow.tmw"/"Slow.npk": the
    // abandoned load of the first deletes what it wrote once the platform lets
    // go, which must not be what the second load made meanwhile.
    const std::wstring slow = Path(L"Slow.mp3"), wav = Path(L"Slow.wav");
    ASSERT_TRUE(WriteSlowMp3(slow, {}));
    ASSERT_TRUE(WriteWav(wav, Tone(440, 2, 0.5)));
    HWND notify = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, notify);
    const UINT kDone = WM_APP + 7;
    auto waitForDone = [&](DWORD timeoutMs) {
        MSG message;
        return testsignal::WaitUntil([&] { return PeekMessageW(&message, notify, kDone, kDone, PM_REMOVE) != FALSE; },
                                     timeoutMs);
    };
    {
        CFileLoadingJob first;
        ASSERT_TRUE(first.Start(slow.c_str(), notify, kDone));
        ASSERT_TRUE(testsignal::WaitUntil([&] { return Exists(Path(L"Slow.tmw")); }, 120000))
            << "the first load never began its work WAV";
        first.Abandon();
    }
    CFileLoadingJob second;
    ASSERT_TRUE(second.Start(wav.c_str(), notify, kDone));
    ASSERT_TRUE(waitForDone(180000)) << "the second load never ended";
    const CFileLoadingJob::Outcome out = second.Result();
    EXPECT_EQ(1, out.result);
    EXPECT_EQ(Path(L"Slow.tmw"), std::wstring(out.workPath));
    ASSERT_TRUE(CFileLoadingJob::WaitForAll(180000)) << "the abandoned load never ended";
    ASSERT_TRUE(Exists(Path(L"Slow.tmw"))) << "the first load's clean-up removed the second's work WAV";
    EXPECT_TRUE(Exists(Path(L"Slow.npk")));
    EXPECT_EQ(WavData(wav), WavData(Path(L"Slow.tmw")));
    DestroyWindow(notify);
}
