#include "FileLoadingDlg.h"
#include "EditWorkSet.h"
#include "LogFile.h"
#include "Mp3Info.h"
#include "PathUtil.h"
#include "SharedReadFile.h"
#include "WavHeader.h"
#include "WorkSetSource.h"

namespace {

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

}  // namespace

BEGIN_MESSAGE_MAP(CFileLoadingDlg, CEditProgressDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CFileLoadingDlg::CFileLoadingDlg() : CEditProgressDlg(147)
{
    if (m_strName.IsEmpty()) m_strName = L"Loading";
}

CFileLoadingDlg::~CFileLoadingDlg()
{
    m_convert.reset();
    DeleteTemporaryCopy();
}

BOOL CFileLoadingDlg::OnInitDialog()
{
    CEditProgressDlg::OnInitDialog();
    SetTimer(TIMER_START, 200);
    return TRUE;
}

void CFileLoadingDlg::OnTimer(UINT_PTR id)
{
    if (id == TIMER_START) {
        KillTimer(TIMER_START);
        AskPlayTime();
    } else if (id == TIMER_PROGRESS && m_convert) {
        ShowPercent(m_convert->GetConvertPercent());
    }
}

CString CFileLoadingDlg::PrepareSource()
{
    CString file = m_strSource;
    CMp3Info info;
    if (!info.Open(m_strSource)) return file;
    auto take = [this, &info]() {
        if (!m_pTags) return;
        info.GetTitle(m_pTags->title);
        info.GetArtist(m_pTags->artist);
        info.GetAlbum(m_pTags->album);
        info.GetYear(m_pTags->year);
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
            _wsplitpath(m_strSource, nullptr, nullptr, name, ext);
            m_strTempCopy.Format(L"%s%s.nv0", (const wchar_t*)folder, name);
            if (info.StripID3v2(m_strSource, m_strTempCopy)) {
                info.WriteID3v1();
                m_bTempCopy = TRUE;
            }
        }
    }
    if (v1 == 100 || v1 == 110) {
        info.tagKind = 1;
        take();
    }
    if (m_bTempCopy && CMp3Info::CanRender(m_strTempCopy)) file = m_strTempCopy;
    return file;
}

void CFileLoadingDlg::CheckWorkFiles(const CString& file, BOOL& wavCurrent, BOOL& peakCurrent) const
{
    wavCurrent = peakCurrent = FALSE;
    CString wav = SiblingPath(file, L".tmw"), peak = SiblingPath(file, L".npk");
    WIN32_FILE_ATTRIBUTE_DATA source;
    if (!GetFileAttributesExW(file, GetFileExInfoStandard, &source)) return;
    // Newer than the source is not enough: "Talk.wav" and "Talk.mp3" share
    // "Talk.tmw", a source may be replaced by another one of the same length,
    // and a killed conversion leaves newer but partial files. The work WAV must
    // have been made from this very source (path, size and time) and be whole.
    WavHeaderInfo work;
    wavCurrent = IsNewer(wav, source.ftLastWriteTime) && ReadPcmHeader(wav, work) && work.bitsPerSample == 16 &&
                 WorkSetMadeFrom(wav, m_strSource);
    peakCurrent = wavCurrent && IsNewer(peak, source.ftLastWriteTime) && PeakFileDescribes(peak, work);
}

void CFileLoadingDlg::AskPlayTime()
{
    uint64_t bytes = 0;
    BOOL usable = FALSE;
    // A RIFF/WAVE file's room was checked from its header before the dialog.
    if (WaveWorkCopyBytes(m_strSource, bytes, usable) || !m_playTime.Start(m_strSource, m_hWnd, WM_PLAYTIME_KNOWN))
        StartLoading();
}

void CFileLoadingDlg::OnPlayTimeKnown()
{
    const UINT refusal = CheckPlayTimeRoom(m_playTime.Seconds(), GetFreeDiskSpaceKB(m_strSource));
    if (refusal) {
        m_nRefusal = refusal;
        m_nResult = 0;
        Finish();
        return;
    }
    StartLoading();
}

void CFileLoadingDlg::StartLoading()
{
    CString file = PrepareSource();
    m_strWorkPath = SiblingPath(file, L".tmw");
    m_strPeakPath = SiblingPath(file, L".npk");
    BOOL wavCurrent, peakCurrent;
    CheckWorkFiles(file, wavCurrent, peakCurrent);
    m_bWriteWav = !wavCurrent;
    m_bWritePeak = !peakCurrent;
    // A work WAV about to be written is no longer what its record says.
    if (m_bWriteWav) DeleteFileW(WorkSetSourcePath(m_strWorkPath));
    if (wavCurrent && peakCurrent) {
        m_nResult = 1;
        Finish();
        return;
    }
    m_convert = std::make_unique<CConvertFile>();
    if (!m_convert->OpenFileToNPKnPCM(m_hWnd, file, m_strWorkPath, m_bWriteWav, m_bWritePeak) || !m_convert->Run()) {
        m_nResult = 0;
        Finish();
        return;
    }
    SetTimer(TIMER_PROGRESS, 300);
}

LRESULT CFileLoadingDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PLAYTIME_KNOWN) {
        OnPlayTimeKnown();
        return 0;
    }
    if (message == WM_CONVERT_GRAPHEVENT && m_convert) {
        long code = m_convert->WaitForCompletion();
        if (code == 1) {
            m_nResult = 1;
            ShowPercent(100);
            Finish();
        } else if (code == 2 || code == 3) {
            m_nResult = 0;
            Finish();
        }
        return 0;
    }
    return CEditProgressDlg::WindowProc(message, wParam, lParam);
}

void CFileLoadingDlg::Finish()
{
    KillTimer(TIMER_PROGRESS);
    if (m_convert) m_convert->Close();
    // Once the writer has let go of the work WAV: what it was made from.
    if (m_nResult == 1 && m_bWriteWav) WriteWorkSetSource(m_strWorkPath, m_strSource);
    DeleteTemporaryCopy();
    EndDialog(IDCANCEL);
}

void CFileLoadingDlg::OnCancelConfirmed()
{
    m_nResult = 0;
    m_bCancelled = TRUE;
    m_playTime.Abandon();
    KillTimer(TIMER_START);
    KillTimer(TIMER_PROGRESS);
    if (m_convert) m_convert->Close();
    DeleteTemporaryCopy();
    Sleep(500);
    EndDialog(IDCANCEL);
}

void CFileLoadingDlg::DeleteTemporaryCopy()
{
    if (m_bTempCopy) DeleteFileW(m_strTempCopy);
    m_bTempCopy = FALSE;
}
