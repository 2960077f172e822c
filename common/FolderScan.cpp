#include "FolderScan.h"
#include "FileFind.h"
#include "String.h"
#include <cwchar>
#include <new>

namespace {

// ANSI text cut to a field of `size` bytes (terminator included), never ending
// in half of a double-byte character.
void CopyAnsi(char* field, size_t size, const CString& text)
{
    std::string bytes = WideToMultiByte(text, text.GetLength(), CP_ACP);
    size_t n = bytes.size() < size - 1 ? bytes.size() : size - 1;
    if (n < bytes.size()) {
        size_t i = 0;
        while (i < n) i += IsDBCSLeadByte((BYTE)bytes[i]) ? 2 : 1;
        if (i > n) n -= 1;
    }
    memcpy(field, bytes.data(), n);
    field[n] = '\0';
}

void CopyWide(wchar_t* field, size_t size, const CString& text)
{
    wcsncpy(field, text, size - 1);
    field[size - 1] = L'\0';
}

} // namespace

int GetMediaClass(const wchar_t* ext)
{
    if (!ext) return MEDIA_NONE;
    static const struct { const wchar_t* ext; int media; } table[] = {
        {L".WAV", MEDIA_AUDIO},
        {L".AVI", MEDIA_VIDEO}, {L".MPEG", MEDIA_VIDEO}, {L".MPG", MEDIA_VIDEO}, {L".WMV", MEDIA_VIDEO},
        {L".BMP", MEDIA_PICTURE}, {L".JPG", MEDIA_PICTURE}, {L".JPEG", MEDIA_PICTURE}, {L".GIF", MEDIA_PICTURE},
    };
    CString upper(ext);
    upper.MakeUpper();
    for (const auto& row : table)
        if (upper == row.ext) return row.media;
    return MEDIA_NONE;
}

BOOL ScanFolder(const wchar_t* folder, CPathInfoList& list, int recurse, int mediaMask)
{
    CString base(folder ? folder : L"");
    CString pattern;
    pattern.Format(base.Right(1) == L"\\" ? L"%s*.*" : L"%s\\*.*", (const wchar_t*)base);

    CFileFind finder;
    BOOL more = finder.FindFile(pattern);
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        const CString path = finder.GetFilePath();
        if (finder.IsDirectory()) {
            if (recurse == 1) ScanFolder(path, list, recurse, mediaMask);
            continue;
        }
        NV_PathInfo* info = new (std::nothrow) NV_PathInfo();
        if (!info) return FALSE;

        // Title and extension split at the last dot, folder at the last separator.
        const CString name = finder.GetFileName();
        const int dot = name.ReverseFind(L'.');
        const CString ext = dot >= 0 ? name.Mid(dot) : CString();
        const CString title = dot >= 0 ? name.Left(dot) : name;
        const CString dir = path.Left(path.ReverseFind(L'\\') + 1);
        if (!(GetMediaClass(ext) & mediaMask)) {
            delete info;
            continue;
        }
        CopyAnsi(info->szExt, sizeof(info->szExt), ext);
        CopyAnsi(info->szFolder, sizeof(info->szFolder), dir);
        CopyAnsi(info->szTitle, sizeof(info->szTitle), title);
        CopyWide(info->wszExt, MAX_PATH, ext);
        CopyWide(info->wszFolder, MAX_PATH, dir);
        CopyWide(info->wszTitle, MAX_PATH, title);
        list.AddTail(info);
    }
    return TRUE;
}

int FreePathInfoList(CPathInfoList& list)
{
    while (!list.IsEmpty()) delete list.RemoveHead();
    return 1;
}
