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
        // Every short row is named at once, not one per Start.
        std::vector<int> shortRows, kept;
        for (int row : checked) (list.Record(row)->playTime < MinAudioTrackSeconds ? shortRows : kept).push_back(row);
        if (!shortRows.empty()) {
            if (!prompts.shortTracks || !prompts.shortTracks(shortRows)) return FALSE;
            for (int row : shortRows) {
                list.SetCheck(row, FALSE);
                list.Record(row)->checked = 0;
            }
            checked = kept;
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
