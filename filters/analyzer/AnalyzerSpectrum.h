// The analyzer's arithmetic: one block of 2048 frames becomes 30 spectrum bands
// and a level in dB per channel, and samples are scaled in place with
// saturation (gain and mute). Portable numeric code.
#pragma once
#include "AnalyzerRecord.h"
#include <cstddef>
#include <cstdint>

const int kAnalyzerBlockFrames = 2048;

// Band widths in FFT bins, lowest band first; they add up to 256 bins.
extern const int kAnalyzerBandWidths[kAnalyzerBands];

// Unnormalised forward FFT, radix 2, decimation in time, double precision.
// Does nothing (false) unless n is a power of two >= 2 and realIn, realOut and
// imagOut are given; a missing imagIn counts as zeros.
bool SpectrumFft(int n, const double* realIn, const double* imagIn, double* realOut, double* imagOut);

// Fills the record's format fields, band values and levels from one block of
// interleaved PCM (1 or 2 channels, 8 or 16 bits). For mono only the left values
// are written. Other layouts leave the record untouched and return false.
bool AnalyzeBlock(const uint8_t* block, int channels, int bitsPerSample, int sampleRate, AnalyzerRecord& record);

// Band values (0 to 99) of one channel of 2048 values, and its level in dB.
void ChannelBands(const double* values, uint8_t* bands);
double ChannelLevelDb(const double* values);

// Multiplies the samples of a stretch of stream data in place, limited to the
// sample range (16-bit signed; any other depth byte by byte as 8-bit unsigned).
void ApplyFactor(uint8_t* data, size_t byteLength, int bitsPerSample, float factor);
