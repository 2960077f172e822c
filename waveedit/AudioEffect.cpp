#include "AudioEffect.h"

#include "BlockQueue.h"
#include "ByteFile.h"

#include <algorithm>
#include <cstring>

namespace {

// Peak values go to the file once this much has gathered; the stage holds
// twice as much, so no block of any effect can overflow it.
constexpr size_t kPeakFlushBytes = 65536;
constexpr size_t kPeakStageBytes = 2 * kPeakFlushBytes;
// Blocks between reading and writing: enough that neither side waits on the
// other's short stalls.
constexpr int kQueuedBlocks = 4;
// Below this much sound the writes are made by the reading thread: a writer
// thread's start, end and hand-overs cost more than the overlap wins back.
constexpr uint64_t kWriterThreadMinBytes = 16u << 20;

// Copies every kept frame of a block to the stage (twice for mono: the peak
// data holds two values per kept frame). Sizes known at compile time make the
// copies plain moves instead of a library call per kept frame.
template <size_t Ba, int Copies>
size_t StageKeptFrames(CPeakDecimator& decimator, const uint8_t* data, size_t bytes, uint8_t* stage, size_t fill,
                       size_t ba, int copies)
{
    decimator.Feed(data, bytes, [&](const uint8_t* frame) {
        const size_t n = Ba ? Ba : ba;
        const int c = Copies ? Copies : copies;
        for (int k = 0; k < c; ++k) {
            memcpy(stage + fill, frame, n);
            fill += n;
        }
    });
    return fill;
}

}  // namespace

std::wstring EffectPeakPathFor(const std::wstring& outputWav)
{
    const size_t n = outputWav.size();
    if (n >= 4 && outputWav.compare(n - 4, 3, L".tm") == 0)
        return outputWav.substr(0, n - 3) + L"np" + outputWav[n - 1];
    return PeakPathFor(outputWav);
}

CAudioEffect::CAudioEffect() : m_percent(0), m_cancel(false) {}

CAudioEffect::~CAudioEffect() = default;

bool CAudioEffect::Prepare(const std::wstring& source, const std::wstring& output, const std::wstring& peakFile)
{
    m_source = source;
    m_output = output;
    m_peakPath = peakFile;
    m_percent = 0;
    m_processed = 0;
    m_error.clear();
    m_prepared = false;
    // The output and the peak file are created afresh: neither may be the source
    // (nor each other), or the run would destroy what it reads.
    if (source == output || source == peakFile || output == peakFile || AnyTwoSameByteFile({source, output, peakFile}))
        return Fail("the output would overwrite the source");
    auto in = OpenByteFile(source, FileMode::ReadShared);
    if (!in)
        return Fail("the source cannot be opened");
    switch (ReadWaveHeader(*in, m_info)) {
    case kWaveOk:
        m_prepared = true;
        return true;
    case kWaveTooLarge:
        return Fail("the source holds more than 2 GB of sound");
    default:
        return Fail("the source is not a supported PCM WAV");
    }
}

bool CAudioEffect::Fail(const char* why)
{
    if (m_error.empty())
        m_error = why;
    return false;
}

bool CAudioEffect::ValidateTracks(std::vector<std::pair<uint64_t, bool>>& ranges)
{
    const std::vector<CEffectTrack>* tracks = Tracks();
    const uint64_t ba = (uint64_t)BlockAlign(), totalFrames = m_info.dataSize / ba;
    uint64_t expected = 0;
    if (tracks) {
        for (const CEffectTrack& t : *tracks) {
            if (t.start < 0 || (uint64_t)t.start != expected || t.end < t.start || (uint64_t)t.end > totalFrames)
                return Fail("the track ranges do not cover the data in order");
            ranges.emplace_back((uint64_t)(t.end - t.start) * ba, Applies(t));
            expected = (uint64_t)t.end;
        }
    }
    // Whatever the tracks leave at the end is copied unchanged.
    if (expected < totalFrames)
        ranges.emplace_back((totalFrames - expected) * ba, false);
    return true;
}

