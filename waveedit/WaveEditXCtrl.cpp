#include "WaveEditXCtrl.h"

#include <cstdio>
#include <cwchar>

namespace {

const COLORREF kCursorLine = RGB(255, 255, 255);
// The window finds its object through a property: the skinned scroll frame that
// may wrap it takes the user-data slot.
const wchar_t kSelfProperty[] = L"NV_WaveEditXCtrl.this";

}  // namespace

NV_WaveEditXCtrl::NV_WaveEditXCtrl()
{
    m_doc.SetOwner(this);
    m_scroll = new CScrollHelper;
}

NV_WaveEditXCtrl::~NV_WaveEditXCtrl()
{
    KillPlayTimer();
    m_player.Close();
    if (m_hwnd && IsWindow(m_hwnd)) {
        RemovePropW(m_hwnd, kSelfProperty);
        DestroyWindow(m_hwnd);
    }
    m_doc.Close();
    delete m_scroll;
}

bool NV_WaveEditXCtrl::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    static const ATOM atom = [] {
        WNDCLASSW wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc);
    }();
    if (!atom)
        return false;
    m_arrow = LoadCursor(nullptr, IDC_ARROW);
    m_resize = LoadCursor(nullptr, IDC_SIZEWE);
    m_hand = LoadCursor(nullptr, IDC_HAND);
    m_notify = parent;
    m_hwnd = CreateWindowExW(WS_EX_TRANSPARENT, kClassName, L"", style | WS_CHILD, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent, (HMENU)(UINT_PTR)id,
                             GetModuleHandleW(nullptr), this);
    if (!m_hwnd)
        return false;
    m_scroll->AttachWnd(m_hwnd);
    m_scroll->SetDisplaySize(1, 1);
    return true;
}

LRESULT CALLBACK NV_WaveEditXCtrl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetPropW(hwnd, kSelfProperty, cs->lpCreateParams);
        static_cast<NV_WaveEditXCtrl*>(cs->lpCreateParams)->m_hwnd = hwnd;
    }
    if (msg == WM_NCDESTROY)
        RemovePropW(hwnd, kSelfProperty);
    auto* self = reinterpret_cast<NV_WaveEditXCtrl*>(GetPropW(hwnd, kSelfProperty));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->HandleMessage(msg, wParam, lParam);
}

int NV_WaveEditXCtrl::ClientWidth() const
{
    RECT r;
    GetClientRect(m_hwnd, &r);
    return r.right - r.left;
}

const RECT& NV_WaveEditXCtrl::MarkerBand()
{
    RECT r;
    GetClientRect(m_hwnd, &r);
    m_doc.Layout(r);  // the band is known before the first paint too
    return m_doc.GetMarkerBand();
}

