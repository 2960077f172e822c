#include "PublishListCtrl.h"

#include "ClockText.h"

const PublishListColumns PublishDialogColumns = {{102, 105, 104, 112, 113}, {90, 210, 130, 210, 120}};
const PublishListColumns WizardBurnColumns = {{160, 163, 162, 164, 165}, {70, 160, 100, 140, 90}};

BEGIN_MESSAGE_MAP(CPublishListCtrl, CDragDropListCtrl)
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITW, OnBeginLabelEditNotify)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITW, OnEndLabelEditNotify)
END_MESSAGE_MAP()

namespace {
const int EditMaxChars = 30;
const COLORREF EditBackground = 0x7F7F7F;
const int LinePixels = 10;
}  // namespace

CPublishListCtrl::CPublishListCtrl(const PublishListColumns& columns, bool deleteKeyRemoves)
    : m_columns(columns), m_deleteKeyRemoves(deleteKeyRemoves)
{
    m_edit.m_nLeft = 0;
    m_edit.m_nWidth = 0;
}

CPublishListCtrl::~CPublishListCtrl()
{
    if (m_hWnd) DeleteAllRows();
}

void CPublishListCtrl::PreSubclassWindow()
{
    const int formats[5] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_CENTER, LVCFMT_CENTER, LVCFMT_CENTER};
    for (int c = 0; c < 5; ++c) {
        CString heading;
        heading.LoadString(m_columns.headerIds[c]);
        InsertColumn(c, heading, formats[c], m_columns.widths[c]);
    }
    ModifyStyle(0, LVS_EDITLABELS);
    CDragDropListCtrl::PreSubclassWindow();
}

CString CPublishListCtrl::PlayTimeText(double seconds)
{
    return CString(ClockText(seconds, true, L" : ").c_str());
}

CString CPublishListCtrl::SizeText(int byteRate, double seconds)
{
    CString text;
    text.Format(L"%7.2f MB", double(byteRate) * seconds / 1048576.0);
    return text;
}

CString CPublishListCtrl::FileTitleOf(const CString& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(path, &data);
    if (find == INVALID_HANDLE_VALUE) return CString();
    FindClose(find);
    std::wstring name = data.cFileName;
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return CString(name);
}

void CPublishListCtrl::WriteCells(int row, PublishItemData& record)
{
    record.fileTitle = FileTitleOf(record.UserPath());
    SetItemText(row, ColumnFile, record.fileTitle);
    SetItemText(row, ColumnPlayTime, PlayTimeText(record.playTime));
    SetItemText(row, ColumnTrackName, record.trackName);
    SetItemText(row, ColumnSize, SizeText(m_byteRate, record.playTime));
}

void CPublishListCtrl::AddItem(int position, PublishItemData item)
{
    PublishItemData* record = new PublishItemData(item);
    CString number;
    number.Format(L"%02d", position + 1);
    const int row = InsertItem(position, number, record->kind == PublishKindTrack ? 0 : 1);
    if (row < 0) {
        delete record;
        return;
    }
    WriteCells(row, *record);
    SetCheck(row, record->checked != 0);
    SetItemData(row, (DWORD_PTR)record);
    SendMessage(LVM_SETHOTITEM, (WPARAM)row);
    Renumber();
}

PublishItemData* CPublishListCtrl::Record(int index) const
{
    if (index < 0 || index >= GetItemCount()) return nullptr;
    return reinterpret_cast<PublishItemData*>(GetItemData(index));
}

void CPublishListCtrl::DeleteRow(int index)
{
    PublishItemData* record = Record(index);
    if (!record) return;
    SetItemData(index, 0);
    delete record;
    DeleteItem(index);
}

void CPublishListCtrl::RemoveSelected()
{
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(-1, LVNI_SELECTED)) {
        PublishItemData* record = Record(row);
        SetItemData(row, 0);
        delete record;
        DeleteItem(row);
    }
    Renumber();
}

void CPublishListCtrl::DeleteAllRows()
{
    for (int row = GetItemCount() - 1; row >= 0; --row) {
        PublishItemData* record = Record(row);
        SetItemData(row, 0);
        delete record;
        DeleteItem(row);
    }
}

void CPublishListCtrl::SetByteRate(int bytesPerSecond)
{
    m_byteRate = bytesPerSecond;
    for (int row = 0; row < GetItemCount(); ++row)
        if (PublishItemData* record = Record(row)) SetItemText(row, ColumnSize, SizeText(m_byteRate, record->playTime));
}

double CPublishListCtrl::GetTotalSize()
{
    double seconds = 0;
    for (int row = 0; row < GetItemCount(); ++row) {
        PublishItemData* record = Record(row);
        if (record && GetCheck(row)) seconds += record->playTime;
    }
    return seconds * m_byteRate;
}

void CPublishListCtrl::RenameAfterAlbum(const CString& album, const CString& trackWord)
{
    for (int row = 0; row < GetItemCount(); ++row) {
        PublishItemData* record = Record(row);
        if (!record || record->nameFixed) continue;
        record->trackName.Format(L"%s_%s%02d", album.GetString(), trackWord.GetString(),
                                 record->track.trackNumber + 1);
        SetItemText(row, ColumnTrackName, record->trackName);
    }
}

CString CPublishListCtrl::GetFileTitle(int index)
{
    PublishItemData* record = Record(index);
    return record ? FileTitleOf(record->UserPath()) : CString();
}

void CPublishListCtrl::Renumber()
{
    for (int row = 0; row < GetItemCount(); ++row) {
        PublishItemData* record = Record(row);
        if (!record) continue;
        record->rowIndex = row;
        CString number;
        number.Format(L"%02d", row + 1);
        SetItemText(row, ColumnTrack, number);
    }
}

