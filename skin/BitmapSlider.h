// CBitmapSlider: the slider of the skinned pages, drawn from a channel picture
// (with an optional active part on the near side of the thumb) and a thumb
// picture (with an optional active thumb while dragging). It reports to its
// parent with WM_SLIDER_TRACKING during a drag and WM_SLIDER_RELEASED.
#pragma once
#include "Controls.h"
#include "SliderGeometry.h"

#define WM_SLIDER_TRACKING (WM_USER + 9425)
#define WM_SLIDER_RELEASED (WM_USER + 9426)

class CBitmapSlider : public CStatic {
public:
    CBitmapSlider();
    ~CBitmapSlider() override;

    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void SetPos(int pos);
    int GetPos() const { return m_nPos; }
    void SetPageSize(int page) { m_nPage = page; }
    void SetMargins(int left, int top, int right, int bottom);
    void Enable(BOOL enable = TRUE);
    BOOL IsEnabled() const { return m_bEnable; }
    bool SetChannelBitmaps(HINSTANCE module, UINT channelId, UINT activeId, BOOL transparent,
                           COLORREF transparentColour = 0xFF000000, int x = 0, int y = 0);
    bool SetThumbBitmaps(HINSTANCE module, UINT thumbId, UINT activeId, BOOL transparent,
                         COLORREF transparentColour = 0xFF000000, int x = 0, int y = 0);
    // The thumb centre pixel of the current position, along the axis.
    int ThumbCentre() const;

    BOOL m_bVertical = FALSE;

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCTW cs) { return CStatic::OnCreate(cs); }
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    UINT OnGetDlgCode();
    LRESULT OnNcHitTest(CPoint) { return HTCLIENT; }
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* wnd);
    void OnKillFocus(CWnd* wnd);
    void OnDestroy();

    SliderAxis Axis() const;
    int Clamp(int pos) const;
    void Post(UINT message);
    static bool LoadPicture(HINSTANCE module, UINT id, CBitmap& picture, CBitmap& mask, BOOL transparent,
                            COLORREF colour, int x, int y);
    static void DrawPicture(CDC* dc, int x, int y, int w, int h, CBitmap& picture, CBitmap& mask, int sx, int sy,
                            BOOL transparent);

    int m_nMax = 100, m_nMin = 0, m_nPos = 0, m_nPage = 20;
    CRect m_rcClient;
    int m_nWidth = 0, m_nHeight = 0, m_nThumbWidth = 0, m_nThumbHeight = 0;
    int m_nMarginLeft = 0, m_nMarginRight = 0, m_nMarginTop = 0, m_nMarginBottom = 0;
    int m_nThumbBgX = -1, m_nThumbBgY = -1;
    int m_nGrabOffset = 0;
    BOOL m_bChannelActive = FALSE, m_bThumbActive = FALSE;
    BOOL m_bTransparentChannel = FALSE, m_bTransparentThumb = FALSE;
    BOOL m_bThumb = FALSE, m_bChannel = FALSE;
    BOOL m_bLButtonDown = FALSE;
    BOOL m_bFocus = FALSE, m_bFocusRect = FALSE, m_bDrawFocusRect = TRUE;
    BOOL m_bEnable = TRUE;
    CBitmap m_bmChannel, m_bmChannelMask, m_bmChannelActive, m_bmChannelActiveMask;
    CBitmap m_bmThumb, m_bmThumbMask, m_bmThumbActive, m_bmThumbActiveMask, m_bmThumbBg;

    DECLARE_MESSAGE_MAP()
};
