#include "NVDataCDDVD.h"
#include "BurnJob.h"
#include "IsoImageWriter.h"
#include "VirtualWriter.h"

#include <cstring>
#include <memory>
#include <mutex>

namespace {

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

struct DataFile {
    std::wstring source, longName, shortName;
};

// Everything the library keeps for its process.
struct DataLibrary {
    unsigned char drive = 0;
    unsigned char burnMode = 0;
    std::wstring label;
    std::vector<DataFile> files;
    discimage::CIsoImageWriter image;
    bool laidOut = false;
    CBurnJob job;
    char names[256][MAX_PATH + 1] = {};   // stable answers of GetDriveName
};

DataLibrary& Library()
{
    static DataLibrary library;
    return library;
}

bool CurrentWriter(VirtualWriter& writer) { return CVirtualWriters::Find(Library().drive, writer); }

uint64_t FileSize(const std::wstring& path, bool& found)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    found = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    return found ? (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow : 0;
}

}  // namespace

int CNVDataCDDVD::Initialize() { return 1; }

void CNVDataCDDVD::SetBurnMode(unsigned char mode) { Library().burnMode = mode; }

unsigned char CNVDataCDDVD::GetDriveCount()
{
    const size_t count = CVirtualWriters::Read().size();
    return (unsigned char)(count > 255 ? 255 : count);
}

char* CNVDataCDDVD::GetDriveName(unsigned char index)
{
    char* name = Library().names[index];
    name[0] = 0;
    VirtualWriter writer;
    if (CVirtualWriters::Find(index, writer))
        WideCharToMultiByte(CP_ACP, 0, writer.name.c_str(), -1, name, MAX_PATH, nullptr, nullptr);
    name[MAX_PATH] = 0;
    return name;
}

int CNVDataCDDVD::ChooseDrive(unsigned char index)
{
    VirtualWriter writer;
    if (!CVirtualWriters::Find(index, writer)) return 0;
    Library().drive = index;
    return 1;
}

int CNVDataCDDVD::TestUnitReady()
{
    VirtualWriter writer;
    return CurrentWriter(writer) && writer.medium != DiscMedium::None ? 1 : 0;
}

unsigned char CNVDataCDDVD::GetDiscType()
{
    VirtualWriter writer;
    return CurrentWriter(writer) ? writer.Kind() : DiscKindNone;
}

int CNVDataCDDVD::SupportDisc(unsigned char code)
{
    const unsigned char kind = GetDiscType();
    return (code == 11 && kind == DiscKindCdR) || (code == 12 && kind == DiscKindCdRw) ? 1 : 0;
}

unsigned long CNVDataCDDVD::GetFreeDiscBlock()
{
    VirtualWriter writer;
    return CurrentWriter(writer) ? writer.FreeBlocks() : 0;
}

int CNVDataCDDVD::UnloadMedium()
{
    VirtualWriter writer;
    if (!CurrentWriter(writer)) return 0;
    Library().job.Wait();
    CVirtualWriters::StoreMedium(writer, DiscMedium::None);
    return 1;
}

void CNVDataCDDVD::Free()
{
    DataLibrary& lib = Library();
    lib.job.Wait();
    lib.files.clear();
    lib.image.Clear();
    lib.laidOut = false;
}

unsigned long CNVDataCDDVD::LoadSession() { return 0; }   // blank discs only: the first session starts at 0

void CNVDataCDDVD::SetDiscLabel(char* label)
{
    wchar_t wide[64] = L"";
    if (label) MultiByteToWideChar(CP_ACP, 0, label, -1, wide, 63);
    Library().label = std::wstring(wide).substr(0, 16);
}

void CNVDataCDDVD::SetFinalizeDisc(int) {}   // images are always closed

void CNVDataCDDVD::AddFileW(wchar_t*, wchar_t* sourcePath, wchar_t* longName, wchar_t* shortName)
{
    if (!sourcePath) return;
    DataLibrary& lib = Library();
    lib.files.push_back({sourcePath, longName ? longName : L"", shortName ? shortName : L""});
    lib.laidOut = false;
}

unsigned long CNVDataCDDVD::Ready()
{
    DataLibrary& lib = Library();
    lib.image.Clear();
    lib.laidOut = false;
    lib.image.SetLabel(U16(lib.label));
    lib.image.SetTime(time(nullptr));
    for (const DataFile& f : lib.files) {
        bool found = false;
        const uint64_t size = FileSize(f.source, found);
        if (!found || size > 0xFFFFFFFFull) return 0;   // level 1 holds files below 4 GB
        const std::wstring longName = f.longName.empty() ? f.source.substr(f.source.find_last_of(L"\\/") + 1) : f.longName;
        lib.image.AddFile(U16(longName), U16(f.shortName.empty() ? longName : f.shortName), size);
    }
    const uint32_t sectors = lib.image.Layout();
    lib.laidOut = !lib.files.empty();
    return lib.laidOut ? sectors : 0;
}

int CNVDataCDDVD::StartBurnData(NVBurnCallback callback, void* context)
{
    DataLibrary& lib = Library();
    VirtualWriter writer;
    if (!lib.laidOut || lib.job.Running() || !CurrentWriter(writer)) return 0;
    const unsigned long sectors = lib.image.TotalSectors();
    if (sectors > writer.FreeBlocks()) return 0;

    auto source = std::make_shared<CFileContentSource>();
    for (const DataFile& f : lib.files) source->Add(f.source);
    BurnImageSpec spec;
    spec.namePrefix = L"DataDisc";
    spec.extension = L".iso";
    discimage::CIsoImageWriter* image = &lib.image;
    spec.write = [image, source](discimage::IImageSink& sink, discimage::IWriteProgress& progress) {
        return image->Write(sink, *source, progress);
    };
    return lib.job.Start(writer, sectors, spec, callback, context) ? 1 : 0;
}

unsigned long CNVDataCDDVD::GetBlocksToWrite() { return Library().job.BlocksToWrite(); }
unsigned long CNVDataCDDVD::GetBlocksWritten() { return Library().job.BlocksWritten(); }
unsigned long CNVDataCDDVD::GetErrorCode() { return Library().job.ErrorCode(); }

int CNVDataCDDVD::Uninitialize()
{
    Library().job.Wait();
    return 1;
}
