// What a WAV writer tells about the files of one recording: each file as it
// starts, the sound bytes that reached it, and its end. The peak file of every
// WAV, continuation files included, follows its WAV this way.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "PcmConverter.h"

class IWavFileListener {
public:
    virtual ~IWavFileListener() = default;
    virtual void FileStarted(const std::wstring& path, const PcmLayout& format) = 0;
    virtual void DataWritten(const uint8_t* data, size_t bytes) = 0;
    virtual void FileFinished() = 0;
};