bool CAudioEffect::Run()
{
    m_error.clear();
    m_processed = 0;
    m_percent = 0;
    m_peakBytes = 0;
    m_peakFill = 0;
    if (!m_prepared)
        return Fail("the source was not accepted");
    std::vector<std::pair<uint64_t, bool>> ranges;
    if (!ValidateTracks(ranges))
        return false;

    // An older output and peak file are written over in place and cut to length
    // at the end: no delete first (the names never vanish in between), and no
    // emptying, which waits for the older file's write-back (about 20 ms of a
    // 100 MB file written just before) and makes the file system write the
    // new one back at close.
    m_in = OpenByteFile(m_source, FileMode::ReadShared);
    if (m_in)
        m_out = OpenByteFile(m_output, FileMode::RewriteShared);
    if (m_out)
        m_peak = OpenByteFile(m_peakPath, FileMode::RewriteShared);
    bool ok = m_in && m_out && m_peak;
    if (!ok)
        Fail("a file cannot be opened or created");

    // The whole source header, sizes included: every effect keeps the length.
    if (ok) {
        std::vector<uint8_t> header(HeaderSize());
        ok = m_in->Seek(0) && m_in->ReadExact(header.data(), header.size()) &&
             m_out->Write(header.data(), header.size());
        m_inPos = header.size();
        if (!ok)
            Fail("the header cannot be copied");
    }
    if (ok) {
        FillPeakInfo(m_peakInfo, SampleRate(), Channels(), (uint16_t)BlockAlign(), Bits(), 0, NarrowPath(m_output));
        ok = WritePeakHeader();
        m_decimator = std::make_unique<CPeakDecimator>(BlockAlign());
        m_peakStage.reset(new uint8_t[kPeakStageBytes]);
        m_queue = std::make_unique<CBlockQueue>(kBlockBytes, kQueuedBlocks,
                                                [this](const uint8_t* data, size_t bytes, uint64_t progressBytes) {
                                                    return PutOutput(data, bytes, progressBytes);
                                                });
        if (m_info.dataSize < kWriterThreadMinBytes)
            m_queue->RunWithoutWorker();
    }
    for (size_t i = 0; ok && i < ranges.size(); ++i) {
        ok = ranges[i].second ? ProcessRange(ranges[i].first) : CopyRange(ranges[i].first);
        if (ok && ShouldStop())
            ok = Fail("cancelled");
    }
    // Everything queued is written (or dropped after a write error) before the
    // files are finished or closed.
    if (m_queue && !FinishWrites())
        ok = false;
    // Chunks behind the sample data stay as they are.
    if (ok && m_inPos < m_info.fileLength) {
        size_t got;
        uint8_t* const block = Block();
        while (ok && (got = m_in->Read(block, kBlockBytes)) > 0)
            ok = m_out->Write(block, got);
        if (!ok)
            Fail("the trailing chunks cannot be copied");
    }
    // An older file written over ends where this run's output ends.
    if (m_out && !m_out->Truncate() && ok)
        ok = Fail("the output cannot be written");
    if (m_peak) {
        const bool peaksOk = FlushPeaks() && m_peak->Truncate() && WritePeakHeader();
        if (ok && !peaksOk)
            ok = Fail("the peak file cannot be written");
    }
    m_in.reset();
    m_out.reset();
    m_peak.reset();
    m_decimator.reset();
    m_queue.reset();
    m_peakStage.reset();
    if (ok)
        m_percent = 100;
    return ok;
}

bool CAudioEffect::WritePeakHeader()
{
    const uint64_t end = m_peak->Tell();
    bool ok = WritePeakFileHeader(*m_peak, m_peakBytes + 1004, m_peakInfo, m_peakBytes);
    if (end > kPeakHeaderBytes)
        ok = ok && m_peak->Seek(end);
    return ok;
}

bool CAudioEffect::FlushPeaks()
{
    if (m_peakFill == 0)
        return true;
    const bool ok = m_peak->Write(m_peakStage.get(), m_peakFill);
    if (ok)
        m_peakBytes += (uint32_t)m_peakFill;
    m_peakFill = 0;
    return ok;
}

