// Paths and runs shared by the effect tests: a source work file, its effect
// output and the output's peak file, all in the tests' temporary folder.
#pragma once
#include "AudioEffect.h"
#include "TestFiles.h"

#include <string>
#include <vector>

struct Paths {
    std::wstring src, out, peak;
    explicit Paths(const std::wstring& stem)
        : src(TempPath(stem + L".tmw")), out(TempPath(stem + L".tm1")), peak(EffectPeakPathFor(out))
    {
    }
};

inline bool RunEffect(CAudioEffect& e, const Paths& p)
{
    return e.Prepare(p.src, p.out, p.peak) && e.Run();
}

inline std::vector<CEffectTrack> Whole(int frames, int apply = 1) { return {{0, frames, apply}}; }
