#include "PcmConverter.h"
#include <cmath>
#include <cstring>

bool CPcmConverter::Open(const PcmLayout& in, const PcmLayout& out)
{
    if (!in.IsSupported() || !out.IsSupported()) return false;
    m_in = in;
    m_out = out;
    m_step = (double)in.rate / (double)out.rate;
    Reset();
    return true;
}

void CPcmConverter::Reset()
{
    m_pos = 0.0;
    m_havePrev = false;
    m_partialBytes = 0;
}

void CPcmConverter::Convert(const uint8_t* data, size_t bytes, std::vector<uint8_t>& out)
{
    if (PassesThrough()) {
        out.insert(out.end(), data, data + bytes);
        return;
    }
    size_t block = (size_t)m_in.BlockAlign();
    // Complete a frame begun in the previous call.
    while (m_partialBytes && bytes) {
        m_partial[m_partialBytes++] = *data++;
        --bytes;
        if (m_partialBytes == block) {
            TakeFrame(m_partial, out);
            m_partialBytes = 0;
        }
    }
    while (bytes >= block) {
        TakeFrame(data, out);
        data += block;
        bytes -= block;
    }
    memcpy(m_partial + m_partialBytes, data, bytes);
    m_partialBytes += bytes;
}

void CPcmConverter::TakeFrame(const uint8_t* frame, std::vector<uint8_t>& out)
{
    // Samples in 16-bit units, mixed to the output's channels.
    float v[2];
    for (int c = 0; c < m_in.channels; ++c)
        v[c] = m_in.bits == 8 ? ((int)frame[c] - 128) * 256.0f
                              : (float)(int16_t)(frame[2 * c] | (frame[2 * c + 1] << 8));
    float cur[2];
    if (m_out.channels == m_in.channels) {
        cur[0] = v[0];
        cur[1] = v[1];
    } else if (m_out.channels == 1) {
        cur[0] = (v[0] + v[1]) * 0.5f;
    } else {
        cur[0] = cur[1] = v[0];
    }
    if (m_in.rate == m_out.rate) {
        PutFrame(cur, out);
        return;
    }
    if (!m_havePrev) {
        m_prev[0] = cur[0];
        m_prev[1] = cur[1];
        m_havePrev = true;
        return;
    }
    // Outputs that fall between the previous frame and this one.
    while (m_pos < 1.0) {
        float f = (float)m_pos;
        float o[2] = {m_prev[0] + f * (cur[0] - m_prev[0]), m_prev[1] + f * (cur[1] - m_prev[1])};
        PutFrame(o, out);
        m_pos += m_step;
    }
    m_pos -= 1.0;
    m_prev[0] = cur[0];
    m_prev[1] = cur[1];
}

void CPcmConverter::PutFrame(const float* values, std::vector<uint8_t>& out)
{
    for (int c = 0; c < m_out.channels; ++c) {
        float s = std::round(values[c]);
        if (s > 32767.0f) s = 32767.0f;
        if (s < -32768.0f) s = -32768.0f;
        int v = (int)s;
        if (m_out.bits == 8) {
            int u = (int)std::lround(v / 256.0) + 128;
            out.push_back((uint8_t)(u < 0 ? 0 : u > 255 ? 255 : u));
        } else {
            out.push_back((uint8_t)(v & 0xFF));
            out.push_back((uint8_t)((v >> 8) & 0xFF));
        }
    }
}
