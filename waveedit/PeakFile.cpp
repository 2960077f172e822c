#include "PeakFile.h"

#include "ByteFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

const char kTitle[] = "Norvane Peak Data File (V1.0.2.0)";
const char kMarker[] = "Norvane peak data: one frame in 128 per channel, values little-endian PCM";
static_assert(sizeof(kMarker) - 1 == 73, "the marker text has 73 characters");
constexpr size_t kPieceBytes = 0x40000;
// The peak build reads the WAV in blocks of this size that end on its
// boundaries in the file (whole pages), into one buffer that is not cleared.
constexpr size_t kBuildBlockBytes = 0x20000;
constexpr size_t kSavePieceBytes = 0x10000;

// Freshly committed pages are slow to touch the first time (a fault each, several
// microseconds under Wine in a virtual machine): the last value store a peak
// object let go is kept for the next one, and each thread keeps its build block.
constexpr size_t kSpareStoreMaxValues = 8u << 20;   // 16 MB: an hour and more of sound
std::mutex g_spareLock;
std::unique_ptr<int16_t[]> g_spareStore;
size_t g_spareValues = 0;

std::unique_ptr<int16_t[]> TakeStore16(size_t values, size_t& allocated)
{
    {
        std::lock_guard<std::mutex> hold(g_spareLock);
        if (g_spareStore && g_spareValues >= values) {
            allocated = g_spareValues;
            g_spareValues = 0;
            return std::move(g_spareStore);
        }
    }
    allocated = values;
    return std::unique_ptr<int16_t[]>(new int16_t[values]);
}

void GiveBackStore16(std::unique_ptr<int16_t[]> store, size_t allocated)
{
    if (!store || allocated > kSpareStoreMaxValues)
        return;
    std::lock_guard<std::mutex> hold(g_spareLock);
    if (allocated > g_spareValues) {
        g_spareStore = std::move(store);
        g_spareValues = allocated;
    }
}

uint8_t* BuildBlock()
{
    static thread_local std::unique_ptr<uint8_t[]> block(new uint8_t[kBuildBlockBytes]);
    return block.get();
}

void PutU32(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)v; p[1] = (uint8_t)(v >> 8); p[2] = (uint8_t)(v >> 16); p[3] = (uint8_t)(v >> 24);
}
uint32_t GetU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }

bool WriteChunkHeader(CByteFile& f, const char* id, uint32_t size)
{
    uint8_t h[8];
    memcpy(h, id, 4);
    PutU32(h + 4, size);
    return f.Write(h, 8);
}

bool EqualNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (tolower((unsigned char)*a) != tolower((unsigned char)*b))
            return false;
    return *a == *b;
}

}  // namespace

void FillPeakInfo(PeakInfo& info, uint32_t rate, uint16_t channels, uint16_t blockAlign, uint16_t bits,
                  uint32_t splitPointCount, const std::string& narrowWavPath)
{
    memset(&info, 0, sizeof info);
    info.version[0] = 1; info.version[1] = 0; info.version[2] = 2; info.version[3] = 0;
    memcpy(info.title, kTitle, sizeof kTitle);
    memcpy(info.marker, kMarker, sizeof kMarker);
    info.sampleRate = rate;
    info.channels = channels;
    info.blockAlign = blockAlign;
    info.bitsPerSample = bits;
    info.peakStep = kPeakStep;
    info.dspSize = kPeakDspSize;
    info.splitPointCount = splitPointCount;
    memcpy(info.wavPath, narrowWavPath.data(), std::min<size_t>(narrowWavPath.size(), sizeof info.wavPath - 1));
    snprintf(info.description, sizeof info.description,
             "Norvane Peak Data File (V1.0.2.0) Channel=%d,SamplesPerSec=%d,BitsPerSample=%d,Peaksize=%d,"
             "DSPsize=%d,poscount=%ld",
             (int)channels, (int)rate, (int)bits, kPeakStep, kPeakDspSize, (long)splitPointCount);
}

bool WritePeakFileHeader(CByteFile& file, uint32_t nvpkSize, const PeakInfo& info, uint32_t peakBytes)
{
    return file.Seek(0) && WriteChunkHeader(file, "NVPK", nvpkSize) && WriteChunkHeader(file, "HINF", kPeakInfoSize) &&
           file.Write(&info, sizeof info) && WriteChunkHeader(file, "PEAK", peakBytes);
}

std::wstring PeakPathFor(const std::wstring& wavPath, const wchar_t* ext)
{
    return wavPath.substr(0, wavPath.size() >= 3 ? wavPath.size() - 3 : 0) + ext;
}

