// Opening a WAV in the Edit page, timed under Wine inside the process (Wine's
// start-up is not counted): the conversion that makes the work WAV (".tmw") and
// its peak file (".npk"). Prints "open seconds" for scripts/bench-open-wav.sh.
//   OpenWavBench <input.wav> <output.tmw>   (the output and its peak file must not exist)
#include <windows.h>
#include <cstdio>
#include "ConversionRun.h"
#include "ConvertFile.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) return 2;
    CoInitialize(nullptr);
    HWND owner = MakeOwnerWindow();
    long code = -1;
    double start = Now();
    {
        CConvertFile convert;
        if (convert.OpenFileToNPKnPCM(owner, argv[1], argv[2], TRUE, TRUE)) code = RunConversion(convert);
    }
    double seconds = Now() - start;
    if (code == 1) printf("open %.3f\n", seconds);
    else printf("open FAILED %ld\n", code);
    fflush(stdout);
    return code == 1 ? 0 : 1;
}
