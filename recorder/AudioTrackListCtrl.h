// CAudioTrackListCtrl: the Edit page's list of the tracks of the recording in the
// wave editor, one row per span between consecutive split points. It follows the
// editor's split-point notifications, and its check boxes are the tracks'
// selected flags, which the effects and the Publish dialog read.
#pragma once
#include "BListCtrl.h"
#include "PublishItemData.h"

class NV_WaveEditXCtrl;
class CTrackList;

// "00 : 01 : 05.25" for a frame count at a sample rate (rounded to hundredths).
CString TrackTimeText(int64_t frames, int rate);

class CAudioTrackListCtrl : public CBListCtrl {
public:
    ~CAudioTrackListCtrl() override;

    void Bind(NV_WaveEditXCtrl* editor);
    // The answer to WM_WAVEEDIT_SPLITCHANGED (kind, index >= 0).
    void Update(int kind, int index);
    void DeleteAllRows();

    const AudioTrackRecord* Row(int index) const { return (const AudioTrackRecord*)GetItemData(index); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnItemChanged(NMHDR* hdr, LRESULT* result);
    void OnClick(NMHDR* hdr, LRESULT* result);
    void OnDblClick(NMHDR* hdr, LRESULT* result);

    AudioTrackRecord MakeRecord(int track) const;
    void InsertRow(int index, const AudioTrackRecord& record);
    void UpdateRow(int index, const AudioTrackRecord& record);
    void WriteRow(int index);
    void Renumber(int from);
    void SetHot(int index);

    NV_WaveEditXCtrl* m_pEditor = nullptr;
    bool m_bWriting = false;   // rows being written: their state changes are not the user's

    DECLARE_MESSAGE_MAP()
};
