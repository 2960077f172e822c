// Opening the conversion of one publish item: a track is cut from its work file
// by byte range, a file is converted whole; to MP3 for MP3 outputs, to PCM WAV
// (fixed to the disc's format) for an audio CD. Shared by the publish dialog and
// the wizard's burn page, which run the conversion and wait for its end.
#pragma once
#include "PublishListCtrl.h"   // before dshow.h, whose windowsx.h names a macro SubclassWindow
#include "ConvertFile.h"
#include "PublishItemData.h"

#include <functional>
#include <string>

BOOL OpenItemConversion(CConvertFile& convert, HWND notify, const PublishItemData& item, const wchar_t* output,
                        bool toMp3);

// Whether a run may not name an output `name`: a file or folder of that name is
// there, or a row of `list` stands for it (its user's file or its source), or it
// is one of `made` (this run's outputs).
bool OutputNameTaken(const CPublishListCtrl& list, const std::vector<CString>& made, const std::wstring& name);

// Opens and runs the conversion of `item` into a file of its own: the first name
// from `intended` on ("<stem> (2)<ext>", ...) that `taken` does not claim. The
// writers create their files exclusively: a name taken between the check and the
// writer's create is passed over for the next one. The file made, or empty when
// the conversion could not be started (nothing of anybody else's is touched).
std::wstring StartItemConversion(CConvertFile& convert, HWND notify, const PublishItemData& item,
                                 const std::wstring& intended, bool toMp3,
                                 const std::function<bool(const std::wstring&)>& taken);
