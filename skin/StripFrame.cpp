#include "StripFrame.h"

HBITMAP CopyStripFrame(HBITMAP strip, int index, int frameWidth, int frameHeight)
{
    HDC screen = ::GetDC(nullptr);
    HDC stripDC = ::CreateCompatibleDC(screen);
    HGDIOBJ oldStrip = ::SelectObject(stripDC, strip);
    // Made for the strip's DC so the frame keeps the strip's pixel format.
    HBITMAP frame = ::CreateCompatibleBitmap(stripDC, frameWidth, frameHeight);
    if (frame && index >= 0) {
        HDC frameDC = ::CreateCompatibleDC(screen);
        HGDIOBJ oldFrame = ::SelectObject(frameDC, frame);
        ::BitBlt(frameDC, 0, 0, frameWidth, frameHeight, stripDC, index * frameWidth, 0, SRCCOPY);
        ::SelectObject(frameDC, oldFrame);
        ::DeleteDC(frameDC);
    }
    ::SelectObject(stripDC, oldStrip);
    ::DeleteDC(stripDC);
    ::ReleaseDC(nullptr, screen);
    return frame;
}
