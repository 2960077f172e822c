// Adding one audio file to the publish list, shared by the publish dialog and the
// wizard's burn page: an MP3 with an ID3v2 tag is listed through a copy without
// that tag (in "TmpF" under the temporary folder), its tag fields go into the
// row; a file whose play time cannot be measured is refused with a message; a
// file already listed is not listed twice. Each caller names its copies' extension,
// its error text and its message title.
#pragma once
#include "PublishListCtrl.h"

struct ListedFileTag {
    CString album, artist, title;
    int year = 0;
};

struct AddFileTexts {
    HWND owner = nullptr;
    CString title;             // message-box title
    CString openError;         // "Error opening file!": the path follows on its own line
    CString copyExtension;     // of the tag-free copies, with its dot
};

// The file to list for the MP3 `path`: with an ID3v2 tag, a copy without it that
// carries the tag's fields as ID3v1.1 (one copy per source for the whole
// process); `tag` gets the fields of either tag. FALSE when the file cannot be
// opened or the file to list cannot be played.
BOOL PrepareListedMp3(const CString& path, const CString& copyExtension, CString& listed, ListedFileTag& tag);

// Appends `source` as a whole-file row. FALSE when nothing was added (the message
// has been shown for a file that cannot be opened).
BOOL AddListedFile(CPublishListCtrl& list, const CString& source, const AddFileTexts& texts);
