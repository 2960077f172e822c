// The test whether bytes are MPEG audio: a regular series of frame headers near
// the start of the sound. Portable C++ over bytes already read, so each of the
// five passes reads nothing more from the file.
#pragma once
#include <cstddef>
#include <cstdint>

// The sound's first bytes that the scan looks at; headers at this offset or later end a pass.
const size_t kMpegScanLimit = 10000;
// Bytes to read for a full scan: the last 512-byte window that starts before the limit.
const size_t kMpegScanBytes = 10240;

// One pass for one second sync byte (0xFA, 0xFB, 0xF2, 0xF3 or 0xFD).
bool ScanMpegHeaders(const uint8_t* sound, size_t bytes, uint8_t secondSync);
// The five passes in order; true at the first that finds the series.
bool LooksLikeMpegAudio(const uint8_t* sound, size_t bytes);
