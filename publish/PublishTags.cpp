#include "PublishTags.h"
#include "Mp3Info.h"
#include "PublishNames.h"

BOOL WriteTags(CPublishListCtrl& list, int currentRow, const CString& album, const CString& path, CString title)
{
    if (path.IsEmpty()) return FALSE;
    PublishItemData* item = list.Record(currentRow);
    if (title.IsEmpty()) title = list.GetItemText(currentRow, CPublishListCtrl::ColumnTrackName);

    std::vector<std::wstring> names;
    for (int row = 0; row < list.GetItemCount(); ++row)
        names.push_back(list.GetItemText(row, CPublishListCtrl::ColumnTrackName).str());
    const std::wstring suffix = publish::TagTitleSuffix(names, title.str(), currentRow);

    int year = item ? item->year : 0;
    if (year < 1) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        year = now.wYear;
        if (item) item->year = year;
    }

    CMp3Info info;
    info.Open(path);   // a file without a tag gets a new one
    info.tagKind = 1;
    if (!info.v1Kind) info.v1Kind = 110;
    info.SetAlbum(album);
    info.SetYear(year);
    info.SetTitle(title, suffix.c_str());
    info.SetGenre(255);
    return info.WriteID3v1();
}
