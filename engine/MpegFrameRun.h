// Whether a file's sound begins with MPEG audio frames, variable bitrate
// included: a run of frame headers, each where the frame before it ends. Cheap
// enough to ask before the platform is asked to parse a file that only claims
// to be MP3 (a crafted or random file can keep its parser busy for minutes).
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

// Headers in a row that make a run; random bytes hardly ever give one.
const int kMpegFrameRunLength = 4;
// How far into the sound a run may begin (junk before the first frame).
const size_t kMpegFrameRunSearch = 65536;

// Portable: true when bytes hold kMpegFrameRunLength headers in a row of one
// version, layer and sample rate, the first within kMpegFrameRunSearch bytes.
bool HasMpegFrameRun(const uint8_t* sound, size_t bytes);

// The file's sound (after any ID3v2 tag) begins with such a run.
BOOL FileHasMpegFrameRun(const wchar_t* path);