LRESULT NV_WaveEditXCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT r;
        GetClientRect(m_hwnd, &r);
        OnDraw(dc, r);
        EndPaint(m_hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything
    case WM_SIZE:
        DefWindowProcW(m_hwnd, msg, wParam, lParam);
        m_scroll->UpdateScrollInfo();
        return 0;
    case WM_HSCROLL:
        m_scroll->OnHScroll(LOWORD(wParam));
        m_doc.SetScroll(m_scroll->GetScrollPosH());
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return 0;
    case WM_MOUSEWHEEL:
        m_scroll->OnMouseWheel((short)HIWORD(wParam));
        return 0;
    case WM_SETCURSOR: {
        const UINT hit = LOWORD(lParam);
        SetCursor(hit == kHitBox ? m_hand : hit == kHitLine ? m_resize : m_arrow);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown((short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove((short)LOWORD(lParam), (short)HIWORD(lParam), (wParam & MK_LBUTTON) != 0);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp((short)LOWORD(lParam), (short)HIWORD(lParam));
        return 0;
    case WM_MOUSELEAVE:
        m_tracking = false;
        return 0;
    case WM_TIMER:
        if (wParam == kPlayTimer)
            OnPlayTimer();
        return DefWindowProcW(m_hwnd, msg, wParam, lParam);
    case WM_PLAYER_STATUS:
        // 0: the player started and waits for its file; else it is closing.
        if (wParam == 0) {
            if (m_player.FindPlayer()) {
                m_player.OpenPlain();
                if (m_playPending) {
                    m_playPending = false;
                    Play();
                }
            }
        } else {
            m_player.ForgetPlayer();
        }
        return 0;
    case WM_SKINSCROLL_POSITION:
        if (wParam == WM_HSCROLL)
            m_scroll->SetScrollPosH((int)lParam);
        return 1;
    default:
        return DefWindowProcW(m_hwnd, msg, wParam, lParam);
    }
}

void NV_WaveEditXCtrl::NotifyOwner(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_WAVEEDIT_RESET) {
        m_loaded = true;
        m_scroll->SetDisplaySize(m_doc.GetScrollRange(), 1);
        return;
    }
    if (m_notify)
        SendMessageW(m_notify, msg, (WPARAM)LOWORD(wParam), lParam);
}

void NV_WaveEditXCtrl::OnPeakProgress(int percent)
{
    if (m_progress)
        PostMessageW(m_progress, WM_WAVEEDIT_PEAKPROGRESS, 0, (LPARAM)percent);
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool NV_WaveEditXCtrl::NewDocument()
{
    if (m_building)
        return false;
    return m_doc.NewEmpty();
}

bool NV_WaveEditXCtrl::OpenFile(const wchar_t* displayPath, const wchar_t* workPath, HWND progressWnd)
{
    if (m_building)
        return false;  // a click during the build must not start another one
    m_loaded = false;
    m_displayPath = displayPath ? displayPath : L"";
    m_progress = progressWnd;
    m_building = true;
    const bool ok = m_doc.Open(workPath);
    m_building = false;
    if (ok) {
        ZoomToFit();
        SendTimeText(0);
    }
    return ok;
}

void NV_WaveEditXCtrl::CloseFile()
{
    if (m_building)
        return;
    m_doc.Close();
    m_player.Close();
    m_playPending = false;
    m_loaded = false;
    m_displayPath.clear();
    ZoomToFit();
    SendTimeText(0);
    KillPlayTimer();
}

bool NV_WaveEditXCtrl::ReloadFile(const wchar_t* wavPath, const wchar_t* peakPath)
{
    if (!m_doc.ReloadPeaks(peakPath))
        return false;
    InvalidateRect(m_hwnd, nullptr, TRUE);
    LaunchPlayer(wavPath);
    m_doc.SetWorkPath(wavPath);
    return true;
}

void NV_WaveEditXCtrl::KillPlayTimer()
{
    if (m_playTimer && m_hwnd)
        KillTimer(m_hwnd, kPlayTimer);
    m_playTimer = 0;
}

bool NV_WaveEditXCtrl::LaunchPlayer(const wchar_t* wavPath)
{
    ClosePlayer();
    return m_player.Launch(wavPath, m_hwnd) != FALSE;
}

void NV_WaveEditXCtrl::ClosePlayer()
{
    KillPlayTimer();
    m_playPending = false;
    m_player.Close();
}

void NV_WaveEditXCtrl::Play()
{
    if (!m_doc.IsLoaded())
        return;
    if (!m_player.IsRunning()) {
        // The player went away (it closed, crashed or was ended from outside):
        // a new one plays from the cursor once it has opened the file.
        const std::wstring work = m_doc.GetWorkPath();
        if (work.empty() || !LaunchPlayer(work.c_str()))
            return;
        m_playPending = true;
        return;
    }
    if (!m_player.GetPlayerWnd()) {
        m_playPending = true;  // still starting: it plays when it reports
        return;
    }
    if (m_player.GetState() != 1) {
        // Not paused: from the cursor.
        InvalidateRect(m_hwnd, nullptr, FALSE);
        const int rate = m_doc.GetHeader().sampleRate;
        m_player.Seek(rate > 0 ? (double)m_doc.GetCursor() / rate : 0.0);
    }
    m_player.Play();
    m_playTimer = SetTimer(m_hwnd, kPlayTimer, 100, nullptr);
}

void NV_WaveEditXCtrl::Pause()
{
    KillPlayTimer();
    m_playPending = false;
    m_player.Pause();
}

void NV_WaveEditXCtrl::Stop()
{
    KillPlayTimer();
    m_playPending = false;
    m_player.Stop();
    if (m_notify)
        PostMessageW(m_notify, WM_WAVEEDIT_PLAYSTOPPED, 0, 0);
    double position = 0;
    if (m_doc.IsLoaded() && m_player.GetPosition(&position)) {
        m_doc.SetCursorFromSeconds(position);
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

int64_t NV_WaveEditXCtrl::SecondsToFrame(double seconds) const
{
    return (int64_t)(seconds * m_doc.GetHeader().sampleRate);
}

void NV_WaveEditXCtrl::OnPlayTimer()
{
    double duration = 0, position = 0;
    if (!m_player.GetDuration(&duration) || !m_player.GetPosition(&position)) {
        // The player went away while playing: the display keeps the last time
        // it showed, and the next Play starts a new player.
        KillPlayTimer();
        if (m_notify)
            PostMessageW(m_notify, WM_WAVEEDIT_PLAYSTOPPED, 0, 0);
        return;
    }
    SendTimeText(FormatTimeText(position, duration));
    if (duration <= position) {
        KillPlayTimer();
        Stop();
        return;
    }
    const int64_t frame = SecondsToFrame(position);
    m_doc.SetCursorFromSeconds(position);
    const int64_t column = frame / m_doc.GetUnit() - m_doc.GetScroll();
    if (column < 0 || column >= ClientWidth()) {
        ScrollToFrame(frame);
        InvalidateRect(m_hwnd, nullptr, TRUE);
    } else {
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

void NV_WaveEditXCtrl::MoveFromPlayer(double seconds)
{
    double position = 0;
    const int rate = m_doc.GetHeader().sampleRate;
    // Without a player the cursor is where playback would start.
    if (!m_player.GetPosition(&position) && rate > 0)
        position = (double)m_doc.GetCursor() / rate;
    SetCursorPos(SecondsToFrame(position + seconds));
}

void NV_WaveEditXCtrl::OnDraw(HDC dc, const RECT& rect)
{
    NV_BmpDC memory(dc, rect.left, rect.top, rect.right, rect.bottom, 0);
    m_doc.Paint(memory, rect);
    // The cursor line is ours, drawn with the picture (no system caret).
    int32_t x;
    if (m_doc.IsLoaded() && m_doc.GetTotalFrames() > 0 && m_doc.IsCursorVisible(rect.right - rect.left, x)) {
        HPEN pen = CreatePen(PS_SOLID, 1, kCursorLine);
        HGDIOBJ old = SelectObject(memory, pen);
        MoveToEx(memory, x, rect.top, nullptr);
        LineTo(memory, x, rect.bottom);
        SelectObject(memory, old);
        DeleteObject(pen);
    }
    BitBlt(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, SRCCOPY);
}

void NV_WaveEditXCtrl::SendTimeText(int column)
{
    SendTimeText(FormatTimeText(m_doc.ColumnToSeconds(column), m_doc.GetTotalSeconds()));
}

void NV_WaveEditXCtrl::SendTimeText(const std::wstring& text)
{
    m_timeText = text;
    if (m_notify)
        SendMessageW(m_notify, WM_WAVEEDIT_TIMETEXT, 0, (LPARAM)m_timeText.c_str());
}

void NV_WaveEditXCtrl::SendStatus(int column)
{
    if (!m_notify)
        return;
    wchar_t text[160];
    const long long bytePos = ((long long)m_doc.GetScroll() + column) * m_doc.GetUnit() * m_doc.GetBlockAlign();
    swprintf(text, 160, L"Unit:%d    S:%d  T:%d   Position:%d   File:%dByte", m_doc.GetUnit(), m_doc.GetScroll(),
             column, m_doc.GetCursor(), (int)bytePos);
    SendMessageW(m_notify, WM_WAVEEDIT_STATUS, 0, (LPARAM)text);
}

void NV_WaveEditXCtrl::CursorFollows(int column)
{
    InvalidateRect(m_hwnd, nullptr, FALSE);
    SendTimeText(column);
    SendStatus(column);
}

bool NV_WaveEditXCtrl::HoldInDragBounds(int& x) const
{
    int32_t low, high;
    if (!m_doc.GetDragBounds(0, ClientWidth(), m_dragX, low, high))
        return false;
    x = x < low ? low : (x > high ? high : x);
    return true;
}

void NV_WaveEditXCtrl::OnLButtonDown(int x, int y)
{
    if (m_building || !m_doc.IsLoaded())
        return;
    const int width = ClientWidth();
    x = x < 0 ? 0 : (x > width ? width : x);
    const RECT& band = MarkerBand();
    if (y >= band.top && y < band.bottom) {
        m_dragX = x;
        m_dragY = y;
        const int hit = m_doc.HitTest(x, y);
        PostMessageW(m_hwnd, WM_SETCURSOR, (WPARAM)m_hwnd, MAKELPARAM(hit, WM_LBUTTONDOWN));
        m_dragMode = m_doc.GetDragMode(x, y, true);
    } else {
        m_doc.SetCursorFromColumn(x);
        int32_t cx;
        if (m_doc.IsCursorVisible(width, cx) && m_dragMode != kDragToggle)
            CursorFollows(x);
    }
    SetCapture(m_hwnd);
}

void NV_WaveEditXCtrl::OnMouseMove(int x, int y, bool leftDown)
{
    if (m_building || !m_doc.IsLoaded())
        return;
    const int width = ClientWidth();
    x = x < 0 ? 0 : (x > width ? width : x);
    if (leftDown && m_dragMode == kDragMove)
        HoldInDragBounds(x);
    if (!m_tracking) {
        TRACKMOUSEEVENT tme = {sizeof tme, TME_LEAVE, m_hwnd, 0};
        m_tracking = TrackMouseEvent(&tme) != 0;
    }
    const RECT& band = MarkerBand();
    if (y >= band.top && y < band.bottom) {
        const bool captured = GetCapture() == m_hwnd && m_dragMode != kDragNone;
        const int hit = captured ? m_doc.HitTest(m_dragX, m_dragY) : m_doc.HitTest(x, y);
        if (hit == kHitLine && leftDown)
            CursorFollows(x);
        PostMessageW(m_hwnd, WM_SETCURSOR, (WPARAM)m_hwnd, MAKELPARAM(hit, WM_MOUSEMOVE));
    } else if (leftDown && m_dragMode == kDragNone) {
        m_doc.SetCursorFromColumn(x);
        CursorFollows(x);
    }
}

void NV_WaveEditXCtrl::OnLButtonUp(int x, int y)
{
    (void)y;
    if (m_building || !m_doc.IsLoaded())
        return;
    const int width = ClientWidth();
    x = x < 0 ? 0 : (x > width ? width : x);
    switch (m_dragMode) {
    case kDragMove:
        if (HoldInDragBounds(x) && x != m_dragX) {
            m_doc.MoveSplitPoint(m_dragX, x);
            m_doc.SetCursorFromColumn(x);
            CursorFollows(x);
        }
        break;
    case kDragRemove:
        m_doc.RemoveSplitPointNear(x);
        break;
    case kDragToggle:
        m_doc.ToggleFlagNear(x);
        break;
    default: {
        m_doc.SetCursorFromColumn(x);
        int32_t cx;
        if (m_doc.IsCursorVisible(width, cx)) {
            const int rate = m_doc.GetHeader().sampleRate;
            if (rate > 0 && m_player.GetPlayerWnd())
                m_player.Seek((double)m_doc.GetCursor() / rate);
            CursorFollows(x);
        }
        break;
    }
    }
    m_dragMode = kDragNone;
    m_dragX = m_dragY = -100;
    if (GetCapture() == m_hwnd)
        ReleaseCapture();
}

void NV_WaveEditXCtrl::ScrollToFrame(int64_t frame)
{
    const int p = m_scroll->GetPageWidth(), range = m_doc.GetScrollRange();
    const int k = (int)(frame / m_doc.GetUnit());
    int s;
    if (p > 0 && range - k >= p)
        s = p * (k / p);
    else if (p < range)
        s = range - p;
    else
        s = 0;
    if (s < 0)
        s = 0;
    m_doc.SetScroll(s);
    m_scroll->SetScrollPosH(s);
}

void NV_WaveEditXCtrl::SetCursorPos(int64_t frame)
{
    const int64_t total = m_doc.GetTotalFrames();
    frame = frame < 0 ? 0 : (frame > total ? total : frame);
    const int c = (int)(frame / m_doc.GetUnit() - m_doc.GetScroll());
    m_doc.SetCursorFromColumn(c);
    CursorFollows(c);
    if (c < 0 || c >= ClientWidth())
        ScrollToFrame(frame);
    const int rate = m_doc.GetHeader().sampleRate;
    if (rate > 0 && m_player.GetPlayerWnd())
        m_player.Seek((double)frame / rate);
    InvalidateRect(m_hwnd, nullptr, TRUE);
}

void NV_WaveEditXCtrl::ZoomToFit()
{
    m_doc.ZoomToFitUnit(ClientWidth());
    m_doc.SetScroll(0);
    m_scroll->SetDisplaySize(m_doc.GetScrollRange(), 1);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void NV_WaveEditXCtrl::Zoom(bool in)
{
    const int width = ClientWidth();
    int32_t a;
    if (!m_doc.IsCursorVisible(width, a))
        a = width / 2;
    if (in)
        m_doc.ZoomInUnit();
    else
        m_doc.ZoomOutUnit(width);
    const int range = m_doc.GetScrollRange();
    m_scroll->SetDisplaySize(range, 1);
    const int p = m_scroll->GetPageWidth();
    int s = m_doc.GetCursor() / m_doc.GetUnit() - a;  // the cursor keeps its column
    if (s < range) {
        if (p <= 0)
            s = 0;
        else if (range - s < p)
            s = range - p;  // the view ends with the data rather than jumping to its start
    } else {
        s = range - a - 1;
    }
    if (s < 0)
        s = 0;
    m_doc.SetScroll(s);
    m_scroll->SetScrollPosH(s);
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

bool NV_WaveEditXCtrl::CanZoom(int what) const
{
    const int width = ClientWidth();
    switch (what) {
    case 0: return m_doc.GetUnit() > 128;
    case 1: return m_doc.GetUnit() < m_doc.GetMaxUnit(width);
    case 2: return m_doc.GetUnit() != m_doc.GetFitUnit(width);
    default: return false;
    }
}

std::wstring NV_WaveEditXCtrl::GetFileTitle() const
{
    if (m_displayPath.empty() || GetFileAttributesW(m_displayPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return L"F001";
    std::wstring name = m_displayPath.substr(m_displayPath.find_last_of(L"\\/") + 1);
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

FILETIME NV_WaveEditXCtrl::GetSourceFileTime() const
{
    FILETIME t = {0, 0};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!m_displayPath.empty() && GetFileAttributesExW(m_displayPath.c_str(), GetFileExInfoStandard, &data))
        t = data.ftLastWriteTime;
    return t;
}
