#include "Id3v2Walk.h"

namespace {

uint32_t SyncSafe(const uint8_t* p)
{
    return ((uint32_t)(p[0] & 0x7F) << 21) | ((uint32_t)(p[1] & 0x7F) << 14) | ((uint32_t)(p[2] & 0x7F) << 7) |
           (uint32_t)(p[3] & 0x7F);
}

uint32_t BigEndian(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

bool FrameIdChar(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

void AppendCodePoint(std::wstring& out, uint32_t cp)
{
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out += (wchar_t)(0xD800 + (cp >> 10));
        out += (wchar_t)(0xDC00 + (cp & 0x3FF));
    } else if (cp < 0xD800 || (cp > 0xDFFF && cp < 0x10000)) {
        out += (wchar_t)cp;
    } else {
        out += (wchar_t)0xFFFD;
    }
}

} // namespace

bool ParseId3v2Header(const uint8_t* p, size_t available, Id3v2Header& h)
{
    if (available < 10 || p[0] != 'I' || p[1] != 'D' || p[2] != '3') return false;
    if (p[3] < 2 || p[3] > 4 || p[4] == 0xFF) return false;
    if ((p[6] | p[7] | p[8] | p[9]) & 0x80) return false;
    h.major = p[3];
    h.revision = p[4];
    h.flags = p[5];
    h.size = SyncSafe(p + 6);
    return true;
}

std::vector<uint8_t> Id3Resynchronise(const uint8_t* p, size_t size)
{
    std::vector<uint8_t> out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        out.push_back(p[i]);
        if (p[i] == 0xFF && i + 1 < size && p[i + 1] == 0x00) ++i;
    }
    return out;
}

void WalkId3v2Frames(const Id3v2Header& h, const uint8_t* body, size_t bodyBytes,
                     const std::function<void(const std::string&, const uint8_t*, size_t)>& visit)
{
    if (bodyBytes > h.size) bodyBytes = h.size;
    std::vector<uint8_t> resynced;
    // Up to 2.3 unsynchronisation covers the whole tag; 2.4 marks it per frame.
    if ((h.flags & 0x80) && h.major < 4) {
        resynced = Id3Resynchronise(body, bodyBytes);
        body = resynced.data();
        bodyBytes = resynced.size();
    }
    if (h.major == 2 && (h.flags & 0x40)) return;   // 2.2: a compressed tag, no known method
    size_t at = 0;
    if (h.major >= 3 && (h.flags & 0x40)) {
        if (bodyBytes < 4) return;
        size_t ext = h.major == 3 ? 4 + (size_t)BigEndian(body, 4) : (size_t)SyncSafe(body);
        if (ext < 4 || ext > bodyBytes) return;
        at = ext;
    }
    const size_t headerBytes = h.major == 2 ? 6 : 10;
    const size_t idBytes = h.major == 2 ? 3 : 4;
    while (at + headerBytes <= bodyBytes) {
        const uint8_t* f = body + at;
        if (f[0] == 0) return;   // padding
        for (size_t i = 0; i < idBytes; ++i)
            if (!FrameIdChar(f[i])) return;
        size_t size = h.major == 2 ? BigEndian(f + 3, 3) : h.major == 3 ? BigEndian(f + 4, 4) : SyncSafe(f + 4);
        if (size == 0 || size > bodyBytes - at - headerBytes) return;
        std::string id((const char*)f, idBytes);
        const uint8_t* data = f + headerBytes;
        size_t dataBytes = size;
        bool skip = false;
        std::vector<uint8_t> frameResynced;
        if (h.major == 3) {
            uint8_t format = f[9];
            if (format & 0xC0) skip = true;                 // compressed or encrypted
            if (format & 0x20) { data += 1; dataBytes = dataBytes >= 1 ? dataBytes - 1 : 0; }   // group
        } else if (h.major == 4) {
            uint8_t format = f[9];
            if (format & 0x0C) skip = true;                 // compressed or encrypted
            if (format & 0x40) { data += 1; dataBytes = dataBytes >= 1 ? dataBytes - 1 : 0; }
            if (format & 0x01) { data += 4; dataBytes = dataBytes >= 4 ? dataBytes - 4 : 0; }   // data length
            if (((format & 0x02) || (h.flags & 0x80)) && !skip && dataBytes > 0) {
                frameResynced = Id3Resynchronise(data, dataBytes);
                data = frameResynced.data();
                dataBytes = frameResynced.size();
            }
        }
        if (!skip && dataBytes > 0) visit(id, data, dataBytes);
        at += headerBytes + size;
    }
}

std::wstring DecodeId3Text(int encoding, const uint8_t* p, size_t size, size_t* used)
{
    std::wstring out;
    size_t i = 0;
    if (encoding == 0) {
        for (; i < size && p[i]; ++i) out += (wchar_t)p[i];
        if (i < size) ++i;
    } else if (encoding == 1 || encoding == 2) {
        bool little = false;
        if (encoding == 1) {
            if (size >= 2 && p[0] == 0xFF && p[1] == 0xFE) { little = true; i = 2; }
            else if (size >= 2 && p[0] == 0xFE && p[1] == 0xFF) { i = 2; }
            else little = true;   // no byte-order mark: the common little-endian writers
        }
        for (; i + 1 < size; i += 2) {
            wchar_t c = little ? (wchar_t)(p[i] | (p[i + 1] << 8)) : (wchar_t)((p[i] << 8) | p[i + 1]);
            if (c == 0) { i += 2; break; }
            out += c;
        }
        if (i > size) i = size;
    } else if (encoding == 3) {
        while (i < size && p[i]) {
            uint8_t b = p[i];
            int more = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
            if (more < 0 || i + more >= size) { out += (wchar_t)0xFFFD; ++i; continue; }
            uint32_t cp = more == 0 ? b : b & (0x3F >> more);
            bool ok = true;
            for (int k = 1; k <= more; ++k) {
                if ((p[i + k] & 0xC0) != 0x80) { ok = false; break; }
                cp = (cp << 6) | (p[i + k] & 0x3F);
            }
            if (!ok) { out += (wchar_t)0xFFFD; ++i; continue; }
            AppendCodePoint(out, cp);
            i += 1 + more;
        }
        if (i < size) ++i;
    } else {
        i = size;
    }
    if (used) *used = i;
    return out;
}
