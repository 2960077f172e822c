#include "AudioTrackListCtrl.h"
#include "ClockText.h"
#include "WaveEditXCtrl.h"

CString TrackTimeText(int64_t frames, int rate)
{
    return CString(ClockText(rate > 0 ? double(frames) / rate : 0.0, true, L" : ").c_str());
}

BEGIN_MESSAGE_MAP(CAudioTrackListCtrl, CBListCtrl)
    ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClick)
END_MESSAGE_MAP()

CAudioTrackListCtrl::~CAudioTrackListCtrl()
{
    if (m_hWnd) DeleteAllRows();
}

void CAudioTrackListCtrl::PreSubclassWindow()
{
    const struct { UINT text; int width, format; } columns[] = {
        {102, 80, LVCFMT_LEFT}, {103, 120, LVCFMT_CENTER}, {104, 120, LVCFMT_CENTER}, {112, 300, LVCFMT_CENTER}};
    int i = 0;
    for (const auto& c : columns) {
        CString heading;
        heading.LoadString(c.text);
        InsertColumn(i++, heading, c.format, c.width);
    }
    CBListCtrl::PreSubclassWindow();
}

void CAudioTrackListCtrl::Bind(NV_WaveEditXCtrl* editor)
{
    m_pEditor = editor;
}

AudioTrackRecord CAudioTrackListCtrl::MakeRecord(int track) const
{
    AudioTrackRecord r;
    NV_EditWaveFile& doc = m_pEditor->GetDocument();
    doc.GetWaveFormat(r.channels, r.bitsPerSample, r.sampleRate, r.dataOffset);
    int32_t start = 0, end = 0, flag = 0;
    doc.GetSplitPoints().GetTrack(track, start, end, flag);
    r.startFrame = start;
    r.frameCount = end - start;
    r.selected = flag;
    r.trackNumber = track;
    CString word;
    if (!word.LoadString(102)) word = L"Track";
    r.trackName.Format(L"%s_%s%02d", m_pEditor->GetFileTitle().c_str(), (const wchar_t*)word, track + 1);
    FILETIME time = m_pEditor->GetSourceFileTime();
    r.date = (int64_t)(((uint64_t)time.dwHighDateTime << 32) | time.dwLowDateTime);
    return r;
}

void CAudioTrackListCtrl::WriteRow(int index)
{
    const AudioTrackRecord* r = Row(index);
    if (!r) return;
    m_bWriting = true;
    CString number;
    number.Format(L"%02d", r->trackNumber + 1);
    SetItemText(index, 0, number);
    SetItemText(index, 1, TrackTimeText(r->startFrame, r->sampleRate));
    SetItemText(index, 2, TrackTimeText(r->frameCount, r->sampleRate));
    SetItemText(index, 3, r->trackName);
    SetCheck(index, r->selected != 0);
    m_bWriting = false;
}

void CAudioTrackListCtrl::InsertRow(int index, const AudioTrackRecord& record)
{
    m_bWriting = true;
    index = InsertItem(index, L"");
    if (index >= 0) SetItemData(index, (DWORD_PTR) new AudioTrackRecord(record));
    m_bWriting = false;
    if (index < 0) return;
    WriteRow(index);
    SetHot(index);
}

void CAudioTrackListCtrl::UpdateRow(int index, const AudioTrackRecord& record)
{
    AudioTrackRecord* r = (AudioTrackRecord*)GetItemData(index);
    if (!r) return;
    *r = record;
    WriteRow(index);
}

void CAudioTrackListCtrl::Renumber(int from)
{
    CString word;
    if (!word.LoadString(102)) word = L"Track";
    std::wstring title = m_pEditor->GetFileTitle();
    for (int i = from; i < GetItemCount(); ++i) {
        AudioTrackRecord* r = (AudioTrackRecord*)GetItemData(i);
        if (!r) continue;
        r->trackNumber = i;
        r->trackName.Format(L"%s_%s%02d", title.c_str(), (const wchar_t*)word, i + 1);
        WriteRow(i);
    }
}

void CAudioTrackListCtrl::SetHot(int index)
{
    SendMessage(LVM_SETHOTITEM, (WPARAM)index);
}

void CAudioTrackListCtrl::Update(int kind, int a)
{
    if (!m_pEditor || a < 0) return;
    switch (kind) {
    case 1:
        if (a == 0) {
            InsertRow(0, MakeRecord(0));
        } else {
            if (a - 1 < GetItemCount()) UpdateRow(a - 1, MakeRecord(a - 1));
            InsertRow(a, MakeRecord(a));
            Renumber(a + 1);
        }
        break;
    case 2:
        if (a < 1) break;
        for (int i = 0; i < GetItemCount(); ++i) {
            AudioTrackRecord* r = (AudioTrackRecord*)GetItemData(i);
            if (r && r->trackNumber == a) {
                delete r;
                SetItemData(i, 0);
                DeleteItem(i);
                break;
            }
        }
        if (a - 1 < GetItemCount()) UpdateRow(a - 1, MakeRecord(a - 1));
        Renumber(a);
        SetHot(a - 1);
        break;
    case 3:
        if (a == 0) {
            if (GetItemCount() > 0) UpdateRow(0, MakeRecord(0));
            SetHot(0);
        } else {
            if (a - 1 < GetItemCount()) UpdateRow(a - 1, MakeRecord(a - 1));
            if (a < GetItemCount()) UpdateRow(a, MakeRecord(a));
            SetHot(a);
        }
        break;
    case 4:
        if (a < GetItemCount()) UpdateRow(a, MakeRecord(a));
        SetHot(a);
        break;
    case 5:
        for (int i = GetItemCount() - 1; i >= 1; --i) {
            delete (AudioTrackRecord*)GetItemData(i);
            SetItemData(i, 0);
            DeleteItem(i);
        }
        Update(3, 0);
        break;
    }
}

void CAudioTrackListCtrl::DeleteAllRows()
{
    for (int i = 0; i < GetItemCount(); ++i) {
        delete (AudioTrackRecord*)GetItemData(i);
        SetItemData(i, 0);
    }
    DeleteAllItems();
}

void CAudioTrackListCtrl::OnItemChanged(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    const NMLISTVIEW* change = (const NMLISTVIEW*)hdr;
    if (m_bWriting || change->iItem < 0 || !change->uNewState || !change->uOldState) return;
    if (!(change->uChanged & LVIF_STATE) || !((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) return;
    AudioTrackRecord* r = (AudioTrackRecord*)GetItemData(change->iItem);
    int selected = GetCheck(change->iItem) ? 1 : 0;
    if (m_pEditor) m_pEditor->GetDocument().SetTrackFlag(change->iItem, selected);
    if (r) r->selected = selected;
}

void CAudioTrackListCtrl::OnClick(NMHDR*, LRESULT* result)
{
    *result = 0;
}

void CAudioTrackListCtrl::OnDblClick(NMHDR* hdr, LRESULT* result)
{
    *result = 0;
    const NMITEMACTIVATE* item = (const NMITEMACTIVATE*)hdr;
    if (item->iItem < 0 || !m_pEditor) return;
    if (const AudioTrackRecord* r = Row(item->iItem)) m_pEditor->SetCursorPos(r->startFrame);
}

LRESULT CAudioTrackListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_VSCROLL || message == WM_HSCROLL) && TranslateScroll(message, wParam)) return 1;
    return CBListCtrl::WindowProc(message, wParam, lParam);
}
