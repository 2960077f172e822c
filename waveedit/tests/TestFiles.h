// Fixtures made by the tests themselves: WAV files built chunk by chunk.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& b, uint16_t v);
void PutU32(Bytes& b, uint32_t v);
void PutId(Bytes& b, const char* id);
void PutChunk(Bytes& b, const char* id, const Bytes& data, bool pad = true);
Bytes FmtChunkData(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint16_t extraBytes = 0);
// RIFF/WAVE around the given chunks (the RIFF size is set from them).
Bytes RiffWave(const Bytes& chunks);
// A plain 44-byte-header PCM WAV holding the given sample bytes.
Bytes PlainWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& samples);
Bytes Samples16(const std::vector<int16_t>& v);

std::wstring TempPath(const std::wstring& name);  // in a per-run folder
void WriteBytes(const std::wstring& path, const Bytes& b);
Bytes ReadBytes(const std::wstring& path);
uint32_t GetU32At(const Bytes& b, size_t offset);
