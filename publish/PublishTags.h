// The ID3v1.1 tag of one publish output, shared by the publish dialog and the
// wizard's burn page: album, year, title (with the row number when long titles
// would otherwise read alike) and genre 255.
#pragma once
#include "PublishListCtrl.h"

// Tags the MP3 at `path` for row `currentRow`; an empty title takes the row's
// Track Name. A row without a year gets the current one, kept in its record.
// Nothing for an empty path (WAV outputs carry no tag).
BOOL WriteTags(CPublishListCtrl& list, int currentRow, const CString& album, const CString& path, CString title);
