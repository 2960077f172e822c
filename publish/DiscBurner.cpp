#include "DiscBurner.h"
#include "LogFile.h"
#include "PublishMessages.h"
#include "PublishNames.h"

#include <cmath>

std::vector<CString> CDiscBurner::DriveNames(const CString& preferred, int& selected)
{
    std::vector<CString> names;
    const unsigned char count = m_data.GetDriveCount();
    m_writerPresent = count != 0;
    selected = -1;
    for (unsigned char i = 0; i < count; ++i) {
        names.push_back(CString(m_data.GetDriveName(i)));
        if (_wcsicmp(names.back(), preferred) == 0 && selected < 0) selected = i;
    }
    if (!names.empty() && selected < 0) selected = 0;
    return names;
}

CString CDiscBurner::ChooseDrive(int index)
{
    m_data.ChooseDrive((unsigned char)index);
    m_audio.ChooseDrive((unsigned char)index);
    return CString(m_data.GetDriveName((unsigned char)index));
}

double CDiscBurner::FreeDiscBytes(BurnKind kind)
{
    if (!m_writerPresent) return 0;
    const unsigned char discKind = m_data.GetDiscType();
    if (discKind != 2 && discKind != 3) return 0;
    const unsigned long free = m_data.GetFreeDiscBlock();
    if (free <= DiscReserveBlocks) return 0;
    return double(free - DiscReserveBlocks) * (kind == BurnKindAudio ? AudioBlockBytes : DataBlockBytes);
}

DiscCheck CDiscBurner::CheckBlocks(unsigned long neededBlocks)
{
    if (!m_writerPresent || !m_data.TestUnitReady()) return DiscCheck::NotReady;
    const unsigned char kind = m_data.GetDiscType();
    const bool supported = (kind == 2 && m_data.SupportDisc(11)) || (kind == 3 && m_data.SupportDisc(12));
    if (!supported) {
        m_data.UnloadMedium();
        return DiscCheck::NotCompatible;
    }
    const unsigned long free = m_data.GetFreeDiscBlock();
    if (free == 0) {
        m_data.UnloadMedium();
        return DiscCheck::NotWritable;
    }
    return free < neededBlocks ? DiscCheck::TooSmall : DiscCheck::Ok;
}

DiscCheck CDiscBurner::CheckData(double projectedBytes)
{
    const double blocks = std::floor((projectedBytes + (DataBlockBytes - 1)) / DataBlockBytes) + DiscReserveBlocks;
    return CheckBlocks(blocks > 4294967295.0 ? 4294967295ul : (unsigned long)blocks);
}

DiscCheck CDiscBurner::CheckAudio(const std::vector<double>& trackBytes)
{
    double blocks = 0;
    for (double bytes : trackBytes) blocks += std::ceil(bytes / AudioBlockBytes) + DiscReserveBlocks;
    return CheckBlocks(blocks > 4294967295.0 ? 4294967295ul : (unsigned long)blocks);
}

bool CDiscBurner::BurnData(HWND owner, const std::vector<CString>& files, const CString& album,
                           const std::vector<CString>* names)
{
    m_owner = owner;
    m_data.Free();
    m_data.LoadSession();
    CStringA label(CString(album.str().substr(0, 16)));
    m_data.SetDiscLabel(const_cast<char*>(label.GetString()));
    m_data.SetFinalizeDisc(1);
    for (size_t i = 0; i < files.size(); ++i) {
        const std::wstring& path = files[i].str();
        const std::wstring fileName =
            names && i < names->size() ? (*names)[i].str() : path.substr(path.find_last_of(L"\\/") + 1);
        std::wstring longName = publish::DiscLongName(fileName);
        std::wstring shortName = publish::DiscShortName(fileName, int(i));
        std::wstring source = path;
        m_data.AddFileW(const_cast<wchar_t*>(L"\\"), &source[0], &longName[0], &shortName[0]);
    }
    m_data.Ready();
    return m_data.StartBurnData(&CDiscBurner::OnDataBurnDone, this) != 0;
}

bool CDiscBurner::BurnAudio(HWND owner, const std::vector<CString>& files, unsigned char burnMode)
{
    m_owner = owner;
    m_audio.Free();
    m_audio.SetFinalizeDisc(1);
    m_audio.SetBurnMode(burnMode);
    for (const CString& file : files) {
        std::wstring path = file.str();
        if (m_audio.GetValidW(&path[0]))
            m_audio.AddAudioW(&path[0], 0, (unsigned short)DiscReserveBlocks, 0);
        else
            LogPrint(LOG_LEVEL_DEFAULT, L"This version don't support this file: [%s]", path.c_str());
    }
    return m_audio.StartBurn(&CDiscBurner::OnAudioBurnDone, this) != 0;
}

BurnProgress CDiscBurner::Progress(BurnKind kind)
{
    const bool audio = kind == BurnKindAudio;
    const double block = audio ? AudioBlockBytes : DataBlockBytes;
    const double total = double(audio ? m_audio.GetBlocksToWrite() : m_data.GetBlocksToWrite()) * block;
    double written = double(audio ? m_audio.GetBlocksWritten() : m_data.GetBlocksWritten()) * block;
    if (written > total) written = total;
    BurnProgress p;
    p.percent = total > 0 ? int(written * 100 / total) : 0;   // nothing to write yet: 0
    p.writtenMB = written / 1048576;
    p.totalMB = total / 1048576;
    return p;
}

BurnProgress CDiscBurner::Completed(BurnKind kind)
{
    BurnProgress p = Progress(kind);
    p.writtenMB = p.totalMB;
    p.percent = 100;
    return p;
}

unsigned long CDiscBurner::ErrorCode(BurnKind kind)
{
    return kind == BurnKindAudio ? m_audio.GetErrorCode() : m_data.GetErrorCode();
}

void CDiscBurner::Eject(BurnKind kind)
{
    if (kind == BurnKindAudio)
        m_audio.UnloadMedium();
    else
        m_data.UnloadMedium();
}

CString CDiscBurner::SenseText(unsigned long code)
{
    const long value = long(code);
    wchar_t text[64];
    _snwprintf(text, 64, L"SenseKey : %2x, ASC : %2x, ASCQ : %2x", unsigned(value / 65536),
               unsigned((value % 65536) / 256), unsigned(value % 256));
    return text;
}

// The libraries call back on their own thread: only post.
void CDiscBurner::OnDataBurnDone(int status, void* context)
{
    PostMessageW(static_cast<CDiscBurner*>(context)->m_owner, WM_DISC_BURN_DONE, (WPARAM)status, BurnKindData);
}

void CDiscBurner::OnAudioBurnDone(int status, void* context)
{
    PostMessageW(static_cast<CDiscBurner*>(context)->m_owner, WM_DISC_BURN_DONE, (WPARAM)status, BurnKindAudio);
}
