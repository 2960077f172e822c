#include "FileLoadingJob.h"
#include <atomic>
#include <mutex>
#include <string>
#include <vector>
#include "ConvertFile.h"
#include "EditWorkSet.h"
#include "Mp3Info.h"
#include "SharedReadFile.h"
#include "WavHeader.h"
#include "WorkSetSource.h"

struct CFileLoadingJob::State {
    CString source;
    std::atomic<bool> abandoned{false};
    std::atomic<int> percent{0};
    std::mutex lock;
    HWND notify = nullptr;   // null once the dialog stopped waiting
    UINT message = 0;
    Outcome outcome;
    std::wstring stem;                       // the source's name without folder and extension, lower case
    HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);   // set when the thread is done
    ~State() { if (ended) CloseHandle(ended); }
};

namespace {

// The jobs whose threads still run, in the order they were started.
std::mutex g_runningLock;
std::vector<std::shared_ptr<CFileLoadingJob::State>> g_running;

std::wstring NameStem(const CString& path)
{
    wchar_t name[_MAX_FNAME] = {};
    _wsplitpath(path, nullptr, nullptr, name, nullptr);
    std::wstring stem(name);
    CharLowerBuffW(&stem[0], (DWORD)stem.size());
    return stem;
}

// Waits until the earlier jobs of the same name have ended, or this one is abandoned.
void WaitForEarlierNamesakes(CFileLoadingJob::State& state)
{
    std::vector<std::shared_ptr<CFileLoadingJob::State>> earlier;
    {
        std::lock_guard<std::mutex> guard(g_runningLock);
        for (const auto& job : g_running) {
            if (job.get() == &state) break;
            if (job->stem == state.stem) earlier.push_back(job);
        }
    }
    for (const auto& job : earlier)
        while (!state.abandoned && WaitForSingleObject(job->ended, 100) == WAIT_TIMEOUT) {}
}

void Finished(const std::shared_ptr<CFileLoadingJob::State>& state)
{
    {
        std::lock_guard<std::mutex> guard(g_runningLock);
        for (auto at = g_running.begin(); at != g_running.end(); ++at)
            if (*at == state) {
                g_running.erase(at);
                break;
            }
    }
    SetEvent(state->ended);
}

// The header of a PCM WAV; FALSE when it is none with a usable format.
BOOL ReadPcmHeader(const wchar_t* path, WavHeaderInfo& info)
{
    CSharedReadFile file(path);
    return file.IsOpen() && file.ParseWavHeader(info) == WavHeaderStatus::Ok && IsPlainPcm(info);
}

// Whether the peak file's header describes this work WAV: its format, and as
// many kept frames as the work WAV has (one more or less for a last, partial step).
BOOL PeakFileDescribes(const wchar_t* peakPath, const WavHeaderInfo& wav)
{
    CSharedReadFile peak(peakPath);
    if (!peak.IsOpen()) return FALSE;
    uint8_t head[1012];
    if (peak.ReadAt(0, head, sizeof head) != sizeof head) return FALSE;
    uint32_t nvpkSize, rate, peakBytes;
    uint16_t channels, bits;
    memcpy(&nvpkSize, head + 4, 4);
    memcpy(&rate, head + 16 + 4 + 64 + 128, 4);
    memcpy(&channels, head + 16 + 4 + 64 + 128 + 4, 2);
    memcpy(&bits, head + 16 + 4 + 64 + 128 + 8, 2);
    memcpy(&peakBytes, head + 1008, 4);
    if (memcmp(head, "NVPK", 4) || memcmp(head + 8, "HINF", 4) || memcmp(head + 1004, "PEAK", 4)) return FALSE;
    if ((uint64_t)nvpkSize + 8 != peak.Length() || (uint64_t)peakBytes + 1012 > peak.Length()) return FALSE;
    if (rate != wav.sampleRate || channels != wav.channels || bits != wav.bitsPerSample) return FALSE;
    // Two values of the sample size per kept frame (the second is 0 for mono).
    uint64_t frames = wav.dataSize / wav.blockAlign, kept = (frames + 127) / 128;
    uint64_t have = peakBytes / (2u * (bits / 8));
    return have + 1 >= kept && have <= kept + 1;
}

BOOL IsNewer(const wchar_t* path, const FILETIME& than)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return FALSE;
    return CompareFileTime(&data.ftLastWriteTime, &than) > 0;
}

