#include "PublishItemCheck.h"

BOOL CheckItems(CPublishListCtrl& list, bool audioCd, const ItemCheckPrompts& prompts, std::vector<int>* rows)
{
    std::vector<int> checked;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetCheck(row) && list.Record(row)) checked.push_back(row);
    if (checked.empty()) {
        CString text;
        text.LoadString(prompts.noFileId);
        MessageBoxW(prompts.owner, text, prompts.title, MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    if (audioCd) {
        for (size_t i = checked.size(); i-- > 0;) {
            PublishItemData* item = list.Record(checked[i]);
            if (item->playTime >= MinAudioTrackSeconds) continue;
            if (!prompts.shortTrack || !prompts.shortTrack(checked[i], *item)) return FALSE;
            list.SetCheck(checked[i], FALSE);
            item->checked = 0;
            checked.erase(checked.begin() + i);
        }
        if (checked.empty()) return FALSE;
        if (int(checked.size()) > MaxAudioTracks) {
            if (prompts.tooManyTracks) prompts.tooManyTracks(int(checked.size()));
            return FALSE;
        }
    }
    if (rows) *rows = checked;
    return TRUE;
}
