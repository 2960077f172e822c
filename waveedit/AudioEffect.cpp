#include "AudioEffect.h"

#include "ByteFile.h"

#include <algorithm>

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
    if (IsSameByteFile(source, output) || IsSameByteFile(source, peakFile) || IsSameByteFile(output, peakFile) ||
        source == output || source == peakFile || output == peakFile)
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
    if (!m_prepared)
        return Fail("the source was not accepted");
    std::vector<std::pair<uint64_t, bool>> ranges;
    if (!ValidateTracks(ranges))
        return false;

    // Created over any older output in place (no delete first: one file-system
    // operation less, and the names never vanish in between).
    m_in = OpenByteFile(m_source, FileMode::ReadShared);
    if (m_in)
        m_out = OpenByteFile(m_output, FileMode::CreateShared);
    if (m_out)
        m_peak = OpenByteFile(m_peakPath, FileMode::CreateShared);
    bool ok = m_in && m_out && m_peak;
    if (!ok)
        Fail("a file cannot be opened or created");

    // The whole source header, sizes included: every effect keeps the length.
    if (ok) {
        std::vector<uint8_t> header(HeaderSize());
        ok = m_in->Seek(0) && m_in->ReadExact(header.data(), header.size()) &&
             m_out->Write(header.data(), header.size());
        if (!ok)
            Fail("the header cannot be copied");
    }
    if (ok) {
        FillPeakInfo(m_peakInfo, SampleRate(), Channels(), (uint16_t)BlockAlign(), Bits(), 0, NarrowPath(m_output));
        ok = WritePeakHeader();
        m_peakBuffer.clear();
        m_decimator = std::make_unique<CPeakDecimator>(BlockAlign());
    }
    for (size_t i = 0; ok && i < ranges.size(); ++i) {
        ok = ranges[i].second ? ProcessRange(ranges[i].first) : CopyRange(ranges[i].first);
        if (ok && ShouldStop())
            ok = Fail("cancelled");
    }
    // Chunks behind the sample data stay as they are.
    if (ok && m_in->Tell() < m_info.fileLength) {
        std::vector<uint8_t> rest(kBlockBytes);
        size_t got;
        while (ok && (got = m_in->Read(rest.data(), rest.size())) > 0)
            ok = m_out->Write(rest.data(), got);
        if (!ok)
            Fail("the trailing chunks cannot be copied");
    }
    if (m_peak) {
        const bool peaksOk = FlushPeaks() && WritePeakHeader();
        if (ok && !peaksOk)
            ok = Fail("the peak file cannot be written");
    }
    m_in.reset();
    m_out.reset();
    m_peak.reset();
    m_decimator.reset();
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
    if (m_peakBuffer.empty())
        return true;
    const bool ok = m_peak->Write(m_peakBuffer.data(), m_peakBuffer.size());
    if (ok)
        m_peakBytes += (uint32_t)m_peakBuffer.size();
    m_peakBuffer.clear();
    return ok;
}

bool CAudioEffect::ReadSource(uint8_t* buffer, size_t bytes)
{
    if (ShouldStop())
        return Fail("cancelled");
    if (m_in->Read(buffer, bytes) != bytes)
        return Fail("the source ended early");
    return true;
}

bool CAudioEffect::WriteOutput(const uint8_t* data, size_t bytes, uint64_t progressBytes)
{
    if (!m_out->Write(data, bytes))
        return Fail("the output cannot be written");
    const size_t ba = (size_t)BlockAlign();
    const int copies = Channels() == 1 ? 2 : 1;
    m_decimator->Feed(data, bytes, [this, ba, copies](const uint8_t* frame) {
        for (int c = 0; c < copies; ++c)
            m_peakBuffer.insert(m_peakBuffer.end(), frame, frame + ba);
    });
    if (m_peakBuffer.size() >= 65536 && !FlushPeaks())
        return Fail("the peak file cannot be written");
    AddProgress(progressBytes);
    return true;
}

bool CAudioEffect::CopyRange(uint64_t bytes)
{
    std::vector<uint8_t> block(kBlockBytes);
    while (bytes > 0) {
        const size_t want = (size_t)std::min<uint64_t>(bytes, kBlockBytes);
        if (!ReadSource(block.data(), want) || !WriteOutput(block.data(), want, want))
            return false;
        bytes -= want;
    }
    return true;
}

void CAudioEffect::AddProgress(uint64_t bytes)
{
    m_processed += bytes;
    if (m_info.dataSize > 0)
        m_percent = (int)std::min<uint64_t>(100, m_processed * 100 / m_info.dataSize);
}

uint64_t CAudioEffect::SourcePosition() const
{
    return m_in->Tell();
}

bool CAudioEffect::SeekSource(uint64_t position)
{
    return m_in->Seek(position) || Fail("the source cannot be positioned");
}