void CPeakDecimator::Restart(uint64_t frame)
{
    m_have = 0;
    uint64_t into = frame % kPeakStep;
    m_skip = into == 0 ? 0 : (size_t)(kPeakStep - into) * (size_t)m_blockAlign;
}

NV_Peak::NV_Peak(const WaveFileHeader& header, uint32_t dataSize, IPeakOwner* owner)
    : m_header(header), m_dataSize(dataSize), m_owner(owner)
{
}

NV_Peak::~NV_Peak()
{
    GiveBackStore16(std::move(m_values16), m_allocated16);
}

size_t NV_Peak::ComputeCapacity() const
{
    const size_t s = std::min<size_t>(m_header.chunkSize, m_dataSize);
    size_t capacity = m_header.channels == 2 ? s / 128 + 2 : 2 * (s / 128) + 4;
    return std::max<size_t>(capacity, 0x40000);
}

bool NV_Peak::SetPaths(const std::wstring& wavPath, int step)
{
    m_wavPath = wavPath;
    m_peakPath = PeakPathFor(wavPath);
    return SetStep(step);
}

bool NV_Peak::SetStep(int)
{
    GiveBackStore16(std::move(m_values16), m_allocated16);
    m_allocated16 = 0;
    m_values8.reset();
    m_count = 0;
    // No buffer, no capacity: every later read or write sees an empty store.
    m_capacity = 0;
    const size_t capacity = ComputeCapacity();
    try {
        if (m_header.bitsPerSample == 16)
            m_values16 = TakeStore16(capacity, m_allocated16);
        else if (m_header.bitsPerSample == 8)
            m_values8.reset(new uint8_t[capacity]);
        else
            return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_capacity = capacity;
    return true;
}

bool NV_Peak::ReadValues(CByteFile& file, uint32_t chunkBytes)
{
    ResetWriter();
    const size_t bpv = (size_t)BytesPerValue();
    uint8_t* dest = bpv == 2 ? (uint8_t*)m_values16.get() : m_values8.get();
    if (!dest)
        return false;
    // Never more than the buffer holds, whatever the chunk claims.
    const size_t want = std::min<size_t>(chunkBytes, m_capacity * bpv);
    size_t done = 0;
    while (done < want) {
        size_t got = file.Read(dest + done, std::min(kPieceBytes, want - done));
        if (got == 0)
            break;
        done += got;
    }
    m_count = done / bpv;
    return true;
}

bool NV_Peak::Load(const std::wstring& wavPath)
{
    if (!SetPaths(wavPath, kPeakStep))
        return false;
    auto file = OpenByteFile(m_peakPath, FileMode::ReadExclusive);
    if (!file)
        return false;
    uint8_t h[8];
    const uint64_t length = file->Length();
    if (file->Read(h, 8) != 8 || memcmp(h, "NVPK", 4) != 0 || (uint64_t)GetU32(h + 4) + 8 != length)
        return false;
    uint64_t pos = 8;
    // Only points inside the sound, in rising order over every "PSTD" chunk of the
    // file, are taken: a damaged list must not put points before the start, past
    // the end or out of order.
    const uint64_t frames = m_dataSize / (uint64_t)std::max(1, WaveBlockAlign(m_header));
    int64_t last = -1;
    while (pos + 8 <= length && file->Seek(pos) && file->Read(h, 8) == 8) {
        const uint32_t size = GetU32(h + 4);
        const uint64_t next = pos + 8 + size;
        if (memcmp(h, "PSTD", 4) == 0) {
            for (uint32_t i = 0; i < size / 8 && pos + 8 + (uint64_t)(i + 1) * 8 <= length; ++i) {
                uint8_t rec[8];
                if (file->Read(rec, 8) != 8)
                    break;
                const int32_t frame = (int32_t)GetU32(rec);
                if (frame < 0 || (uint64_t)frame > frames || frame <= last)
                    continue;
                last = frame;
                if (m_owner)
                    m_owner->AddPendingSplitPoint(frame, rec[4]);
            }
        } else if (memcmp(h, "HINF", 4) == 0) {
            PeakInfo info{};
            if (size < kPeakInfoSize || file->Read(&info, sizeof info) != sizeof info)
                return false;
            m_info = info;
            if (!CheckInfo())
                return false;
        } else if (memcmp(h, "PEAK", 4) == 0) {
            if (!ReadValues(*file, size))
                return false;
        }
        pos = next;
    }
    return true;
}

bool NV_Peak::ReloadPeaks(const std::wstring& peakPath)
{
    auto file = OpenByteFile(peakPath, FileMode::ReadExclusive);
    if (!file)
        return false;
    const uint64_t length = file->Length();
    uint64_t pos = 8;
    uint8_t h[8];
    while (pos + 8 <= length && file->Seek(pos) && file->Read(h, 8) == 8) {
        const uint32_t size = GetU32(h + 4);
        if (memcmp(h, "PEAK", 4) == 0 && !ReadValues(*file, size))
            return false;
        pos += 8 + (uint64_t)size;
    }
    return true;
}

bool NV_Peak::CheckInfo() const
{
    std::string path(m_info.wavPath, strnlen(m_info.wavPath, sizeof m_info.wavPath));
    return m_info.version[0] == 1 && EqualNoCase(path.c_str(), NarrowPath(m_wavPath).c_str()) &&
           m_info.sampleRate == m_header.sampleRate && m_info.bitsPerSample == m_header.bitsPerSample &&
           m_info.channels == m_header.channels && m_info.peakStep == kPeakStep;
}

void NV_Peak::AppendFrame(const uint8_t* frame)
{
    if (m_count + 2 > m_capacity)
        return;
    uint8_t* pair = m_header.bitsPerSample == 16 ? (uint8_t*)(m_values16.get() + m_count) : m_values8.get() + m_count;
    PutPeakPair(frame, m_header.channels, BytesPerValue(), pair);
    m_count += 2;
}

bool NV_Peak::Build(const std::wstring& wavPath, const std::function<void(int)>& progress)
{
    if (!SetPaths(wavPath, kPeakStep))
        return false;
    auto wav = OpenByteFile(wavPath, FileMode::ReadExclusive);
    if (!wav || !wav->Seek(m_header.dataOffset))
        return false;
    if (progress)
        progress(0);
    CPeakDecimator decimator(WaveBlockAlign(m_header));
    uint8_t* const block = BuildBlock();
    // 16-bit stereo, the common case, stores each kept frame as it stands.
    const bool stereo16 = m_header.bitsPerSample == 16 && m_header.channels == 2;
    uint64_t done = 0;
    const uint64_t total = m_dataSize;
    while (done < total) {
        const uint64_t position = m_header.dataOffset + done;
        const size_t want = (size_t)std::min<uint64_t>(kBuildBlockBytes - position % kBuildBlockBytes, total - done);
        const size_t got = wav->Read(block, want);
        if (got == 0)
            break;
        if (stereo16) {
            int16_t* const values = m_values16.get();
            const size_t capacity = m_capacity;
            size_t count = m_count;
            decimator.Feed(block, got, [&](const uint8_t* f) {
                if (count + 2 <= capacity) {
                    memcpy(values + count, f, 4);
                    count += 2;
                }
            });
            m_count = count;
        } else {
            decimator.Feed(block, got, [this](const uint8_t* f) { AppendFrame(f); });
        }
        done += got;
        if (progress)
            progress((int)(done * 100 / total));
    }
    wav.reset();
    SaveThrough(block, kBuildBlockBytes);
    return true;
}

void NV_Peak::FillInfo()
{
    FillPeakInfo(m_info, m_header.sampleRate, m_header.channels, m_header.blockAlign, m_header.bitsPerSample,
                 m_owner ? (uint32_t)m_owner->GetSplitPointCount() : 0, NarrowPath(m_wavPath));
}

bool NV_Peak::Save()
{
    std::unique_ptr<uint8_t[]> piece(new uint8_t[kSavePieceBytes]);
    return SaveThrough(piece.get(), kSavePieceBytes);
}

bool NV_Peak::SaveThrough(uint8_t* piece, size_t pieceBytes)
{
    // An older peak file is written over in place and cut to length at the end:
    // emptying it first and growing it again costs several times as much. Its
    // size field goes in last, so a file left half-written never passes as whole.
    auto file = OpenByteFile(m_peakPath, FileMode::RewriteExclusive);
    if (!file)
        return false;
    FillInfo();
    const uint32_t n = (uint32_t)(m_count * (size_t)BytesPerValue());
    const uint8_t* values = BytesPerValue() == 2 ? (const uint8_t*)m_values16.get() : m_values8.get();
    if (!WritePeakFileHeader(*file, 0, m_info, n))
        return false;
    // The values go out through the piece buffer, not straight from the value
    // store: the system reads freshly committed pages slowly the first time
    // (Wine in a virtual machine: tens of microseconds a page, several
    // milliseconds for a long file), and copying them through a buffer that is
    // already in use costs a small part of that.
    for (uint32_t done = 0; done < n;) {
        const size_t k = std::min<size_t>(pieceBytes, n - done);
        memcpy(piece, values + done, k);
        if (!file->Write(piece, k))
            return false;
        done += (uint32_t)k;
    }
    if (!WriteChunkHeader(*file, "DSPD", 0) || !file->Truncate())
        return false;
    uint8_t size[4];
    PutU32(size, 996 + (n + 8) + 8);
    return file->Seek(4) && file->Write(size, 4);
}
