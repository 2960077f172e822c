// The check of the publish list before a run, shared by the publish dialog and
// the wizard's burn page: which rows are checked, and whether an audio CD can
// take them. Each caller says how it refuses (its own texts and title).
#pragma once
#include "PublishListCtrl.h"

#include <functional>
#include <vector>

const double MinAudioTrackSeconds = 4.0;
const int MaxAudioTracks = 99;

struct ItemCheckPrompts {
    HWND owner = nullptr;
    CString title;        // message-box title
    UINT noFileId = 0;    // "No file selected..." (stop icon)
    // Audio CD, the checked rows under 4.0 seconds, all at once in list order:
    // true unchecks them and goes on, false refuses. Unset: refuse.
    std::function<bool(const std::vector<int>& rows)> shortTracks;
    // Audio CD, 100 or more checked rows; the run is refused in any case.
    std::function<void(int checkedRows)> tooManyTracks;
};

// TRUE when the run may start; `rows` gets the checked rows that have a record.
BOOL CheckItems(CPublishListCtrl& list, bool audioCd, const ItemCheckPrompts& prompts, std::vector<int>* rows = nullptr);
