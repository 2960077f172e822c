#include "PublishFileAdd.h"
#include "GetMediaPlayTime.h"
#include "Mp3Info.h"
#include "PublishNames.h"

#include <map>
#include <string>

namespace {

std::wstring Lower(std::wstring text)
{
    if (!text.empty()) CharLowerBuffW(&text[0], DWORD(text.size()));
    return text;
}

// The tag-free copies made so far, by source: a source keeps its copy for the
// whole process, and two sources of one name get two copies.
std::map<std::wstring, std::wstring>& TagFreeCopies()
{
    static std::map<std::wstring, std::wstring> copies;
    return copies;
}

void ReadFields(CMp3Info& info, ListedFileTag& tag)
{
    info.GetAlbum(tag.album);
    info.GetArtist(tag.artist);
    info.GetTitle(tag.title);
    info.GetYear(tag.year);
}

}  // namespace

BOOL PrepareListedMp3(const CString& path, const CString& copyExtension, CString& listed, ListedFileTag& tag)
{
    listed = path;
    CMp3Info info;
    if (!info.Open(path)) return FALSE;
    if (info.v2Version == 220 || info.v2Version == 230 || info.v2Version == 240) {
        info.tagKind = 2;
        ReadFields(info, tag);
        if (info.ConvertToID3v1(110)) {
            wchar_t temp[MAX_PATH] = {};
            GetTempPathW(MAX_PATH, temp);
            const std::wstring folder = std::wstring(temp) + L"TmpF\\";
            CreateDirectoryW(folder.c_str(), nullptr);
            const std::wstring key = Lower(path.str());
            auto& copies = TagFreeCopies();
            auto known = copies.find(key);
            std::wstring copy;
            if (known != copies.end() && publish::NameOnDisk(known->second)) {
                copy = known->second;
            } else {
                std::wstring title = path.str().substr(path.str().find_last_of(L"\\/") + 1);
                const size_t dot = title.rfind(L'.');
                if (dot != std::wstring::npos) title.erase(dot);
                copy = publish::FreeName(folder + title + copyExtension.str(), publish::NameOnDisk);
                if (!info.StripID3v2(path, copy.c_str())) return FALSE;
                CMp3Info stripped;
                stripped.Open(copy.c_str());
                memcpy(stripped.v11Record, info.v11Record, sizeof info.v11Record);
                stripped.v1Kind = 110;
                stripped.tagKind = 1;
                stripped.WriteID3v1();
                copies[key] = copy;
            }
            listed = copy.c_str();
        }
    } else if (info.v1Kind == 100 || info.v1Kind == 110) {
        info.tagKind = 1;
        ReadFields(info, tag);
    }
    return CMp3Info::CanRender(listed);
}

BOOL AddListedFile(CPublishListCtrl& list, const CString& source, const AddFileTexts& texts)
{
    CString path = source;
    ListedFileTag tag;   // every file starts from an empty tag
    if (Lower(path.Right(3).str()) == L"mp3") {
        CString prepared;
        if (PrepareListedMp3(path, texts.copyExtension, prepared, tag)) path = prepared;
    }
    CGetMediaPlayTime playTime;
    if (!playTime.Open(path)) {
        CString text = texts.openError;
        text += L"\n";
        text += source;
        ::MessageBoxW(texts.owner, text, texts.title, MB_ICONEXCLAMATION);
        return FALSE;
    }
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const PublishItemData* item = list.Record(row);
        if (item && item->kind == PublishKindFile && _wcsicmp(item->UserPath(), source) == 0) return FALSE;
    }
    PublishItemData item;
    item.kind = PublishKindFile;
    item.sourcePath = path;
    // The row is shown and its output named after the user's file, not the copy.
    if (path != source) item.userPath = source;
    item.playTime = playTime.GetPlayTime();
    item.checked = 1;
    item.nameFixed = 1;
    if (!tag.title.IsEmpty()) {
        item.trackName = tag.title;
        item.year = tag.year;
        item.album = tag.album;
    }
    list.AddItem(list.GetItemCount(), item);
    return TRUE;
}
