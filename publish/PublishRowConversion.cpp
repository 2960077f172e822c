#include "PublishRowConversion.h"

int StartNextRowConversion(CPublishListCtrl& list, int firstRow, const RowConversion& steps)
{
    for (int row = firstRow; row < list.GetItemCount(); ++row) {
        PublishItemData* item = list.Record(row);
        if (!item || !list.GetCheck(row)) continue;
        CString text;
        if (steps.start(row, *item)) {
            text.Format(L"%s [ %02d ]  %s", (const wchar_t*)steps.converting, item->rowIndex + 1,
                        (const wchar_t*)item->fileTitle);
            steps.status(text);
            return row;
        }
        if (steps.failed) steps.failed(row);
        text.Format(L"%s %s", (const wchar_t*)steps.failedText, (const wchar_t*)item->fileTitle);
        steps.status(text);
    }
    return -1;
}
