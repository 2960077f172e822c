// The peak data file of a WAV that is being written: the kept frames are
// collected while the sound streams by and the file is written when it ends.
// As a listener of the WAV writer it writes one peak file per WAV file.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "PcmConverter.h"
#include "PeakFile.h"
#include "WavFileListener.h"

class CPeakStreamWriter : public IWavFileListener {
public:
    void Start(const std::wstring& wavPath, const PcmLayout& format);
    void Feed(const uint8_t* data, size_t bytes);
    // Writes "<wav less its extension>.npk"; false when it cannot be written
    // (a peak file that could not be written whole is not left behind).
    bool Finish();
    bool IsActive() const { return m_decimator != nullptr; }

    void FileStarted(const std::wstring& path, const PcmLayout& format) override { Start(path, format); }
    void DataWritten(const uint8_t* data, size_t bytes) override { Feed(data, bytes); }
    void FileFinished() override { Finish(); }

private:
    std::wstring m_wavPath;
    PcmLayout m_format;
    std::unique_ptr<CPeakDecimator> m_decimator;
    std::vector<uint8_t> m_values;
};
