#include "Font.h"
#include <cwchar>

BOOL CFont::CreatePointFont(int pointSizeTenths, const wchar_t* face)
{
    LOGFONTW lf = {};
    HDC dc = ::GetDC(nullptr);
    lf.lfHeight = -MulDiv(pointSizeTenths, GetDeviceCaps(dc, LOGPIXELSY), 720);
    ::ReleaseDC(nullptr, dc);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face) wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}