// Whether the work WAV and the peak file of `file` can be used as they are.
void CheckWorkFiles(const CString& source, const CString& file, BOOL& wavCurrent, BOOL& peakCurrent)
{
    wavCurrent = peakCurrent = FALSE;
    CString wav = SiblingPath(file, L".tmw"), peak = SiblingPath(file, L".npk");
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file, GetFileExInfoStandard, &data)) return;
    // Newer than the source is not enough: "Talk.wav" and "Talk.mp3" share
    // "Talk.tmw", a source may be replaced by another one of the same length,
    // and a killed conversion leaves newer but partial files. The work WAV must
    // have been made from this very source (path, size and time) and be whole.
    WavHeaderInfo work;
    wavCurrent = IsNewer(wav, data.ftLastWriteTime) && ReadPcmHeader(wav, work) && work.bitsPerSample == 16 &&
                 WorkSetMadeFrom(wav, source);
    peakCurrent = wavCurrent && IsNewer(peak, data.ftLastWriteTime) && PeakFileDescribes(peak, work);
}

// The tag step: fills `tags` and may make the tag-less copy `tempCopy` (TRUE in
// `tempMade`); returns the file to convert.
CString PrepareSource(const CString& source, EditTagRecord& tags, CString& tempCopy, BOOL& tempMade,
                      const std::atomic<bool>& abandoned)
{
    CString file = source;
    CMp3Info info;
    if (!info.Open(source)) return file;
    auto take = [&tags, &info]() {
        info.GetTitle(tags.title);
        info.GetArtist(tags.artist);
        info.GetAlbum(tags.album);
        info.GetYear(tags.year);
    };
    int v2 = info.v2Version, v1 = info.v1Kind;
    if (v2 == 220 || v2 == 230 || v2 == 240) {
        info.tagKind = 2;
        take();
        if (info.ConvertToID3v1(110)) {
            wchar_t temp[MAX_PATH] = {};
            GetTempPathW(MAX_PATH, temp);
            CString folder;
            folder.Format(L"%sTmpF\\", temp);
            CreateDirectoryW(folder, nullptr);
            wchar_t name[_MAX_FNAME], ext[_MAX_EXT];
            _wsplitpath(source, nullptr, nullptr, name, ext);
            tempCopy.Format(L"%s%s.nv0", (const wchar_t*)folder, name);
            if (info.StripID3v2(source, tempCopy)) {
                info.WriteID3v1();
                tempMade = TRUE;
            }
        }
    }
    if (v1 == 100 || v1 == 110) {
        info.tagKind = 1;
        take();
    }
    if (tempMade && !abandoned && CMp3Info::CanRender(tempCopy)) file = tempCopy;
    return file;
}

