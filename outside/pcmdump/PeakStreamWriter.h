// The peak data file of a WAV that is being written: the kept frames are
// collected while the sound streams by and the file is written when it ends.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "PcmConverter.h"
#include "PeakFile.h"

class CPeakStreamWriter {
public:
    void Start(const std::wstring& wavPath, const PcmLayout& format);
    void Feed(const uint8_t* data, size_t bytes);
    // Writes "<wav less its extension>.npk"; false when it cannot be written.
    bool Finish();
    bool IsActive() const { return m_decimator != nullptr; }

private:
    std::wstring m_wavPath;
    PcmLayout m_format;
    std::unique_ptr<CPeakDecimator> m_decimator;
    std::vector<uint8_t> m_values;
};
