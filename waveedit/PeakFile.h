// The peak data file (".npk", ".np1", ".np2"): a decimated copy of a PCM WAV,
// the first sample frame of every 128 kept per channel, with a header that
// describes the WAV. Layout (little-endian): "NVPK" size, "HINF" 988 PeakInfo,
// "PEAK" n values, then "DSPD" 0 from the document's writer.
// Portable: no platform types.
#pragma once
#include "WaveHeader.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CByteFile;

constexpr int kPeakStep = 128;
constexpr int kPeakDspSize = 1024;
constexpr uint32_t kPeakInfoSize = 988;
constexpr uint32_t kPeakHeaderBytes = 1012;  // "NVPK", "HINF" + PeakInfo, "PEAK" and its size

#pragma pack(push, 1)
struct PeakInfo {
    uint8_t version[4];
    char title[64];
    char marker[128];
    uint32_t sampleRate;
    uint16_t channels;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t peakStep;
    uint16_t dspSize;
    uint16_t reserved1;
    uint32_t splitPointCount;
    uint32_t reserved2;
    char wavPath[512];
    char description[256];
};
#pragma pack(pop)
static_assert(sizeof(PeakInfo) == kPeakInfoSize, "PeakInfo is 988 bytes");

void FillPeakInfo(PeakInfo& info, uint32_t rate, uint16_t channels, uint16_t blockAlign, uint16_t bits,
                  uint32_t splitPointCount, const std::string& narrowWavPath);

// "NVPK" (with the given size field), "HINF" 988 + info, "PEAK" peakBytes, at offset 0.
bool WritePeakFileHeader(CByteFile& file, uint32_t nvpkSize, const PeakInfo& info, uint32_t peakBytes);

// The peak path of a WAV: the path less its last 3 characters, plus the extension.
std::wstring PeakPathFor(const std::wstring& wavPath, const wchar_t* ext = L"npk");

// The value pair stored for one kept frame, the layout every peak writer keeps
// and the editor reads: (first, second channel) for stereo, (sample, 0) for
// mono. bytesPerValue is 2 for 16-bit and 1 for 8-bit sound; returns the bytes
// put into `pair` (twice bytesPerValue).
inline size_t PutPeakPair(const uint8_t* frame, int channels, int bytesPerValue, uint8_t* pair)
{
    const size_t v = (size_t)bytesPerValue;
    memcpy(pair, frame, v);
    if (channels == 2)
        memcpy(pair + v, frame + v, v);
    else
        memset(pair + v, 0, v);
    return 2 * v;
}

// Picks the kept frames (frames 0, 128, 256 ... of the data) out of a stream of
// sample bytes fed in blocks of any size, so one grid holds across blocks. The
// caller's keep(frame) is inlined into the walk: no call through a pointer per frame.
class CPeakDecimator {
public:
    explicit CPeakDecimator(int blockAlign) : m_blockAlign(blockAlign) {}
    template <class Keep>
    void Feed(const uint8_t* data, size_t bytes, Keep&& keep);
    // Restarts the grid at a data position (in frames).
    void Restart(uint64_t frame);

private:
    int m_blockAlign;
    size_t m_skip = 0;  // bytes until the next kept frame starts
    size_t m_have = 0;  // bytes of the kept frame collected so far
    uint8_t m_frame[8] = {};
};

template <class Keep>
void CPeakDecimator::Feed(const uint8_t* data, size_t bytes, Keep&& keep)
{
    const size_t ba = (size_t)m_blockAlign, step = kPeakStep * ba;
    while (bytes > 0) {
        if (m_skip > 0) {
            const size_t take = bytes < m_skip ? bytes : m_skip;
            data += take; bytes -= take; m_skip -= take;
            continue;
        }
        if (m_have == 0) {
            // The common case: every kept frame that lies whole in this block.
            while (bytes >= ba) {
                keep(data);
                if (bytes < step) {
                    m_skip = step - bytes;
                    return;
                }
                data += step; bytes -= step;
            }
            if (bytes == 0)
                return;
        }
        const size_t take = bytes < ba - m_have ? bytes : ba - m_have;
        memcpy(m_frame + m_have, data, take);
        m_have += take; data += take; bytes -= take;
        if (m_have == ba) {
            keep(m_frame);
            m_have = 0;
            m_skip = step - ba;
        }
    }
}

// What the peak object asks of the document that owns it.
class IPeakOwner {
public:
    virtual ~IPeakOwner() = default;
    virtual int GetSplitPointCount() const = 0;
    virtual void AddPendingSplitPoint(int32_t frame, int32_t flag) = 0;
};

class NV_Peak {
public:
    // header: the WAV's header copy; dataSize: its sample bytes (limited to the file).
    NV_Peak(const WaveFileHeader& header, uint32_t dataSize, IPeakOwner* owner);
    virtual ~NV_Peak();

    bool SetPaths(const std::wstring& wavPath, int step);
    bool SetStep(int step);
    bool Load(const std::wstring& wavPath);
    bool ReloadPeaks(const std::wstring& peakPath);
    bool Build(const std::wstring& wavPath, const std::function<void(int)>& progress);
    bool Save();
    void FillInfo();
    bool CheckInfo() const;

    const std::wstring& GetPeakPath() const { return m_peakPath; }
    const std::wstring& GetWavPath() const { return m_wavPath; }
    int GetBits() const { return m_header.bitsPerSample; }
    int GetChannels() const { return m_header.channels; }
    // Values in pairs; 16-bit WAVs fill Values16, 8-bit WAVs Values8.
    const int16_t* Values16() const { return m_values16.get(); }
    const uint8_t* Values8() const { return m_values8.get(); }
    size_t GetValueCount() const { return m_count; }
    size_t GetCapacity() const { return m_capacity; }
    // Value i as a signed sample (8-bit values less 128).
    int ValueAt(size_t i) const
    {
        return m_header.bitsPerSample == 16 ? m_values16[i] : (int)m_values8[i] - 128;
    }
    const PeakInfo& GetInfo() const { return m_info; }

private:
    size_t ComputeCapacity() const;
    int BytesPerValue() const { return m_header.bitsPerSample == 16 ? 2 : 1; }
    bool ReadValues(CByteFile& file, uint32_t chunkBytes);
    void AppendFrame(const uint8_t* frame);
    void ResetWriter() { m_count = 0; }
    // Save, copying the values out through `piece` (a buffer of the caller's).
    bool SaveThrough(uint8_t* piece, size_t pieceBytes);

    WaveFileHeader m_header;
    uint32_t m_dataSize;
    IPeakOwner* m_owner;
    std::wstring m_wavPath, m_peakPath;
    PeakInfo m_info{};
    size_t m_capacity = 0, m_count = 0;
    // Not zero-filled: only the first m_count values are ever read.
    std::unique_ptr<int16_t[]> m_values16;
    size_t m_allocated16 = 0;   // values m_values16 has room for (a reused store may hold more than m_capacity)
    std::unique_ptr<uint8_t[]> m_values8;
};
