// A memory device context with its own bitmap compatible with a target DC, so
// that a picture is drawn off screen and copied in one block transfer.
#pragma once
#include <windows.h>

class NV_BmpDC {
public:
    NV_BmpDC(HDC target, int left, int top, int right, int bottom, int copy);
    ~NV_BmpDC();
    NV_BmpDC(const NV_BmpDC&) = delete;
    NV_BmpDC& operator=(const NV_BmpDC&) = delete;
    HDC GetSafeHdc() const { return m_dc; }
    operator HDC() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};
