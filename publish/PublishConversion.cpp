#include "PublishConversion.h"
#include "PublishNames.h"

#include <algorithm>

BOOL OpenItemConversion(CConvertFile& convert, HWND notify, const PublishItemData& item, const wchar_t* output,
                        bool toMp3)
{
    if (item.kind == PublishKindTrack)
        return toMp3 ? convert.OpenTrackToMp3(notify, item.sourcePath, output, item.StartByte(), item.EndByte())
                     : convert.OpenTrackToPCM(notify, item.sourcePath, output, item.StartByte(), item.EndByte());
    if (item.kind == PublishKindFile)
        return toMp3 ? convert.OpenFileToMp3(notify, item.sourcePath, output)
                     : convert.OpenFileToPCM(notify, item.sourcePath, output, TRUE);
    return FALSE;
}

bool OutputNameTaken(const CPublishListCtrl& list, const std::vector<CString>& made, const std::wstring& name)
{
    if (publish::NameOnDisk(name)) return true;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const PublishItemData* item = list.Record(row);
        if (item && (_wcsicmp(item->UserPath(), name.c_str()) == 0 || _wcsicmp(item->sourcePath, name.c_str()) == 0))
            return true;
    }
    for (const CString& file : made)
        if (_wcsicmp(file, name.c_str()) == 0) return true;
    return false;
}

std::wstring StartItemConversion(CConvertFile& convert, HWND notify, const PublishItemData& item,
                                 const std::wstring& intended, bool toMp3,
                                 const std::function<bool(const std::wstring&)>& taken)
{
    const HRESULT fileExists = HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    const HRESULT alreadyExists = HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    std::vector<std::wstring> passed;
    // A few tries: names rarely turn up between the check and the create.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::wstring output = publish::FreeName(intended, [&](const std::wstring& name) {
            if (taken(name)) return true;
            for (const std::wstring& other : passed)
                if (_wcsicmp(other.c_str(), name.c_str()) == 0) return true;
            return false;
        });
        const BOOL opened = OpenItemConversion(convert, notify, item, output.c_str(), toMp3);
        if (opened && convert.Run()) return output;
        const HRESULT why = opened ? convert.GetRunResult() : S_OK;
        convert.Close();
        if (why != fileExists && why != alreadyExists) return std::wstring();
        passed.push_back(output);
    }
    return std::wstring();
}
