// NV_AudioGraphStatic: 30 vertical level bars with falling peak marks, drawn
// from a background picture and a lit bar picture of the skin module.
#pragma once
#include "Controls.h"
#include "LevelDecay.h"

class NV_AudioGraphStatic : public CStatic {
public:
    NV_AudioGraphStatic();
    ~NV_AudioGraphStatic() override;

    void SetActive(int active);
    void SetDecayInterval(int milliseconds);
    bool LoadBarBitmap(HINSTANCE module, UINT id);
    bool LoadBackBitmap(HINSTANCE module, UINT id);
    void SetLevels(const BYTE levels[30]);
    const LevelDecay& Levels() const { return m_decay; }

    enum { kDecayTimer = 100 };

protected:
    void PreSubclassWindow() override;
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void Draw(CDC* dc);

    LevelDecay m_decay;
    int m_nActive = 0;
    UINT_PTR m_nTimer = 0;
    CBitmap* m_pBar = nullptr;
    CBitmap* m_pBack = nullptr;

    DECLARE_MESSAGE_MAP()
};
