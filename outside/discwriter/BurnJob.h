// One write of an image on a worker thread, shared by both disc libraries: the
// image goes to a ".part" file that is renamed when it is whole (a failed write
// leaves no image), at the writer's speed, failing where the writer says, and
// the completion callback is called once at the end.
#pragma once
#include "ImageStreams.h"
#include "NVBurnCallback.h"
#include "VirtualWriter.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <windows.h>

// Reads files (or a byte range of each, such as a WAV's samples) in turn.
class CFileContentSource : public discimage::IContentSource {
public:
    void Add(const std::wstring& path, uint64_t offset = 0) { m_entries.push_back({path, offset}); }
    void Clear() { m_entries.clear(); }
    bool Open(size_t index) override;
    size_t Read(uint8_t* buffer, size_t count) override;
    void Close() override;
    ~CFileContentSource() override { Close(); }

private:
    struct Entry {
        std::wstring path;
        uint64_t offset;
    };
    std::vector<Entry> m_entries;
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

struct BurnImageSpec {
    std::wstring namePrefix;       // "DataDisc", "AudioDisc"
    std::wstring extension;        // of the main image: ".iso", ".bin"
    std::function<bool(discimage::IImageSink&, discimage::IWriteProgress&)> write;
    // Optional text file beside the image (the CUE sheet), given the image's file
    // name; when present it is the image that LastImage names.
    std::wstring sheetExtension;
    std::function<std::string(const std::string& imageFileName)> sheet;
};

class CBurnJob {
public:
    ~CBurnJob() { Wait(); }
    // False when a write is running already. The worker starts writing only
    // after this returned.
    bool Start(const VirtualWriter& writer, unsigned long sectors, BurnImageSpec spec, NVBurnCallback callback,
               void* context);
    // Returns when no write runs (at once when called from the callback).
    void Wait();
    bool Running() const { return m_running; }

    unsigned long BlocksToWrite() const { return m_toWrite; }
    unsigned long BlocksWritten() const { return m_written; }
    unsigned long ErrorCode() const { return m_errorCode; }

private:
    void Run(VirtualWriter writer, BurnImageSpec spec, NVBurnCallback callback, void* context);
    bool WriteImage(const VirtualWriter& writer, const BurnImageSpec& spec, std::wstring& image);

    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<unsigned long> m_toWrite{0}, m_written{0}, m_errorCode{0};
};