size_t CAudioEffect::NextBlockBytes(uint64_t left) const
{
    const size_t ba = (size_t)BlockAlign();
    size_t room = kBlockBytes - (size_t)(m_inPos % kBlockBytes);
    room -= room % ba;
    if (room == 0)  // less than a frame to the boundary: this block crosses it
        room = kBlockBytes / ba * ba;
    return (size_t)std::min<uint64_t>(left, room);
}

bool CAudioEffect::ReadSource(uint8_t* buffer, size_t bytes)
{
    if (ShouldStop())
        return Fail("cancelled");
    const size_t got = m_in->Read(buffer, bytes);
    m_inPos += got;
    if (got != bytes)
        return Fail("the source ended early");
    return true;
}

uint8_t* CAudioEffect::Block()
{
    return m_queue->Free();
}

bool CAudioEffect::WriteOutput(const uint8_t* data, size_t bytes, uint64_t progressBytes)
{
    if (const char* error = m_queue->Error())
        return Fail(error);
    if (data == m_queue->Free() && bytes <= kBlockBytes && m_queue->Push(bytes, progressBytes))
        return true;
    // Any other buffer (or no writer thread) is written here, after what is queued.
    m_queue->Drain();
    if (const char* error = m_queue->Error())
        return Fail(error);
    if (const char* error = PutOutput(data, bytes, progressBytes))
        return Fail(error);
    return true;
}

bool CAudioEffect::FinishWrites()
{
    m_queue->Stop();
    if (const char* error = m_queue->Error())
        return Fail(error);
    return true;
}

const char* CAudioEffect::PutOutput(const uint8_t* data, size_t bytes, uint64_t progressBytes)
{
    if (!m_out->Write(data, bytes))
        return "the output cannot be written";
    const size_t ba = (size_t)BlockAlign();
    const int copies = Channels() == 1 ? 2 : 1;
    // Room for every kept frame of this write: a longer write goes in pieces.
    const size_t piece = ((kPeakStageBytes - kPeakFlushBytes) / (ba * (size_t)copies) - 1) * kPeakStep * ba;
    for (size_t done = 0; done < bytes;) {
        const size_t n = std::min(bytes - done, piece);
        uint8_t* const stage = m_peakStage.get();
        const uint8_t* const at = data + done;
        if (ba == 4 && copies == 1)
            m_peakFill = StageKeptFrames<4, 1>(*m_decimator, at, n, stage, m_peakFill, ba, copies);
        else if (ba == 2 && copies == 2)
            m_peakFill = StageKeptFrames<2, 2>(*m_decimator, at, n, stage, m_peakFill, ba, copies);
        else
            m_peakFill = StageKeptFrames<0, 0>(*m_decimator, at, n, stage, m_peakFill, ba, copies);
        if (m_peakFill >= kPeakFlushBytes && !FlushPeaks())
            return "the peak file cannot be written";
        done += n;
    }
    AddProgress(progressBytes);
    return nullptr;
}

bool CAudioEffect::CopyRange(uint64_t bytes)
{
    while (bytes > 0) {
        const size_t want = NextBlockBytes(bytes);
        uint8_t* const block = Block();
        if (!ReadSource(block, want) || !WriteOutput(block, want, want))
            return false;
        bytes -= want;
    }
    return true;
}

void CAudioEffect::AddProgress(uint64_t bytes)
{
    // Counted by the reading thread (a scan) and the writer thread alike: the
    // percentage only ever rises.
    const uint64_t processed = m_processed.fetch_add(bytes) + bytes;
    if (m_info.dataSize == 0)
        return;
    const int percent = (int)std::min<uint64_t>(100, processed * 100 / m_info.dataSize);
    int shown = m_percent.load();
    while (shown < percent && !m_percent.compare_exchange_weak(shown, percent)) {
    }
}

uint64_t CAudioEffect::SourcePosition() const
{
    return m_inPos;
}

bool CAudioEffect::SeekSource(uint64_t position)
{
    if (!m_in->Seek(position))
        return Fail("the source cannot be positioned");
    m_inPos = position;
    return true;
}
