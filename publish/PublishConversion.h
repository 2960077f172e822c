// Opening the conversion of one publish item: a track is cut from its work file
// by byte range, a file is converted whole; to MP3 for MP3 outputs, to PCM WAV
// (fixed to the disc's format) for an audio CD. Shared by the publish dialog and
// the wizard's burn page, which run the conversion and wait for its end.
#pragma once
#include "ConvertFile.h"
#include "PublishItemData.h"

BOOL OpenItemConversion(CConvertFile& convert, HWND notify, const PublishItemData& item, const wchar_t* output,
                        bool toMp3);
