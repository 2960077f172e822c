// One measurement of the audio analyzer: 88 bytes, little-endian, passed between
// modules as a plain buffer. Portable: no platform types.
#pragma once
#include <cstddef>
#include <cstdint>

const int kAnalyzerBands = 30;

struct AnalyzerRecord {
    uint8_t channels;
    uint8_t bitsPerSample;
    uint16_t sampleRate;                 // the low 16 bits of the rate
    uint8_t leftBands[kAnalyzerBands];   // 0 to 99, band 0 lowest
    uint8_t rightBands[kAnalyzerBands];
    double leftLevelDb;                  // -80.0 to 20.0
    double rightLevelDb;
    int64_t mediaTime;                   // of the block's first byte, 100-ns units
};

static_assert(sizeof(AnalyzerRecord) == 88, "AnalyzerRecord crosses modules as 88 bytes");
static_assert(offsetof(AnalyzerRecord, leftBands) == 4, "layout");
static_assert(offsetof(AnalyzerRecord, rightBands) == 34, "layout");
static_assert(offsetof(AnalyzerRecord, leftLevelDb) == 64, "layout");
static_assert(offsetof(AnalyzerRecord, rightLevelDb) == 72, "layout");
static_assert(offsetof(AnalyzerRecord, mediaTime) == 80, "layout");
