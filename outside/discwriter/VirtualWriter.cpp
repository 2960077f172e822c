#include "VirtualWriter.h"

#include <shlobj.h>
#include <algorithm>
#include <cwchar>

namespace {

const wchar_t* const DefaultWriterName = L"Disc Image Writer";

struct MediumText {
    DiscMedium medium;
    const wchar_t* text;
};
const MediumText MediumTexts[] = {
    {DiscMedium::None, L"none"},         {DiscMedium::Cdr, L"cdr"},
    {DiscMedium::Cdrw, L"cdrw"},         {DiscMedium::CdrWritten, L"cdr-written"},
    {DiscMedium::CdrwWritten, L"cdrw-written"}, {DiscMedium::Cdrom, L"cdrom"},
};

std::wstring ReadText(const std::wstring& ini, const std::wstring& section, const wchar_t* key)
{
    wchar_t buffer[1024] = L"";
    GetPrivateProfileStringW(section.c_str(), key, L"", buffer, 1024, ini.c_str());
    return buffer;
}

unsigned long ReadNumber(const std::wstring& ini, const std::wstring& section, const wchar_t* key,
                         unsigned long fallback)
{
    const std::wstring text = ReadText(ini, section, key);
    if (text.empty()) return fallback;
    return wcstoul(text.c_str(), nullptr, 0);   // decimal or 0x...
}

DiscMedium ParseMedium(const std::wstring& text)
{
    for (const MediumText& m : MediumTexts)
        if (_wcsicmp(m.text, text.c_str()) == 0) return m.medium;
    return DiscMedium::None;
}

std::wstring DefaultImageFolder()
{
    wchar_t documents[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents);
    return std::wstring(documents) + L"\\Disc Images";
}

VirtualWriter DefaultWriter()
{
    VirtualWriter w;
    w.section = L"Writer1";
    w.name = DefaultWriterName;
    w.imageFolder = DefaultImageFolder();
    return w;
}

// "Writer<n>" sections in the order of n.
std::vector<std::pair<int, std::wstring>> WriterSections(const std::wstring& ini)
{
    std::vector<wchar_t> names(32768);
    const DWORD length = GetPrivateProfileSectionNamesW(names.data(), DWORD(names.size()), ini.c_str());
    std::vector<std::pair<int, std::wstring>> sections;
    for (const wchar_t* p = names.data(); p < names.data() + length && *p; p += wcslen(p) + 1) {
        if (_wcsnicmp(p, L"Writer", 6) != 0) continue;
        wchar_t* end = nullptr;
        const long n = wcstol(p + 6, &end, 10);
        if (end != p + 6 && *end == 0 && n > 0) sections.push_back({int(n), p});
    }
    std::sort(sections.begin(), sections.end());
    return sections;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A write-back to a file that is not there yet first records the default writer.
void EnsureIni(const VirtualWriter& writer)
{
    const std::wstring ini = CVirtualWriters::IniPath();
    if (Exists(ini)) return;
    WritePrivateProfileStringW(writer.section.c_str(), L"Name", writer.name.c_str(), ini.c_str());
    WritePrivateProfileStringW(writer.section.c_str(), L"ImageFolder", writer.imageFolder.c_str(), ini.c_str());
}

}  // namespace

unsigned char VirtualWriter::Kind() const
{
    switch (medium) {
    case DiscMedium::Cdrom: return DiscKindCdRom;
    case DiscMedium::Cdr:
    case DiscMedium::CdrWritten: return DiscKindCdR;
    case DiscMedium::Cdrw:
    case DiscMedium::CdrwWritten: return DiscKindCdRw;
    default: return DiscKindNone;
    }
}

std::wstring CVirtualWriters::IniPath()
{
    // Test programs that share one folder of libraries each name a file of their
    // own, so that runs side by side never rewrite each other's writers.
    wchar_t chosen[MAX_PATH * 2] = L"";
    const DWORD length = GetEnvironmentVariableW(WriterIniVariable, chosen, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2) return chosen;

    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&CVirtualWriters::IniPath), &module);
    wchar_t path[MAX_PATH * 2] = L"";
    GetModuleFileNameW(module, path, MAX_PATH * 2);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + L"DiscWriter.ini";
}

std::vector<VirtualWriter> CVirtualWriters::Read()
{
    const std::wstring ini = IniPath();
    if (!Exists(ini)) return {DefaultWriter()};
    std::vector<VirtualWriter> writers;
    for (const auto& section : WriterSections(ini)) {
        VirtualWriter w;
        w.section = section.second;
        w.name = ReadText(ini, w.section, L"Name");
        if (w.name.empty()) w.name = DefaultWriterName;
        const std::wstring medium = ReadText(ini, w.section, L"Medium");
        w.medium = medium.empty() ? DiscMedium::Cdr : ParseMedium(medium);
        w.blocks = ReadNumber(ini, w.section, L"Blocks", DefaultDiscBlocks);
        w.speed = ReadNumber(ini, w.section, L"Speed", 0);
        w.imageFolder = ReadText(ini, w.section, L"ImageFolder");
        if (w.imageFolder.empty()) w.imageFolder = DefaultImageFolder();
        w.failAtBlock = ReadNumber(ini, w.section, L"FailAtBlock", 0);
        w.failCode = ReadNumber(ini, w.section, L"FailCode", WriteErrorCode);
        writers.push_back(w);
    }
    return writers;
}

bool CVirtualWriters::Find(unsigned char index, VirtualWriter& writer)
{
    const std::vector<VirtualWriter> writers = Read();
    if (index >= writers.size()) return false;
    writer = writers[index];
    return true;
}

const wchar_t* CVirtualWriters::MediumName(DiscMedium medium)
{
    for (const MediumText& m : MediumTexts)
        if (m.medium == medium) return m.text;
    return L"none";
}

DiscMedium CVirtualWriters::WrittenForm(DiscMedium medium)
{
    if (medium == DiscMedium::Cdr) return DiscMedium::CdrWritten;
    if (medium == DiscMedium::Cdrw) return DiscMedium::CdrwWritten;
    return medium;
}

void CVirtualWriters::StoreMedium(const VirtualWriter& writer, DiscMedium medium)
{
    EnsureIni(writer);
    WritePrivateProfileStringW(writer.section.c_str(), L"Medium", MediumName(medium), IniPath().c_str());
}

void CVirtualWriters::StoreLastImage(const VirtualWriter& writer, const std::wstring& image)
{
    EnsureIni(writer);
    WritePrivateProfileStringW(writer.section.c_str(), L"LastImage", image.c_str(), IniPath().c_str());
}