// Builds and runs the conversion graph and waits for its end, or until the job
// is abandoned; TRUE when the conversion completed.
BOOL Convert(CFileLoadingJob::State& state, const CString& file, const CFileLoadingJob::Outcome& out)
{
    CConvertFile convert;
    BOOL complete = FALSE;
    if (!state.abandoned &&
        convert.OpenFileToNPKnPCM(nullptr, file, out.workPath, out.wroteWav, out.wrotePeak) && !state.abandoned &&
        convert.Run()) {
        while (!state.abandoned) {
            long code = convert.WaitForCompletion();
            if (code == 1) complete = TRUE;
            if (code == 1 || code == 2 || code == 3) break;
            state.percent = convert.GetConvertPercent();
            // The graph's end is asked for again soon; a message for this thread meanwhile is handled.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        }
    }
    convert.Close();
    return complete;
}

DWORD WINAPI RunJob(void* param)
{
    // The thread holds the state as long as it runs, whatever the dialog does.
    std::unique_ptr<std::shared_ptr<CFileLoadingJob::State>> held((std::shared_ptr<CFileLoadingJob::State>*)param);
    CFileLoadingJob::State& state = **held;
    const HRESULT com = CoInitialize(nullptr);
    WaitForEarlierNamesakes(state);
    CFileLoadingJob::Outcome out;
    CString tempCopy;
    BOOL tempMade = FALSE;
    const CString file = state.abandoned ? state.source
                                         : PrepareSource(state.source, out.tags, tempCopy, tempMade, state.abandoned);
    out.workPath = SiblingPath(file, L".tmw");
    out.peakPath = SiblingPath(file, L".npk");
    if (!state.abandoned) {
        BOOL wavCurrent, peakCurrent;
        CheckWorkFiles(state.source, file, wavCurrent, peakCurrent);
        out.wroteWav = !wavCurrent;
        out.wrotePeak = !peakCurrent;
        // A work WAV about to be written is no longer what its record says.
        if (out.wroteWav) DeleteFileW(WorkSetSourcePath(out.workPath));
        if (wavCurrent && peakCurrent) out.result = 1;
        else if (Convert(state, file, out)) out.result = 1;
        // Once the writer has let go of the work WAV: what it was made from.
        if (out.result == 1 && out.wroteWav) WriteWorkSetSource(out.workPath, state.source);
    }
    if (tempMade) DeleteFileW(tempCopy);
    std::unique_lock<std::mutex> guard(state.lock);
    if (state.abandoned) {
        // The files this job wrote or was writing go; they were never handed over.
        if (out.wroteWav) {
            DeleteFileW(out.workPath);
            DeleteFileW(WorkSetSourcePath(out.workPath));
        }
        if (out.wrotePeak) DeleteFileW(out.peakPath);
    } else {
        state.outcome = out;
        if (state.notify) PostMessageW(state.notify, state.message, 0, 0);
    }
    guard.unlock();
    if (SUCCEEDED(com)) CoUninitialize();
    Finished(*held);
    return 0;
}

}  // namespace

BOOL CFileLoadingJob::Start(const wchar_t* source, HWND notify, UINT message)
{
    Abandon();
    auto state = std::make_shared<State>();
    state->source = source ? source : L"";
    state->notify = notify;
    state->message = message;
    state->stem = NameStem(state->source);
    if (!state->ended) return FALSE;
    {
        std::lock_guard<std::mutex> guard(g_runningLock);
        g_running.push_back(state);
    }
    auto* held = new std::shared_ptr<State>(state);
    HANDLE thread = CreateThread(nullptr, 0, RunJob, held, 0, nullptr);
    if (!thread) {
        delete held;
        Finished(state);
        return FALSE;
    }
    CloseHandle(thread);
    m_state = state;
    return TRUE;
}

int CFileLoadingJob::Percent() const
{
    return m_state ? m_state->percent.load() : 0;
}

CFileLoadingJob::Outcome CFileLoadingJob::Result() const
{
    if (!m_state) return Outcome();
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->outcome;
}

void CFileLoadingJob::Abandon()
{
    if (!m_state) return;
    {
        std::lock_guard<std::mutex> guard(m_state->lock);
        m_state->notify = nullptr;
        m_state->abandoned = true;
    }
    m_state.reset();
}

BOOL CFileLoadingJob::WaitForAll(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        std::shared_ptr<State> job;
        {
            std::lock_guard<std::mutex> guard(g_runningLock);
            if (g_running.empty()) return TRUE;
            job = g_running.front();
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs || WaitForSingleObject(job->ended, timeoutMs - spent) == WAIT_TIMEOUT) return FALSE;
        // A job ends its thread just after it sets its event and leaves the list.
    }
}
