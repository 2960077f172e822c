// SkinGallery [seconds]: shows every skinned control with the recorder's skin
// module ("sSonelleADVSkin.dll" beside the program) and closes itself after the
// given time (default: stays until closed).
#include "AudioGraphStatic.h"
#include "BButton.h"
#include "BComboBox.h"
#include "BitmapSlider.h"
#include "CheckBox.h"
#include "DragDropListCtrl.h"
#include "FileNameFilter.h"
#include "Label.h"
#include "SkinIds.h"
#include "SkinModule.h"
#include "SkinScrollWnd.h"
#include "Spin.h"
#include "ToolTipWnd.h"
#include "TooltipEdit.h"
#include "VolumeButton.h"
#include "xStatic.h"
#include <cmath>
#include <cwchar>

namespace {

HINSTANCE LoadSkin()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* slash = wcsrchr(path, L'\\');
    if (slash) wcscpy(slash + 1, L"sSonelleADVSkin.dll");
    HINSTANCE module = ::LoadLibraryW(path);
    return module ? module : ::GetModuleHandleW(nullptr);
}

class GalleryWnd : public CWnd {
public:
    explicit GalleryWnd(HINSTANCE skin)
        : m_skin(skin), m_check1(skin, IDB_REC_CHECK_AUDIOCD, 20), m_check2(skin, IDB_REC_CHECK_MP3CD, 20),
          m_combo(skin, IDB_REC_COMBO_ARROW), m_spin(skin, IDB_REC_SPIN)
    {
    }

