#include "GuiFonts.h"

void CreateGuiFonts(const wchar_t* face, const int* heights, const int* weights, CFont** fonts, int count)
{
    LOGFONTW base = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    lstrcpynW(base.lfFaceName, face ? face : L"", LF_FACESIZE);
    for (int i = 0; i < count; ++i) {
        LOGFONTW lf = base;
        lf.lfHeight = -heights[i];
        lf.lfWeight = weights[i];
        fonts[i]->DeleteObject();
        if (!fonts[i]->CreateFontIndirect(&lf)) fonts[i]->Attach((HFONT)GetStockObject(DEFAULT_GUI_FONT));
    }
}
