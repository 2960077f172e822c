// The file effects engine: reads a PCM work WAV, walks its track ranges in
// order (processing the selected ones, copying the others and any tail
// unchanged), writes the result WAV and its peak data file as it goes, and
// counts progress. Blocks end on kBlockBytes boundaries of the file, so reads
// and writes (output offsets are source offsets) go whole pages at a time, and
// the output and peak data are written on a thread of the run's own while the
// next block is read and computed. Portable: runs on whatever thread calls Run
// (EffectThread starts it on a worker on Windows); progress and cancel are atomic.
#pragma once
#include "PeakFile.h"
#include "WaveHeader.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CBlockQueue;
class CByteFile;

struct CEffectTrack {
    int32_t start = 0;  // frames
    int32_t end = 0;
    int32_t apply = 0;  // 1 = process, 0 = copy unchanged
};

struct AmplifyParam {
    float gain = 1.0f;
    std::vector<CEffectTrack> tracks;
};

struct FadeInOutParam {
    int32_t fadeIn = 0;
    int32_t fadeOut = 0;
    float duration = 0.0f;        // seconds
    int32_t selectedTracksOnly = 1;  // 1: fade only tracks whose apply is 1
    std::vector<CEffectTrack> tracks;
};

struct NoiseReductionParam {
    float level = 15.0f;
    std::vector<CEffectTrack> tracks;
};

struct NormalizeParam {
    float targetLevel = 0.8f;
    std::vector<CEffectTrack> tracks;
};

// The effect's peak file beside its output: ".tm1" gives ".np1", ".tm2" ".np2",
// so each work file keeps its own peak data.
std::wstring EffectPeakPathFor(const std::wstring& outputWav);

class CAudioEffect {
public:
    static constexpr size_t kBlockBytes = 131072;

    CAudioEffect();
    virtual ~CAudioEffect();

    // Keeps the paths and reads the source header; false when the source is
    // not a usable PCM WAV.
    bool Prepare(const std::wstring& source, const std::wstring& output, const std::wstring& peakFile);
    // Processes the whole file on the calling thread. True only when every
    // range was read and written in full and nothing was cancelled.
    virtual bool Run();

    int GetProgress() const { return m_percent.load(); }
    void Cancel() { m_cancel.store(true); }
    void ClearCancel() { m_cancel.store(false); }
    bool IsCancelled() const { return m_cancel.load(); }
    const std::string& GetError() const { return m_error; }

    uint16_t Channels() const { return m_info.header.channels; }
    uint16_t Bits() const { return m_info.header.bitsPerSample; }
    uint32_t SampleRate() const { return m_info.header.sampleRate; }
    uint32_t ByteRate() const { return m_info.header.byteRate; }
    int BlockAlign() const { return WaveBlockAlign(m_info.header); }
    uint32_t HeaderSize() const { return m_info.header.dataOffset; }
    uint32_t DataSize() const { return m_info.dataSize; }

protected:
    // The effect's track list, or null when it has no parameter record.
    virtual const std::vector<CEffectTrack>* Tracks() const = 0;
    // Whether this range is processed (else copied).
    virtual bool Applies(const CEffectTrack& t) const { return t.apply == 1; }
    // Processes `bytes` bytes of the source from the current position.
    virtual bool ProcessRange(uint64_t bytes) = 0;

    // The buffer to read the next block into: kBlockBytes, not cleared. A block
    // in it that is passed to WriteOutput is written on the run's writer thread
    // while the next one is read; ask for Block() again after each WriteOutput.
    uint8_t* Block();
    // The size of the next block of a range with `left` bytes to go: whole
    // frames (at most kBlockBytes) that end, where they can, on a kBlockBytes
    // boundary of the file.
    size_t NextBlockBytes(uint64_t left) const;
    // Reads exactly `bytes`; a short read or a cancel makes the run fail.
    bool ReadSource(uint8_t* buffer, size_t bytes);
    // Writes output bytes, feeds the peak data and counts `progressBytes`: at
    // once, or, for a Block(), in order on the writer thread (a write error
    // then fails a later WriteOutput or the run).
    bool WriteOutput(const uint8_t* data, size_t bytes, uint64_t progressBytes);
    bool CopyRange(uint64_t bytes);
    void AddProgress(uint64_t bytes);
    bool Fail(const char* why);
    uint64_t SourcePosition() const;
    bool SeekSource(uint64_t position);
    bool ShouldStop() const { return m_cancel.load(); }

private:
    bool ValidateTracks(std::vector<std::pair<uint64_t, bool>>& ranges);
    bool FlushPeaks();
    bool WritePeakHeader();
    // Writes one block of output and its peak data; an error text or null.
    const char* PutOutput(const uint8_t* data, size_t bytes, uint64_t progressBytes);
    // Ends the writer thread once everything queued is written; false on its error.
    bool FinishWrites();

    std::wstring m_source, m_output, m_peakPath;
    WaveHeaderInfo m_info;
    std::unique_ptr<CByteFile> m_in, m_out, m_peak;
    std::unique_ptr<CPeakDecimator> m_decimator;
    std::unique_ptr<CBlockQueue> m_queue;  // the blocks on their way to the writer thread
    // Peak values wait here and go to the file in pieces of about 64 KB: a
    // small buffer that stays in memory, where the whole peak data of a long
    // file would be fresh pages on every run.
    std::unique_ptr<uint8_t[]> m_peakStage;
    size_t m_peakFill = 0;
    PeakInfo m_peakInfo{};
    uint32_t m_peakBytes = 0;
    uint64_t m_inPos = 0;  // the source position, kept here rather than asked of the file
    std::atomic<uint64_t> m_processed{0};
    std::atomic<int> m_percent;
    std::atomic<bool> m_cancel;
    bool m_prepared = false;   // Prepare accepted the source and the names
    std::string m_error;
};
