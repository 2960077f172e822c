// CPublishListCtrl: the report list of the publish dialog and of the wizard's
// burn page. Each row owns one PublishItemData; rows carry a check box, move by
// dragging, take a new Track Name in place, and show play time and the size
// the row will take at the output's byte rate.
#pragma once
#include "DragDropListCtrl.h"
#include "PublishItemData.h"
#include "TooltipEdit.h"

struct PublishListColumns {
    UINT headerIds[5];   // Track, File, Play Time, Track Name, Size
    int widths[5];
};
extern const PublishListColumns PublishDialogColumns;   // strings 102, 105, 104, 112, 113
extern const PublishListColumns WizardBurnColumns;      // the wizard's 160, 163, 162, 164, 165

class CPublishListCtrl : public CDragDropListCtrl {
public:
    enum { ColumnTrack, ColumnFile, ColumnPlayTime, ColumnTrackName, ColumnSize };

    explicit CPublishListCtrl(const PublishListColumns& columns = PublishDialogColumns,
                              bool deleteKeyRemoves = true);
    ~CPublishListCtrl() override;

    void AddItem(int position, PublishItemData item);
    void RemoveSelected();
    void DeleteRow(int index);
    void DeleteAllRows();
    void SetByteRate(int bytesPerSecond);
    int GetByteRate() const { return m_byteRate; }
    double GetTotalSize();
    void RenameAfterAlbum(const CString& album, const CString& trackWord);
    CString GetFileTitle(int index);
    void Renumber();
    PublishItemData* Record(int index) const;

    // The cell texts.
    static CString PlayTimeText(double seconds);
    static CString SizeText(int byteRate, double seconds);
    // The source's name without folder and extension; empty when it is not there.
    static CString FileTitleOf(const CString& path);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void WriteCells(int row, PublishItemData& record);
    bool OnLeftButtonDown(LPARAM lParam);
    LRESULT OnBeginLabelEdit(NMLVDISPINFOW* info);
    LRESULT OnEndLabelEdit(NMLVDISPINFOW* info);
    bool ScrollByLines(UINT message, WPARAM wParam);
    void PaintAroundEdit();
    void OnBeginLabelEditNotify(NMHDR* hdr, LRESULT* result);
    void OnEndLabelEditNotify(NMHDR* hdr, LRESULT* result);

    PublishListColumns m_columns;
    bool m_deleteKeyRemoves;
    CColumEdit m_edit;
    int m_editRow = -1;
    int m_editColumn = 0;
    int m_byteRate = 176400;
    int m_editableColumn = ColumnTrackName;

    DECLARE_MESSAGE_MAP()
};
