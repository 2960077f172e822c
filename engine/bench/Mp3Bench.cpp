// MP3 benchmark jobs under Wine, timed inside the process (Wine's start-up is not
// counted). Prints "name seconds" lines for scripts/bench-mp3.sh.
//   Mp3Bench convert <input.wav> <output.mp3>   OpenFileToMp3 at 192 kbps, 44100 Hz, stereo
//   Mp3Bench tags <folder> <list>               Open + ReadMpegInfo of every file in the list
//                                               (name|title|artist|album|year|track per line,
//                                               UTF-8), counting fields that differ
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "ConversionRun.h"
#include "ConvertFile.h"
#include "Mp3Info.h"

namespace {

std::wstring Utf8(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), (int)s.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), (int)s.size(), &w[0], n);
    return w;
}

int Convert(const wchar_t* input, const wchar_t* output)
{
    HWND owner = MakeOwnerWindow();
    CConvertFile convert;
    Mp3OutputSettings s;
    s.bitrate = 192;
    s.sampleRate = 44100;
    s.channels = 2;
    convert.SetMp3Settings(s);
    double start = Now();
    long code = convert.OpenFileToMp3(owner, input, output) ? RunConversion(convert) : -1;
    convert.Close();
    if (code != 1) {
        printf("convert FAILED %ld\n", code);
        return 1;
    }
    printf("convert %.3f\n", Now() - start);
    return 0;
}

int Tags(const std::wstring& folder, const wchar_t* listPath)
{
    FILE* f = _wfopen(listPath, L"rb");
    if (!f) return 1;
    std::vector<std::vector<std::string>> rows;
    char line[4096];
    while (fgets(line, sizeof line, f)) {
        std::string s = line;
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        std::vector<std::string> parts;
        for (size_t at = 0;;) {
            size_t bar = s.find('|', at);
            parts.push_back(s.substr(at, bar - at));
            if (bar == std::string::npos) break;
            at = bar + 1;
        }
        if (parts.size() == 6) rows.push_back(parts);
    }
    fclose(f);
    int differ = 0, mpeg = 0;
    double start = Now();
    std::vector<std::wstring> got[5];
    for (const auto& r : rows) {
        std::wstring path = folder + Utf8(r[0]);
        CMp3Info info;
        info.Open(path.c_str());
        mpeg += info.ReadMpegInfo(path.c_str()) ? 1 : 0;
        info.tagKind = 2;
        CString title, artist, album;
        int year = 0;
        info.GetTitle(title);
        info.GetArtist(artist);
        info.GetAlbum(album);
        info.GetYear(year);
        int track = info.v2Version ? info.fieldSets[info.v2Version / 10 - 22].track : 0;
        differ += (Utf8(r[1]) != title.GetString()) + (Utf8(r[2]) != artist.GetString()) +
                  (Utf8(r[3]) != album.GetString()) + (atoi(r[4].c_str()) != year) + (atoi(r[5].c_str()) != track);
    }
    printf("tags %.3f\n", Now() - start);
    printf("files %d\nmpeg %d\ndiffer %d\n", (int)rows.size(), mpeg, differ);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CoInitialize(nullptr);
    int rc = 2;
    if (argc == 4 && wcscmp(argv[1], L"convert") == 0) rc = Convert(argv[2], argv[3]);
    else if (argc == 4 && wcscmp(argv[1], L"tags") == 0) rc = Tags(argv[2], argv[3]);
    fflush(stdout);
    return rc;
}
