#include "BurnJob.h"

#include <shlobj.h>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

class CFileSink : public discimage::IImageSink {
public:
    explicit CFileSink(HANDLE file) : m_file(file) {}
    // A full volume first takes a short write, then fails: write on to learn why.
    bool Write(const uint8_t* data, size_t count) override
    {
        while (count > 0) {
            DWORD done = 0;
            if (!WriteFile(m_file, data, DWORD(count), &done, nullptr) || done == 0) return false;
            data += done;
            count -= done;
        }
        return true;
    }

private:
    HANDLE m_file;
};

// Counts sectors for the progress, keeps the writer's speed and fails at its
// failure sector.
class CJobProgress : public discimage::IWriteProgress {
public:
    CJobProgress(const VirtualWriter& writer, std::atomic<unsigned long>& written, std::atomic<unsigned long>& error)
        : m_writer(writer), m_written(written), m_error(error), m_start(std::chrono::steady_clock::now())
    {
    }

    bool SectorsWritten(uint32_t total) override
    {
        if (m_writer.failAtBlock != 0 && total >= m_writer.failAtBlock) {
            m_written = m_writer.failAtBlock;
            m_error = m_writer.failCode;
            return false;
        }
        m_written = total;
        if (m_writer.speed != 0) {
            const auto due = m_start + std::chrono::milliseconds(uint64_t(total) * 1000 / (m_writer.speed * 75));
            std::this_thread::sleep_until(due);
        }
        return true;
    }

private:
    const VirtualWriter& m_writer;
    std::atomic<unsigned long>& m_written;
    std::atomic<unsigned long>& m_error;
    std::chrono::steady_clock::time_point m_start;
};

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Narrow(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

// The first "<prefix>NNN" in the folder of which no file exists yet.
std::wstring FreeBaseName(const std::wstring& folder, const BurnImageSpec& spec)
{
    for (unsigned n = 1;; ++n) {
        wchar_t number[16];
        _snwprintf(number, 16, L"%03u", n);
        const std::wstring base = folder + L"\\" + spec.namePrefix + number;
        if (Exists(base + spec.extension) || Exists(base + spec.extension + L".part") ||
            (!spec.sheetExtension.empty() && Exists(base + spec.sheetExtension)))
            continue;
        return base;
    }
}

bool WriteTextFile(const std::wstring& path, const std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CFileSink sink(file);
    const bool ok = sink.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    CloseHandle(file);
    if (!ok) DeleteFileW(path.c_str());
    return ok;
}

}  // namespace

bool CFileContentSource::Open(size_t index)
{
    Close();
    if (index >= m_entries.size()) return false;
    m_file = CreateFileW(m_entries[index].path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER at;
    at.QuadPart = LONGLONG(m_entries[index].offset);
    if (!SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN)) {
        Close();
        return false;
    }
    return true;
}

size_t CFileContentSource::Read(uint8_t* buffer, size_t count)
{
    DWORD done = 0;
    if (m_file == INVALID_HANDLE_VALUE || !ReadFile(m_file, buffer, DWORD(count), &done, nullptr)) return 0;
    return done;
}

void CFileContentSource::Close()
{
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

bool CBurnJob::Start(const VirtualWriter& writer, unsigned long sectors, BurnImageSpec spec, NVBurnCallback callback,
                     void* context)
{
    if (m_running) return false;
    if (m_thread.joinable()) {   // a finished write, or its own callback starting the next
        if (m_thread.get_id() == std::this_thread::get_id()) m_thread.detach();
        else m_thread.join();
    }
    m_toWrite = sectors;
    m_written = 0;
    m_errorCode = 0;
    m_running = true;
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread([this, writer, spec, callback, context, gate]() {
        WaitForSingleObject(gate, INFINITE);
        CloseHandle(gate);
        Run(writer, spec, callback, context);
    });
    SetEvent(gate);
    return true;
}

void CBurnJob::Wait()
{
    if (!m_thread.joinable() || m_thread.get_id() == std::this_thread::get_id()) return;
    m_thread.join();
}

bool CBurnJob::WriteImage(const VirtualWriter& writer, const BurnImageSpec& spec, std::wstring& image)
{
    const int made = SHCreateDirectoryExW(nullptr, writer.imageFolder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS) return false;
    const std::wstring base = FreeBaseName(writer.imageFolder, spec);
    const std::wstring final = base + spec.extension;
    const std::wstring part = final + L".part";
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CFileSink sink(file);
    CJobProgress progress(writer, m_written, m_errorCode);
    bool ok = spec.write(sink, progress);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileW(part.c_str(), final.c_str());
    if (!ok) {
        DeleteFileW(part.c_str());
        return false;
    }
    image = final;
    if (spec.sheet) {
        const std::wstring sheet = base + spec.sheetExtension;
        const std::wstring imageName = final.substr(final.find_last_of(L'\\') + 1);
        if (!WriteTextFile(sheet, spec.sheet(Narrow(imageName)))) {
            DeleteFileW(final.c_str());
            return false;
        }
        image = sheet;
    }
    return true;
}

void CBurnJob::Run(VirtualWriter writer, BurnImageSpec spec, NVBurnCallback callback, void* context)
{
    std::wstring image;
    const bool ok = WriteImage(writer, spec, image);
    if (ok) {
        m_written = m_toWrite.load();
        CVirtualWriters::StoreMedium(writer, CVirtualWriters::WrittenForm(writer.medium));
        CVirtualWriters::StoreLastImage(writer, image);
    } else if (m_errorCode == 0) {
        m_errorCode = WriteErrorCode;
    }
    m_running = false;
    if (callback) callback(ok ? 0 : 1, context);
}
