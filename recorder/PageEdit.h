// CPageEdit: the recorder's Edit page (template 337). It shows one file at a time
// in the wave editor with its tracks listed below, through a work set made by the
// file-loading dialog (the file itself is never changed); sets split points by
// hand or automatically, plays through the player program, runs the effects on
// the checked tracks with one level of Undo, and hands the tracks to Publish.
#pragma once
#include <memory>
#include <vector>
#include "AudioEffect.h"
#include "AudioTrackListCtrl.h"
#include "BitmapSlider.h"
#include "EditTagRecord.h"
#include "NewWizPage.h"
#include "PageBackground.h"
#include "RecorderControls.h"
#include "WaveEditXCtrl.h"
#include "xStatic.h"

class CPageEdit : public CNewWizPage {
public:
    enum { IDD = 337 };
    enum {
        IDC_EDITOR = 1000, IDC_ZOOM_IN = 1011, IDC_ZOOM_OUT = 1012, IDC_OPEN = 1013, IDC_CLEAR = 1014,
        IDC_SPLIT = 1015, IDC_PLAY = 1016, IDC_PAUSE = 1017, IDC_STOP = 1018, IDC_TO_START = 1019,
        IDC_REWIND = 1020, IDC_FORWARD = 1021, IDC_TO_END = 1022, IDC_TIME = 1023, IDC_VOLUME = 1024,
        IDC_TRACKS = 1025, IDC_PUBLISH = 1026, IDC_EFFECT = 1027, IDC_UNDO = 1028, IDC_AUTO_SPLIT = 1029,
        IDC_FIT = 1030,
    };
    enum { IDR_EFFECT_MENU = 215 };
    enum { ID_AMPLIFY = 32771, ID_NORMALIZE = 32772, ID_NOISE_REDUCTION = 32773, ID_FADE = 32774 };
    enum EffectKind { kAmplify = 1, kNormalize = 2, kFade = 3, kNoiseReduction = 4 };

    CPageEdit();
    ~CPageEdit() override;

    void DoDataExchange(CDataExchange* dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnKillActive() override;
    BOOL OnQueryClose() override;
    BOOL OnSetActive() override;

    // Opens a file in the page (the Open button, a drop on the main window, the
    // Record page's Edit command).
    virtual void OpenFile(const wchar_t* path);

    // The effect commands and Undo, as their buttons and menu items run them.
    void OnAmplify();
    void OnNormalize();
    void OnFadeInOut();
    void OnNoiseReduction();
    void OnUndo();
    void OnAutoSplit();

    // The Publish items of the checked tracks (kind 1 ranges of the work file).
    std::vector<PublishItemData> PublishItems() const;

    NV_WaveEditXCtrl* Editor() const { return m_pEditor.get(); }
    CAudioTrackListCtrl& Tracks() { return m_tracks; }
    const CString& WorkPath() const { return m_strWorkPath; }
    const CString& LoadedWorkPath() const { return m_strLoadedWorkPath; }
    const CString& LoadedPeakPath() const { return m_strLoadedPeakPath; }
    BOOL IsFileOpen() const { return m_bFileOpen; }
    BOOL IsUndoAvailable() const { return m_bUndoAvailable; }
    const EditTagRecord& Tags() const { return m_tags; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnOpen();
    void OnSplit();
    void OnClear();
    void OnZoomIn();
    void OnZoomOut();
    void OnFit();
    void OnPlay();
    void OnPause();
    void OnStop();
    void OnToStart();
    void OnRewind();
    void OnForward();
    void OnToEnd();
    void OnEffectMenu();
    void OnPublish();

    void SkinControls();
    void LayoutControls();
    void UpdateControls(BOOL fileOpen);
    void UpdateZoomButtons();
    void SetVolume(int value);
    // Runs the loading dialog for `path`; FALSE when it did not make a work set
    // (`refusal`: the message id of a refused load, else 0).
    virtual BOOL LoadWorkSet(const wchar_t* path, BOOL& cancelled, UINT& refusal);
    // Free space for one more effect output beside the work file.
    BOOL HasSpaceForEffect() const;
    // Runs an effect's parameter dialog; TRUE when it ended with OK and there is
    // space for the output (else the player is back on the work file).
    BOOL AskEffectParams(CDialog& dialog);
    std::vector<CEffectTrack> EffectTracks() const;
    double FirstSelectedSeconds() const;
    void RunEffect(int kind, const void* param);

    CPageBackground m_background;
    std::unique_ptr<NV_WaveEditXCtrl> m_pEditor;
    CString m_strWorkPath;
    BOOL m_bFileOpen = FALSE;
    BOOL m_bUndoAvailable = FALSE;
    CString m_strLoadedWorkPath, m_strLoadedPeakPath;
    EditTagRecord m_tags;

    CBButton m_btnOpen, m_btnAutoSplit, m_btnClear, m_btnSplit, m_btnZoomIn, m_btnZoomOut, m_btnFit, m_btnPlay,
        m_btnPause, m_btnStop, m_btnToStart, m_btnRewind, m_btnForward, m_btnToEnd, m_btnEffect, m_btnUndo,
        m_btnPublish;
    CBitmapSlider m_volume;
    CxStatic m_time;
    CAudioTrackListCtrl m_tracks;
    HBITMAP m_hScrollSkin = nullptr;
    BOOL m_bVolumeKnown = FALSE;   // the process's mixer gave a speaker range

    DECLARE_MESSAGE_MAP()
};
