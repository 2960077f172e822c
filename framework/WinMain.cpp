// The programs' entry point; linked in only by programs built with -municode.
#include "WinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* cmdLine, int cmdShow)
{
    return AfxWinMain(instance, cmdLine, cmdShow);
}
