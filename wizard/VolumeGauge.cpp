#include "VolumeGauge.h"
#include "SkinModule.h"
#include <cmath>

BEGIN_MESSAGE_MAP(NV_VolumeGauge, CStatic)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

NV_VolumeGauge::~NV_VolumeGauge()
{
    ReleaseFace();
}

void NV_VolumeGauge::ReleaseFace()
{
    if (m_hFaceDC) {
        SelectObject(m_hFaceDC, m_hOldFace);
        DeleteDC(m_hFaceDC);
    }
    if (m_hFace) DeleteObject(m_hFace);
    m_hFaceDC = nullptr;
    m_hFace = nullptr;
    m_hOldFace = nullptr;
}

void NV_VolumeGauge::LoadBitmap(HINSTANCE module, UINT id)
{
    ReleaseFace();
    m_nFaceId = (int)id;
    m_hFace = LoadSkinBitmap(module, id, LR_DEFAULTCOLOR);
    if (!m_hFace) {
        m_nFaceId = 0;
        return;
    }
    HDC dc = ::GetDC(m_hWnd);
    m_hFaceDC = CreateCompatibleDC(dc);
    ::ReleaseDC(m_hWnd, dc);
    m_hOldFace = SelectObject(m_hFaceDC, m_hFace);
    BITMAP info = {};
    GetObjectW(m_hFace, sizeof(info), &info);
    m_nFaceWidth = info.bmWidth;
    m_nFaceHeight = info.bmHeight;
}

void NV_VolumeGauge::Start()
{
    m_nTimer = SetTimer(kFallTimer, 50);
    Invalidate(FALSE);
}

// Past +20 dB the needle would turn below its pivot and vanish at the loudest
// input: it stops at the right end instead.
float NV_VolumeGauge::ValueFromLevel(double decibels)
{
    double meter = decibels < -20.0 ? 0.0 : (decibels + 30.0) * 2.0;
    double value = meter * 18.0 / 100.0 - 9.0;
    if (value > 9.0) value = 9.0;
    if (value < -9.0) value = -9.0;
    return (float)value;
}

double NV_VolumeGauge::AngleOf(float value)
{
    double angle = 90.0 - 6.0 * value;
    return angle < 0 ? angle + 360.0 : angle;
}

float NV_VolumeGauge::Fall(float value)
{
    return value > -9.0f ? value - 0.5f : value;
}

void NV_VolumeGauge::NeedleLine(float value, int w, int h, POINT& tip, POINT& middle)
{
    double radians = AngleOf(value) * 3.1415926535 / 180.0;
    tip.x = (LONG)(w / 2 + 96 * std::cos(radians));
    tip.y = (LONG)((h + 50) / 2 - 80 * std::sin(radians));
    POINT pivot = {h / 2, h / 2 + 50};
    middle.x = tip.x + (pivot.x - tip.x) / 2;
    middle.y = tip.y + (pivot.y - tip.y) / 2;
}

void NV_VolumeGauge::OnTimer(UINT_PTR id)
{
    if (id != kFallTimer) return;
    m_fValue = Fall(m_fValue);
    Invalidate(FALSE);
}

void NV_VolumeGauge::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (m_nFaceId && m_hFaceDC) {
        RECT client;
        GetClientRect(&client);
        HDC buffer = CreateCompatibleDC(dc);
        HBITMAP surface = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ oldSurface = SelectObject(buffer, surface);
        BitBlt(buffer, 0, 0, m_nFaceWidth, m_nFaceHeight, m_hFaceDC, 0, 0, SRCCOPY);
        POINT tip, middle;
        NeedleLine(m_fValue, m_nFaceWidth, m_nFaceHeight, tip, middle);
        const int pivotY = m_nFaceHeight / 2 + 50;
        if (tip.y < pivotY) {
            HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 255, 254));
            HGDIOBJ oldPen = SelectObject(buffer, pen);
            MoveToEx(buffer, tip.x, tip.y, nullptr);
            LineTo(buffer, middle.x, middle.y);
            SelectObject(buffer, oldPen);
            DeleteObject(pen);
        }
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, oldSurface);
        DeleteObject(surface);
        DeleteDC(buffer);
    }
    EndPaint(m_hWnd, &paint);
}

void NV_VolumeGauge::OnDestroy()
{
    if (m_nTimer) KillTimer(kFallTimer);
    m_nTimer = 0;
    Default();
}