bool CPublishListCtrl::OnLeftButtonDown(LPARAM lParam)
{
    LVHITTESTINFO hit = {};
    hit.pt.x = (short)LOWORD(lParam);
    hit.pt.y = (short)HIWORD(lParam);
    SubItemHitTest(&hit);
    if (hit.iItem < 0 || !(hit.flags & LVHT_ONITEM) || hit.iSubItem != m_editableColumn) return false;
    if (m_editColumn == hit.iSubItem && m_editRow == hit.iItem) return false;
    CDragDropListCtrl::WindowProc(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    m_editColumn = hit.iSubItem;
    m_editRow = hit.iItem;
    EditLabel(hit.iItem);
    return true;
}

void CPublishListCtrl::OnBeginLabelEditNotify(NMHDR* hdr, LRESULT* result)
{
    *result = OnBeginLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(hdr));
}

void CPublishListCtrl::OnEndLabelEditNotify(NMHDR* hdr, LRESULT* result)
{
    *result = OnEndLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(hdr));
}

LRESULT CPublishListCtrl::OnBeginLabelEdit(NMLVDISPINFOW*)
{
    if (m_editColumn != m_editableColumn) return 1;
    HWND edit = (HWND)SendMessage(LVM_GETEDITCONTROL);
    if (!edit) return 1;
    CRect cell;
    GetSubItemRect(m_editRow, m_editColumn, LVIR_BOUNDS, &cell);
    m_edit.m_nLeft = cell.left + 6;
    m_edit.m_nWidth = cell.Width() - 12;
    if (!m_edit.m_hWnd) m_edit.SubclassWindow(edit);
    m_edit.SetLimitText(EditMaxChars);
    m_edit.SetWindowText(GetItemText(m_editRow, m_editColumn));
    CRect label;
    GetItemRect(m_editRow, &label, LVIR_LABEL);
    label.bottom -= 1;
    CClientDC dc(this);
    dc.FillSolidRect(&label, EditBackground);
    return 0;
}

LRESULT CPublishListCtrl::OnEndLabelEdit(NMLVDISPINFOW* info)
{
    if (m_editColumn == 0) return 1;
    PublishItemData* record = Record(m_editRow);
    if (info->item.pszText && record) {
        const CString text(info->item.pszText);
        SetItemText(m_editRow, m_editColumn, text);
        if (!(text == record->trackName)) record->nameFixed = 1;
        record->trackName = text;
    }
    if (m_edit.m_hWnd) m_edit.UnsubclassWindow();
    m_editColumn = 0;
    m_editRow = -1;
    return 0;   // the row's own label keeps its text
}

bool CPublishListCtrl::ScrollByLines(UINT message, WPARAM wParam)
{
    const int code = LOWORD(wParam);
    if (code != SB_LINEUP && code != SB_LINEDOWN && code != SB_THUMBPOSITION && code != SB_THUMBTRACK) return false;
    CRect client;
    GetClientRect(&client);
    SCROLLINFO h = {sizeof(h), SIF_ALL}, v = {sizeof(v), SIF_ALL};
    ::GetScrollInfo(m_hWnd, SB_HORZ, &h);
    ::GetScrollInfo(m_hWnd, SB_VERT, &v);
    const double totalWidth = h.nPage ? double(h.nMax + 1) * client.Width() / h.nPage : client.Width();
    const double totalHeight = v.nPage ? double(v.nMax + 1) * client.Height() / v.nPage : client.Height();
    const bool vertical = message == WM_VSCROLL;
    const SCROLLINFO& bar = vertical ? v : h;
    const double total = vertical ? totalHeight : totalWidth;
    int amount = 0;
    if (code == SB_LINEUP) amount = -LinePixels;
    else if (code == SB_LINEDOWN) amount = LinePixels;
    else {
        const int thumb = code == SB_THUMBTRACK ? bar.nTrackPos : (short)HIWORD(wParam);
        amount = int((thumb - bar.nPos) * total / (bar.nMax + 1));
    }
    // LVM_SCROLL moves by amounts: the other axis stays where it is.
    if (vertical)
        SendMessage(LVM_SCROLL, 0, amount);
    else
        SendMessage(LVM_SCROLL, amount, 0);
    return true;
}

void CPublishListCtrl::PaintAroundEdit()
{
    if (m_editColumn == 0 || !m_edit.m_hWnd) return;
    CRect cell, editRect, label;
    GetSubItemRect(m_editRow, m_editColumn, LVIR_BOUNDS, &cell);
    m_edit.GetWindowRect(&editRect);
    ScreenToClient(&editRect);
    cell.left = editRect.right;
    GetItemRect(m_editRow, &label, LVIR_LABEL);
    ValidateRect(&cell);
    ValidateRect(&label);
}

LRESULT CPublishListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        if (IsMouseEnabled() && OnLeftButtonDown(lParam)) return 0;
        break;
    case WM_LBUTTONUP: {
        const LRESULT result = CDragDropListCtrl::WindowProc(message, wParam, lParam);
        Renumber();
        return result;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (ScrollByLines(message, wParam)) return 0;
        if (::GetFocus() != m_hWnd) SetFocus();
        break;
    case WM_KEYUP:
        if (wParam == VK_DELETE && m_deleteKeyRemoves && IsMouseEnabled()) RemoveSelected();
        break;
    case WM_PAINT:
        PaintAroundEdit();
        break;
    default:
        break;
    }
    return CDragDropListCtrl::WindowProc(message, wParam, lParam);
}
