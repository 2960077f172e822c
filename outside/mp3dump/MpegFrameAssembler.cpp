#include "MpegFrameAssembler.h"

void CMpegFrameAssembler::Append(const uint8_t* data, size_t bytes)
{
    if (m_start > 0 && m_start >= m_bytes.size() / 2) {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + (ptrdiff_t)m_start);
        m_start = 0;
    }
    m_bytes.insert(m_bytes.end(), data, data + bytes);
}

bool CMpegFrameAssembler::Next(const uint8_t*& frame, size_t& length, MpegFrameHeader& header)
{
    for (;;) {
        size_t held = m_bytes.size() - m_start;
        if (held < 4) return false;
        const uint8_t* p = m_bytes.data() + m_start;
        if (!ParseMpegFrameHeader(p, held, header)) {
            ++m_start;
            continue;
        }
        if ((size_t)header.frameBytes > held) return false;
        frame = p;
        length = (size_t)header.frameBytes;
        m_start += length;
        return true;
    }
}

void CMpegFrameAssembler::Reset()
{
    m_bytes.clear();
    m_start = 0;
}
