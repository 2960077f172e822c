// CRecordFileListCtrl: the Record page's list of WAV recordings: one row per file
// with its title, play time, size and format and a check box (the checked rows go
// to the Publish dialog). It plays, renames, removes and deletes its files.
// CRecFileRenameEdit is the in-place box of a rename.
#pragma once
#include <memory>
#include "BListCtrl.h"
#include "TooltipEdit.h"

// One row: what the file's header said. Owned by the row (its item data).
struct RecordFileRow {
    CString title;
    CString path;
    double size = 0;
    double playSeconds = 0;
    int sampleRate = 44100;
    int channels = 2;
    int bitsPerSample = 16;
};

// The row of a WAV file, read on any thread; null when the file cannot be opened
// or is no PCM WAV file with a usable format.
std::unique_ptr<RecordFileRow> ReadRecordFileRow(const wchar_t* path);

// Column texts of a row.
CString PlayTimeText(double seconds);
CString FileSizeText(double bytes);
CString FormatText(int rate, int bits, int channels);

class CRecordFileListCtrl;

class CRecFileRenameEdit : public CTooltipEdit {
public:
    int m_nItem = -1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CRecordFileListCtrl : public CBListCtrl {
public:
    CRecordFileListCtrl();
    ~CRecordFileListCtrl() override;

    // Appends the file's row (nothing for a file that is not a usable WAV file).
    BOOL AddFile(const wchar_t* path, BOOL checked);
    // Appends a row read elsewhere; the list takes it over.
    void InsertRow(std::unique_ptr<RecordFileRow> row, BOOL checked);
    void InsertColumns();

    void Play();
    void Rename();
    void Remove();
    void Delete();
    CString GetSelectedPath() const;
    // Ends a rename: applies the box's text to the row and the file.
    void EndRename();

    const RecordFileRow* Row(int index) const { return (const RecordFileRow*)GetItemData(index); }
    CRecFileRenameEdit* RenameBox() const { return m_pRenameEdit; }

    // Sent by a worker thread with a RecordFileRow* in lParam (unchecked row); the
    // list inserts it on its own thread in one step.
    enum : UINT { WM_ADD_ROW = WM_APP + 0x141 };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDblClk(UINT flags, CPoint point);
    void DeleteRow(int index);
    void DeleteAllRows();
    void RemoveSelected();

    CRecFileRenameEdit* m_pRenameEdit = nullptr;

    DECLARE_MESSAGE_MAP()
};
