#include "DiscSteps.h"

namespace {

CString Text(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

void Say(HWND owner, UINT id, const DiscStepTexts& texts, UINT icon)
{
    MessageBoxW(owner, Text(id), texts.title, MB_OK | icon);
}

CString FailedText(const DiscStepTexts& texts)
{
    return texts.failedText.IsEmpty() ? Text(texts.burnFailed) : texts.failedText;
}

CString FailedTitle(const DiscStepTexts& texts)
{
    return texts.failedTitle.IsEmpty() ? texts.title : texts.failedTitle;
}

void SayFailed(HWND owner, const DiscStepTexts& texts)
{
    MessageBoxW(owner, FailedText(texts), FailedTitle(texts), MB_OK | MB_ICONSTOP);
}

}  // namespace

int FillDriveList(CComboBox& list, CDiscBurner& burner, const CString& preferred)
{
    list.ResetContent();
    int selected = -1;
    for (const CString& name : burner.DriveNames(preferred, selected)) list.AddString(name);
    if (selected >= 0) list.SetCurSel(selected);
    return selected;
}

BOOL CheckDisc(HWND owner, CDiscBurner& burner, BurnKind kind, const std::vector<double>& itemBytes,
               const DiscStepTexts& texts)
{
    DiscCheck result;
    if (kind == BurnKindAudio) {
        result = burner.CheckAudio(itemBytes);
    } else {
        double total = 0;
        for (double bytes : itemBytes) total += bytes;
        result = burner.CheckData(total);
    }
    switch (result) {
    case DiscCheck::Ok: return TRUE;
    case DiscCheck::NotReady: Say(owner, texts.notReady, texts, MB_ICONINFORMATION); break;
    case DiscCheck::NotCompatible: Say(owner, texts.notCompatible, texts, MB_ICONINFORMATION); break;
    case DiscCheck::NotWritable: Say(owner, texts.notWritable, texts, MB_ICONINFORMATION); break;
    case DiscCheck::TooSmall: Say(owner, texts.tooSmall, texts, MB_ICONINFORMATION); break;
    }
    return FALSE;
}

BOOL BurnDataDisc(HWND owner, CDiscBurner& burner, const std::vector<CString>& files,
                  const std::vector<double>& itemBytes, const CString& album, const DiscStepTexts& texts,
                  const std::vector<CString>* names)
{
    if (!burner.WriterPresent() || !CheckDisc(owner, burner, BurnKindData, itemBytes, texts)) return FALSE;
    if (burner.BurnData(owner, files, album, names)) return TRUE;
    SayFailed(owner, texts);
    return FALSE;
}

BOOL BurnAudioDisc(HWND owner, CDiscBurner& burner, const std::vector<CString>& files,
                   const std::vector<double>& itemBytes, unsigned char burnMode, const DiscStepTexts& texts)
{
    if (!burner.WriterPresent() || !CheckDisc(owner, burner, BurnKindAudio, itemBytes, texts)) return FALSE;
    if (burner.BurnAudio(owner, files, burnMode)) return TRUE;
    SayFailed(owner, texts);
    return FALSE;
}

CString BurnFailureText(const CString& prefix, unsigned long errorCode)
{
    CString text = prefix;
    text += L"\n";
    text += CDiscBurner::SenseText(errorCode);
    return text;
}

void ReportBurnEnd(HWND owner, CDiscBurner& burner, BurnKind kind, int status, const DiscStepTexts& texts,
                   const CString& extra)
{
    if (status == 1)
        MessageBoxW(owner, BurnFailureText(FailedText(texts), burner.ErrorCode(kind)) + extra, FailedTitle(texts),
                    MB_OK | MB_ICONSTOP);
    else
        MessageBoxW(owner, Text(texts.burned) + extra, texts.title, MB_OK | MB_ICONINFORMATION);
    burner.Eject(kind);
}

CString BurnProgressText(const CString& prefix, const BurnProgress& progress)
{
    CString text;
    text.Format(L"%s %05.2f/%05.2f MB", (const wchar_t*)prefix, progress.writtenMB, progress.totalMB);
    return text;
}
