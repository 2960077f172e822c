#include "PeakStreamWriter.h"
#include "ByteFile.h"

void CPeakStreamWriter::Start(const std::wstring& wavPath, const PcmLayout& format)
{
    m_wavPath = wavPath;
    m_format = format;
    m_values.clear();
    m_decimator.reset();
    // Peak values exist for 8- and 16-bit mono and stereo only.
    if (format.IsSupported())
        m_decimator.reset(new CPeakDecimator(format.BlockAlign()));
}

void CPeakStreamWriter::Feed(const uint8_t* data, size_t bytes)
{
    if (!m_decimator) return;
    // A pair of values per kept frame, mono included: the editor reads pairs.
    const int channels = m_format.channels, bytesPerValue = m_format.bits / 8;
    m_decimator->Feed(data, bytes, [this, channels, bytesPerValue](const uint8_t* frame) {
        uint8_t pair[4];
        const size_t n = PutPeakPair(frame, channels, bytesPerValue, pair);
        m_values.insert(m_values.end(), pair, pair + n);
    });
}

bool CPeakStreamWriter::Finish()
{
    if (!m_decimator) return true;
    m_decimator.reset();
    const std::wstring path = PeakPathFor(m_wavPath);
    auto file = OpenByteFile(path, FileMode::CreateExclusive);
    if (!file) return false;
    PeakInfo info;
    FillPeakInfo(info, (uint32_t)m_format.rate, (uint16_t)m_format.channels, (uint16_t)m_format.BlockAlign(),
                 (uint16_t)m_format.bits, 0, NarrowPath(m_wavPath));
    const uint32_t n = (uint32_t)m_values.size();
    // The same layout as the wave document writes: header, values, empty "DSPD".
    const uint8_t dspd[8] = {'D', 'S', 'P', 'D', 0, 0, 0, 0};
    bool ok = WritePeakFileHeader(*file, 996 + (n + 8) + 8, info, n) && (n == 0 || file->Write(m_values.data(), n)) &&
              file->Write(dspd, sizeof dspd);
    m_values.clear();
    file.reset();
    if (!ok) DeleteByteFile(path);
    return ok;
}
