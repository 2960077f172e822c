// A small FFT module on float data: complex radix-2 transform, real-signal
// transforms through a half-size complex one, power spectrum and windows.
// Portable; tables are built once per process, safely from any thread.
// Sizes that are not powers of two are reported as errors (false / -1).
#pragma once
#include <cstddef>

enum FftWindowType { kFftBartlett = 1, kFftHamming = 2, kFftHann = 3 };

bool FftIsPow2(int x);
// k for n = 2^k; the number of the lowest set bit otherwise; -1 for n < 2.
int FftLog2(int n);
int FftBitReverse(int bits, int index);
int FftReverseIndex(int index, int bits);

// Complex transform of n points (forward: e^-i; inverse: e^+i and divided by n).
// imagIn may be null (all zero). Outputs must not alias the inputs.
bool FftTransform(int n, bool inverse, const float* realIn, const float* imagIn, float* realOut, float* imagOut);

// n / 2 power values of a real frame of n samples; out[0] holds the power of
// the zero bin plus that of the n / 2 bin.
bool FftPowerSpectrum(int n, const float* in, float* out);

// Bins 0 .. n / 2 (n / 2 + 1 values each) of a real frame of n samples.
// scratch: 2 x n floats of working space, or null to allocate it.
bool FftRealForward(int n, const float* in, float* re, float* im, float* scratch = nullptr);
// The real frame of n samples whose bins 0 .. n / 2 are given (imaginary parts
// of bins 0 and n / 2 are ignored).
bool FftRealInverse(int n, const float* re, const float* im, float* out, float* scratch = nullptr);

void FftApplyWindow(int type, int n, float* data);
