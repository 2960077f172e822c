// CBmpInfo: a bitmap loaded from a module, with its size.
#pragma once
#include "Controls.h"

class CBmpInfo {
public:
    virtual ~CBmpInfo() = default;
    bool Load(HINSTANCE module, UINT id);
    CBitmap m_bitmap;
    BOOL m_bLoaded = FALSE;
    int m_nWidth = 0, m_nHeight = 0;
};