    bool Build()
    {
        const wchar_t* cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
        if (!CreateEx(0, cls, L"Sonelle skin gallery", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 640,
                      nullptr, nullptr))
            return false;
        m_background.CreateSolidBrush(RGB(43, 37, 33));
        m_card.CreateSolidBrush(kCardColour);
        m_font.CreateFont(-14, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, L"Arial");
        SetFont(&m_font);

        const int buttons[4][2] = {{IDB_REC_RECORD, 86}, {IDB_REC_STOP, 86}, {IDB_REC_OPTION, 86}, {IDB_REC_PUBLISH, 100}};
        const wchar_t* names[4] = {L"REC", L"Stop", L"Option", L"Publish"};
        for (int i = 0; i < 4; ++i) {
            Child(m_buttons[i], L"BUTTON", names[i], BS_PUSHBUTTON, 20 + i * 110, 20, buttons[i][1], buttons[i][1], 100 + i);
            m_buttons[i].LoadBitmaps(m_skin, (WORD)buttons[i][0], buttons[i][1], buttons[i][1], false);
        }
        m_buttons[1].EnableWindow(FALSE);

        Child(m_graphLeft, L"STATIC", L"", 0, 20, 140, 334, 217, 200);
        m_graphLeft.LoadBackBitmap(m_skin, IDB_REC_GRAPH_LEFT);
        m_graphLeft.LoadBarBitmap(m_skin, IDB_REC_GRAPH_BAR);
        FeedLevels();
        SetTimer(kLevelTimer, 300);  // as the Record page reads the analyzer

        Child(m_meter, L"BUTTON", L"", 0, 367, 140, 17, 219, 201);
        m_meter.LoadBitmap(m_skin, IDB_REC_LEVEL_BAR);
        m_meter.SetStyle(1);
        m_meter.SetValue(70);

        Child(m_level, L"STATIC", L"", 0, 400, 145, 29, 203, 202);
        m_level.m_bVertical = TRUE;
        m_level.SetChannelBitmaps(m_skin, IDB_REC_LEVEL_CHANNEL, IDB_REC_LEVEL_ACTIVE, FALSE);
        m_level.SetThumbBitmaps(m_skin, IDB_REC_LEVEL_THUMB, IDB_REC_LEVEL_THUMB, TRUE, 0xFF000000, 0, 0);
        m_level.SetMargins(2, 2, 2, 2);
        m_level.SetRange(-50, -1);
        m_level.SetPos(-30);

        Child(m_volume, L"STATIC", L"", 0, 460, 30, 157, 29, 203);
        m_volume.SetChannelBitmaps(m_skin, IDB_REC_VOLUME_CHANNEL, IDB_REC_VOLUME_ACTIVE, FALSE);
        m_volume.SetThumbBitmaps(m_skin, IDB_REC_VOLUME_THUMB, 0, TRUE, 0xFF000000, 0, 0);
        m_volume.SetMargins(0, 2, 0, 2);
        m_volume.SetRange(0, 100);
        m_volume.SetPos(60);

        Child(m_progress, L"BUTTON", L"", 0, 20, 375, 459, 7, 204);
        m_progress.LoadBitmap(m_skin, IDB_REC_PROGRESS);
        m_progress.SetStyle(2);
        m_progress.SetValue(42);

        Child(m_disc, L"BUTTON", L"", 0, 460, 75, 300, 10, 205);
        m_disc.LoadBitmap(m_skin, IDB_REC_DISC_METER);
        m_disc.SetStyle(3);
        m_disc.SetRangeEx(0, 100, 70);
        m_disc.SetValue(85);

        Child(m_check1, L"BUTTON", L"Audio CD", BS_AUTOCHECKBOX, 470, 108, 120, 24, 206);
        Child(m_check2, L"BUTTON", L"MP3 CD", BS_AUTOCHECKBOX, 600, 108, 120, 24, 207);
        m_check1.SendMessage(BM_SETCHECK, 1);

        Child(m_combo, L"COMBOBOX", L"", CBS_DROPDOWNLIST, 460, 200, 220, 200, 208);
        m_combo.AddString(L"Writer E: (DVD-RW)");
        m_combo.SetCurSel(0);
        m_combo.SetParentBrush((HBRUSH)m_background.m_hObject);
        m_combo.SetTextColor(RGB(243, 233, 220));
        m_combo.SetBorderColor(RGB(196, 98, 45));

        Child(m_edit, L"EDIT", L"Take_01", ES_AUTOHSCROLL, 470, 145, 150, 22, 209);
        m_edit.SetTipParent(this);
        Child(m_hours, L"EDIT", L"0", ES_NUMBER | ES_CENTER, 640, 145, 30, 22, 210);
        Child(m_spin, UPDOWN_CLASSW, L"", 0, 672, 145, 15, 21, 211);

        Child(m_time, L"STATIC", L"00:01:23.45 / 00:04:10.00", SS_CENTER | SS_CENTERIMAGE, 460, 245, 230, 15, 212);
        m_time.SetFont(L"Arial", 16, 700);
        m_time.SetTextColor(RGB(245, 199, 126));
        m_time.SetBitmap(m_skin, IDB_REC_TIME_BACK, TRUE);

        Child(m_link, L"STATIC", L"https://www.norvane.example/", 0, 460, 272, 260, 20, 213);
        m_link.SetTextColor(RGB(232, 150, 58)).SetFontUnderline(TRUE).SetLink(TRUE);

        Child(m_list, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_VSCROLL, 460, 300, 500, 200, 214);
        m_list.InsertColumn(0, L"File", LVCFMT_LEFT, 250);
        m_list.InsertColumn(1, L"Length", LVCFMT_RIGHT, 110);
        m_list.InsertColumn(2, L"Size", LVCFMT_RIGHT, 110);
        for (int i = 0; i < 14; ++i) {
            wchar_t name[64];
            swprintf(name, 64, L"Recording_2026-12-10_%02d.wav", i + 1);
            m_list.InsertItem(i, name, i % 2);
            m_list.SetItemText(i, 1, L"00:03:2" L"5");
            m_list.SetItemText(i, 2, L"34.2 MB");
        }
        m_list.SetCheck(1);
        m_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        m_scrollSkin = ::LoadBitmapW(m_skin, MAKEINTRESOURCEW(IDB_REC_SCROLL));
        SkinWndScroll(&m_list, m_scrollSkin);
        // The tip a file-name edit shows for a refused character, kept up for the picture.
        NV_ToolTipWnd::ShowTip(&m_edit, this, FileNameTipText(), nullptr, 600);
        return true;
    }

protected:
    template <class T>
    void Child(T& control, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id)
    {
        HWND hWnd = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, m_hWnd,
                                      (HMENU)(INT_PTR)id, nullptr, nullptr);
        ::SendMessageW(hWnd, WM_SETFONT, (WPARAM)m_font.m_hObject, FALSE);
        control.SubclassWindow(hWnd);
    }
    // The dark window, with a light card where controls with black text sit (the
    // check boxes and edits draw their text black, as on the wizard's pages).
    BOOL OnEraseBkgnd(CDC* dc)
    {
        CRect rc;
        GetClientRect(&rc);
        dc->FillRect(&rc, &m_background);
        dc->FillRect(&kCard, &m_card);
        return TRUE;
    }
    void FeedLevels()
    {
        BYTE levels[30];
        for (int i = 0; i < 30; ++i)
            levels[i] = (BYTE)(70 - i * 2 + (int)(14 * std::sin(i * 0.9 + m_phase)) + (int)(8 * std::sin(m_phase * 2.3)));
        m_phase += 0.7;
        m_graphLeft.SetLevels(levels);
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
    {
        HBRUSH reflected = CWnd::OnCtlColor(dc, wnd, kind);
        if (reflected) return reflected;  // the control paints itself
        dc->SetTextColor(RGB(243, 233, 220));
        dc->SetBkMode(TRANSPARENT);
        return reflected ? reflected : (HBRUSH)m_background.m_hObject;
    }
    void OnTimer(UINT_PTR id)
    {
        if (id == kCloseTimer) DestroyWindow();
        if (id == kLevelTimer) FeedLevels();
    }
    void PostNcDestroy() override { ::PostQuitMessage(0); }
    DECLARE_MESSAGE_MAP()

public:
    enum : UINT_PTR { kCloseTimer = 1, kLevelTimer = 2 };

protected:
    static constexpr COLORREF kCardColour = RGB(226, 212, 192);
    const CRect kCard{450, 96, 700, 180};
    HINSTANCE m_skin;
    double m_phase = 0;
    CBrush m_background, m_card;
    CFont m_font;
    CBButton m_buttons[4];
    NV_AudioGraphStatic m_graphLeft;
    CVolumeButton m_meter, m_progress, m_disc;
    CBitmapSlider m_level, m_volume;
    CCheckBox m_check1, m_check2;
    CBComboBox m_combo;
    CTooltipEdit m_edit;
    CBEdit m_hours;
    CSpin m_spin;
    CxStatic m_time;
    CLabel m_link;
    CDragDropListCtrl m_list;
    HBITMAP m_scrollSkin = nullptr;
};

BEGIN_MESSAGE_MAP(GalleryWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
END_MESSAGE_MAP()

class GalleryApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        HINSTANCE skin = LoadSkin();
        SetSkinModule(skin);
        m_wnd = new GalleryWnd(skin);
        if (!m_wnd->Build()) return FALSE;
        m_pMainWnd = m_wnd;
        int seconds = m_lpCmdLine ? _wtoi(m_lpCmdLine) : 0;
        if (seconds > 0) m_wnd->SetTimer(GalleryWnd::kCloseTimer, (UINT)seconds * 1000);
        return TRUE;
    }
    GalleryWnd* m_wnd = nullptr;
};

GalleryApp theApp;

} // namespace
