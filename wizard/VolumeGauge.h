// NV_VolumeGauge: a needle meter drawn over a face picture. The value runs from
// -9 (left end) to 9 (right end); the needle falls by 0.5 every 50 ms while no
// new level arrives.
#pragma once
#include "Static.h"

class NV_VolumeGauge : public CStatic {
public:
    NV_VolumeGauge() = default;
    ~NV_VolumeGauge() override;

    void LoadBitmap(HINSTANCE module, UINT id);
    // Starts the fall timer and repaints.
    void Start();
    void PreSubclassWindow() override {}

    // The needle value a level in dB gives: below -20 dB the left end, else
    // (level + 30) x 2 x 18 / 100 - 9, kept within the face.
    static float ValueFromLevel(double decibels);
    // The needle angle in degrees (90 straight up, 144 at -9, 36 at +9).
    static double AngleOf(float value);
    // The fall of one timer tick.
    static float Fall(float value);
    // Needle tip and the point half-way to the pivot for a face of w x h.
    static void NeedleLine(float value, int w, int h, POINT& tip, POINT& middle);

    float m_fValue = -9.0f;
    static const UINT_PTR kFallTimer = 100;

protected:
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void ReleaseFace();

    HDC m_hFaceDC = nullptr;
    HBITMAP m_hFace = nullptr;
    HGDIOBJ m_hOldFace = nullptr;
    int m_nFaceWidth = 0, m_nFaceHeight = 0;
    int m_nFaceId = 0;
    UINT_PTR m_nTimer = 0;

    DECLARE_MESSAGE_MAP()
};
