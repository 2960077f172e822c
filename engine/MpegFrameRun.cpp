#include "MpegFrameRun.h"
#include <vector>
#include "Id3v2Walk.h"
#include "MpegFrameHeader.h"
#include "SharedReadFile.h"

bool HasMpegFrameRun(const uint8_t* sound, size_t bytes)
{
    for (size_t start = 0; start < kMpegFrameRunSearch && start + 4 <= bytes; ++start) {
        MpegFrameHeader first;
        if (sound[start] != 0xFF || !ParseMpegFrameHeader(sound + start, bytes - start, first)) continue;
        size_t at = start + (size_t)first.frameBytes;
        int run = 1;
        for (MpegFrameHeader next; run < kMpegFrameRunLength && at + 4 <= bytes; ++run) {
            if (!ParseMpegFrameHeader(sound + at, bytes - at, next) || next.version != first.version ||
                next.layer != first.layer || next.sampleRate != first.sampleRate)
                break;
            at += (size_t)next.frameBytes;
        }
        if (run == kMpegFrameRunLength) return true;
    }
    return false;
}

BOOL FileHasMpegFrameRun(const wchar_t* path)
{
    CSharedReadFile file(path);
    if (!file.IsOpen()) return FALSE;
    uint8_t head[10];
    Id3v2Header tag;
    const uint64_t start = file.ReadAt(0, head, sizeof head) == sizeof head && ParseId3v2Header(head, sizeof head, tag)
                               ? tag.TotalBytes()
                               : 0;
    // Room for the search and a whole run after it (no frame reaches 2 KB).
    std::vector<uint8_t> sound(kMpegFrameRunSearch + kMpegFrameRunLength * 2048 + 4);
    sound.resize(file.ReadAt(start, sound.data(), sound.size()));
    return HasMpegFrameRun(sound.data(), sound.size());
}
