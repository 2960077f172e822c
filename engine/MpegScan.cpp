#include "MpegScan.h"

namespace {

const int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1};
const int kRates[4] = {44100, 48000, 32000, 0};

} // namespace

bool ScanMpegHeaders(const uint8_t* sound, size_t bytes, uint8_t secondSync)
{
    bool haveReference = false;
    int refBitrate = 0, refRate = 0, refMode = 0;
    int count = 0;
    uint32_t spacing = 0, last = 0, pos = 0;
    auto at = [&](size_t i) -> uint8_t { return i < bytes ? sound[i] : 0; };
    // Windows of 512 bytes, each starting 509 bytes after the last, so a header
    // across a window's end is seen whole in the next one.
    for (size_t start = 0; start < bytes && start < kMpegScanLimit && pos < kMpegScanLimit; start += 509) {
        for (size_t i = 0; i + 3 < 512; ++i) {
            size_t p = start + i;
            if (at(p) != 0xFF || at(p + 1) != secondSync) continue;
            uint8_t b2 = at(p + 2), b3 = at(p + 3);
            int bitrate = kBitrates[b2 >> 4];
            int rate = kRates[(b2 >> 2) & 3];
            int mode = b3 >> 6;
            pos = (uint32_t)p;
            if (!haveReference) {
                haveReference = true;
                refBitrate = bitrate;
                refRate = rate;
                refMode = mode;
                last = pos;
                if (bitrate == -1) return false;
                continue;
            }
            if (bitrate != refBitrate || rate != refRate || mode != refMode) continue;
            ++count;
            if (count == 2) {
                spacing = pos - last;
                last = pos;
            } else if (count == 3 || count == 4) {
                uint32_t d = pos - last;
                // Unsigned on purpose: a distance below 10 never matches.
                if (d - 10 <= spacing && spacing <= d + 10) {
                    if (count == 4) return true;
                    last = pos;
                } else {
                    count -= 1;
                    if (d >= spacing + 100) return false;
                }
            }
        }
    }
    return false;
}

bool LooksLikeMpegAudio(const uint8_t* sound, size_t bytes)
{
    static const uint8_t kSecondSyncBytes[] = {0xFA, 0xFB, 0xF2, 0xF3, 0xFD};
    for (uint8_t sync : kSecondSyncBytes)
        if (ScanMpegHeaders(sound, bytes, sync)) return true;
    return false;
}
