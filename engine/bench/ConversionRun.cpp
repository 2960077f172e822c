#include "ConversionRun.h"
#include "ConvertFile.h"

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart / f.QuadPart;
}

HWND MakeOwnerWindow()
{
    return CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

long RunConversion(CConvertFile& convert)
{
    if (!convert.Run()) return -1;
    long code = 0;
    while (code != 1 && code != 2 && code != 3) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) return -1;
        if (msg.message == WM_CONVERT_GRAPHEVENT) code = convert.WaitForCompletion();
        else DispatchMessageW(&msg);
    }
    return code;
}
