// Converting the checked rows of the publish list one after another, shared by
// the publish dialog and the wizard's burn page: each caller opens and runs one
// row's conversion and names its own texts; the walk over the rows and the
// status lines are here.
#pragma once
#include "PublishListCtrl.h"

#include <functional>

struct RowConversion {
    CString converting;   // "Convert :", before "[ NN ]  <file title>"
    CString failedText;   // the conversion error, before the file title
    // Opens and runs the conversion of `row`; FALSE when it did not start.
    std::function<BOOL(int row, PublishItemData& item)> start;
    std::function<void(const CString& text)> status;
    // A row whose conversion did not start (may be unset).
    std::function<void(int row)> failed;
};

// Starts the conversion of the first checked row from `firstRow` on; a row whose
// conversion does not start is reported and passed over. Returns the row that
// converts, or -1 when no checked row is left.
int StartNextRowConversion(CPublishListCtrl& list, int firstRow, const RowConversion& steps);
