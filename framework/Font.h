#pragma once
#include "GdiObject.h"

class CFont : public CGdiObjectOf<CFont, HFONT> {
public:
    BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                    BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const wchar_t* face)
    {
        return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                                    strikeOut, charSet, outPrecision, clipPrecision, quality,
                                    pitchAndFamily, face));
    }
    // Point size in tenths of a point, on the screen.
    BOOL CreatePointFont(int pointSizeTenths, const wchar_t* face);
    int GetLogFont(LOGFONTW* lf) const { return GetObject(sizeof(LOGFONTW), lf); }
};
