#include "PublishConversion.h"

BOOL OpenItemConversion(CConvertFile& convert, HWND notify, const PublishItemData& item, const wchar_t* output,
                        bool toMp3)
{
    if (item.kind == PublishKindTrack)
        return toMp3 ? convert.OpenTrackToMp3(notify, item.sourcePath, output, item.StartByte(), item.EndByte())
                     : convert.OpenTrackToPCM(notify, item.sourcePath, output, item.StartByte(), item.EndByte());
    if (item.kind == PublishKindFile)
        return toMp3 ? convert.OpenFileToMp3(notify, item.sourcePath, output)
                     : convert.OpenFileToPCM(notify, item.sourcePath, output, TRUE);
    return FALSE;
}
