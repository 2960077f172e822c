#include "AudioGraphStatic.h"
#include "SkinModule.h"

BEGIN_MESSAGE_MAP(NV_AudioGraphStatic, CStatic)
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

NV_AudioGraphStatic::NV_AudioGraphStatic() { SetActive(0); }

NV_AudioGraphStatic::~NV_AudioGraphStatic() { SetActive(0); }

void NV_AudioGraphStatic::PreSubclassWindow()
{
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (LONG_PTR)(GetStyle() | 0x0B));
    CStatic::PreSubclassWindow();
}

void NV_AudioGraphStatic::SetActive(int active)
{
    m_nActive = active;
    if (!active) {
        delete m_pBar;
        delete m_pBack;
        m_pBar = m_pBack = nullptr;
        m_decay.Reset();
    }
    m_decay.SetInterval(100);
}

void NV_AudioGraphStatic::SetDecayInterval(int milliseconds) { m_decay.SetInterval(milliseconds); }

static bool LoadInto(CBitmap*& bitmap, HINSTANCE module, UINT id)
{
    if (!bitmap) bitmap = new CBitmap;
    bitmap->DeleteObject();
    return bitmap->Attach(LoadSkinBitmap(module, id)) != FALSE;
}

bool NV_AudioGraphStatic::LoadBarBitmap(HINSTANCE module, UINT id) { return LoadInto(m_pBar, module, id); }
bool NV_AudioGraphStatic::LoadBackBitmap(HINSTANCE module, UINT id) { return LoadInto(m_pBack, module, id); }

void NV_AudioGraphStatic::SetLevels(const BYTE levels[30])
{
    if (m_nTimer && m_hWnd) KillTimer(kDecayTimer);
    m_nTimer = 0;
    m_decay.SetLevels(levels, ::GetTickCount());
    if (!m_hWnd) return;
    Invalidate(TRUE);
    m_nTimer = SetTimer(kDecayTimer, (UINT)m_decay.Interval());
}

void NV_AudioGraphStatic::OnTimer(UINT_PTR id)
{
    if (id == kDecayTimer && m_nTimer) {
        // Steps follow the clock: a late timer catches up, an early one waits.
        if (m_decay.CatchUp(::GetTickCount()) > 0) Invalidate(TRUE);
        if (m_nActive == 1 && m_decay.AllDown()) {
            KillTimer(kDecayTimer);
            m_nTimer = 0;
        }
    }
    CStatic::OnTimer(id);
}

void NV_AudioGraphStatic::OnPaint()
{
    CPaintDC dc(this);
    if (m_pBar && m_pBar->m_hObject && m_pBack && m_pBack->m_hObject) Draw(&dc);
}

void NV_AudioGraphStatic::Draw(CDC* dc)
{
    SIZE bar = m_pBar->GetSize(), back = m_pBack->GetSize();
    int W = bar.cx, H = bar.cy;
    CMemoryDC picture(dc, back.cx, back.cy);
    CDC src;
    src.CreateCompatibleDC(dc);
    CBitmap* old = src.SelectObject(m_pBack);
    picture.BitBlt(0, 0, back.cx, back.cy, &src, 0, 0, SRCCOPY);
    src.SelectObject(m_pBar);
    for (int i = 0; i < LevelDecay::kBars; ++i) {
        int x = 2 + i * (W + 1);
        int t = H - m_decay.level[i] * H / 100;
        int from = m_decay.fresh ? t : t + 10;  // between updates the lit part is shorter
        if (from < H) picture.BitBlt(x, from, W, H - from, &src, 0, from, SRCCOPY);
        int p = H - m_decay.peak[i] * H / 100;
        if (p < H) picture.BitBlt(x, p, W, 2, &src, 0, p, SRCCOPY);
    }
    src.SelectObject(old);
    dc->BitBlt(0, 0, back.cx, back.cy, &picture, 0, 0, SRCCOPY);
}
