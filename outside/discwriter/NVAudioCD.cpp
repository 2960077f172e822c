#include "NVAudioCD.h"
#include "BurnJob.h"
#include "CueBinWriter.h"
#include "VirtualWriter.h"
#include "WavHeader.h"

#include <memory>

namespace {

const uint32_t MinimumTrackBytes = 4 * 176400;   // 4 seconds of CD audio
const unsigned long LeadInPregap = 150;          // track 1's pregap: on the disc, not in the image

struct AudioLibrary {
    unsigned char drive = 0;
    unsigned char burnMode = 0;
    discimage::CCueBinWriter image;
    std::shared_ptr<CFileContentSource> source = std::make_shared<CFileContentSource>();
    CBurnJob job;
};

AudioLibrary& Library()
{
    static AudioLibrary library;
    return library;
}

// The samples of a CD-format WAV: false for anything else.
bool ReadCdWav(const wchar_t* path, WavHeaderInfo& info)
{
    if (!path) return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    auto readAt = [file](uint64_t offset, void* buffer, size_t count) -> size_t {
        LARGE_INTEGER at;
        at.QuadPart = LONGLONG(offset);
        DWORD done = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, buffer, DWORD(count), &done, nullptr))
            return 0;
        return done;
    };
    const WavHeaderStatus status = ParseWavHeader(readAt, uint64_t(size.QuadPart), info);
    CloseHandle(file);
    return status == WavHeaderStatus::Ok && info.formatTag == 1 && info.sampleRate == 44100 &&
           info.channels == 2 && info.bitsPerSample == 16 && info.blockAlign == 4 &&
           info.dataSize >= MinimumTrackBytes;
}

}  // namespace

int CNVAudioCD::ChooseDrive(unsigned char index)
{
    VirtualWriter writer;
    if (!CVirtualWriters::Find(index, writer)) return 0;
    Library().drive = index;
    return 1;
}

int CNVAudioCD::UnloadMedium()
{
    VirtualWriter writer;
    if (!CVirtualWriters::Find(Library().drive, writer)) return 0;
    Library().job.Wait();
    CVirtualWriters::StoreMedium(writer, DiscMedium::None);
    return 1;
}

int CNVAudioCD::Free()
{
    AudioLibrary& lib = Library();
    lib.job.Wait();
    lib.image.Clear();
    lib.source = std::make_shared<CFileContentSource>();
    return 1;
}

void CNVAudioCD::SetFinalizeDisc(int) {}   // images are always closed

void CNVAudioCD::SetBurnMode(unsigned char mode) { Library().burnMode = mode; }

int CNVAudioCD::GetValidW(wchar_t* path)
{
    WavHeaderInfo info;
    return ReadCdWav(path, info) ? 1 : 0;
}

int CNVAudioCD::AddAudioW(wchar_t* path, int, unsigned short pregapSectors, int)
{
    AudioLibrary& lib = Library();
    WavHeaderInfo info;
    if (lib.job.Running() || !ReadCdWav(path, info)) return 0;
    // Whole frames only: a torn last frame would shift the next track's channels.
    if (!lib.image.AddTrack(info.dataSize / 4 * 4, pregapSectors)) return 0;
    lib.source->Add(path, info.dataOffset);
    return 1;
}

int CNVAudioCD::StartBurn(NVBurnCallback callback, void* context)
{
    AudioLibrary& lib = Library();
    VirtualWriter writer;
    if (lib.image.TrackCount() == 0 || lib.job.Running() || !CVirtualWriters::Find(lib.drive, writer)) return 0;
    const unsigned long sectors = lib.image.TotalSectors();
    if (sectors + LeadInPregap > writer.FreeBlocks()) return 0;

    BurnImageSpec spec;
    spec.namePrefix = L"AudioDisc";
    spec.extension = L".bin";
    spec.sheetExtension = L".cue";
    const discimage::CCueBinWriter* image = &lib.image;
    std::shared_ptr<CFileContentSource> source = lib.source;
    spec.write = [image, source](discimage::IImageSink& sink, discimage::IWriteProgress& progress) {
        return image->WriteBin(sink, *source, progress);
    };
    spec.sheet = [image](const std::string& binName) { return image->CueSheet(binName); };
    return lib.job.Start(writer, sectors, spec, callback, context) ? 1 : 0;
}

unsigned long CNVAudioCD::GetBlocksToWrite() { return Library().job.BlocksToWrite(); }
unsigned long CNVAudioCD::GetBlocksWritten() { return Library().job.BlocksWritten(); }
unsigned long CNVAudioCD::GetErrorCode() { return Library().job.ErrorCode(); }
