#include "LameStream.h"
#include <lame/lame.h>

CLameStream::~CLameStream()
{
    Close();
}

bool CLameStream::Open(const Mp3StreamSettings& s)
{
    Close();
    if (s.inChannels < 1 || s.inChannels > 2 || (s.inBits != 8 && s.inBits != 16) || s.inRate <= 0) return false;
    lame_global_flags* gf = lame_init();
    if (!gf) return false;
    bool twoIn = s.inChannels == 2 || s.monoAsStereo;
    lame_set_num_channels(gf, twoIn ? 2 : 1);
    lame_set_in_samplerate(gf, s.inRate);
    lame_set_out_samplerate(gf, s.outRate);
    lame_set_brate(gf, s.bitrateKbps);
    lame_set_VBR(gf, vbr_off);
    lame_set_mode(gf, (s.mono || !twoIn) ? MONO : STEREO);
    lame_set_quality(gf, s.quality);
    // The writer stores frames only: files are joined later, and an Info frame
    // would make a joined file report its first part's length.
    lame_set_bWriteVbrTag(gf, 0);
    lame_set_write_id3tag_automatic(gf, 0);
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        return false;
    }
    m_lame = gf;
    m_settings = s;
    return true;
}

void CLameStream::Close()
{
    if (m_lame) lame_close(static_cast<lame_global_flags*>(m_lame));
    m_lame = nullptr;
}

bool CLameStream::EncodeChunk(const uint8_t* pcm, int frames, std::vector<uint8_t>& out)
{
    auto* gf = static_cast<lame_global_flags*>(m_lame);
    int channels = m_settings.inChannels;
    if (channels == 2 && m_settings.inBits == 16) {
        // Little-endian stereo pairs are what LAME's interleaved entry takes: no
        // copy into two channel buffers first.
        size_t at = out.size();
        out.resize(at + kMaxChunkOutput);
        int n = lame_encode_buffer_interleaved(gf, reinterpret_cast<short*>(const_cast<uint8_t*>(pcm)), frames,
                                               out.data() + at, (int)kMaxChunkOutput);
        out.resize(at + (n > 0 ? n : 0));
        return n >= 0;
    }
    m_left.resize(frames);
    m_right.resize(frames);
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            short v;
            if (m_settings.inBits == 8)
                v = (short)((pcm[i * channels + c] - 128) << 8);
            else {
                const uint8_t* b = pcm + (i * channels + c) * 2;
                v = (short)(b[0] | (b[1] << 8));
            }
            (c == 0 ? m_left : m_right)[i] = v;
        }
        if (channels == 1) m_right[i] = m_left[i];
    }
    size_t at = out.size();
    out.resize(at + kMaxChunkOutput);
    int n = lame_encode_buffer(gf, m_left.data(), m_right.data(), frames, out.data() + at, (int)kMaxChunkOutput);
    out.resize(at + (n > 0 ? n : 0));
    return n >= 0;
}

bool CLameStream::Encode(const uint8_t* pcm, size_t bytes, std::vector<uint8_t>& out)
{
    if (!m_lame) return false;
    size_t block = (size_t)m_settings.inChannels * (m_settings.inBits / 8);
    size_t frames = bytes / block;
    for (size_t done = 0; done < frames;) {
        int n = (int)(frames - done < (size_t)kChunkFrames ? frames - done : kChunkFrames);
        if (!EncodeChunk(pcm + done * block, n, out)) return false;
        done += n;
    }
    return true;
}

bool CLameStream::Cut(std::vector<uint8_t>& out)
{
    if (!m_lame) return false;
    auto* gf = static_cast<lame_global_flags*>(m_lame);
    size_t at = out.size();
    out.resize(at + kMaxChunkOutput);
    int n = lame_encode_flush_nogap(gf, out.data() + at, (int)kMaxChunkOutput);
    out.resize(at + (n > 0 ? n : 0));
    return n >= 0 && lame_init_bitstream(gf) == 0;
}

bool CLameStream::Finish(std::vector<uint8_t>& out)
{
    if (!m_lame) return false;
    auto* gf = static_cast<lame_global_flags*>(m_lame);
    size_t at = out.size();
    out.resize(at + kMaxChunkOutput);
    int n = lame_encode_flush(gf, out.data() + at, (int)kMaxChunkOutput);
    out.resize(at + (n > 0 ? n : 0));
    return n >= 0;
}
