#include "DropReorder.h"

void MoveDraggedRows(RowMover& rows, std::vector<int> dragged, int target)
{
    int insert = target + 1;
    if (insert < 0 || insert > rows.Count()) insert = rows.Count();
    for (size_t k = 0; k < dragged.size(); ++k) {
        int source = dragged[k];
        if (source < 0 || source >= rows.Count()) continue;
        rows.CopyRow(source, insert);
        int moved = source >= insert ? source + 1 : source;  // the copy went in before it
        rows.DeleteRow(moved);
        // The rows still to move have shifted with the insertion and the deletion.
        for (size_t j = k + 1; j < dragged.size(); ++j) {
            int e = dragged[j];
            if (e >= insert) ++e;
            if (e > moved) --e;
            dragged[j] = e;
        }
        if (source >= insert) ++insert;
    }
}
