// What the benchmark programs share: a clock and the owner's side of a conversion.
#pragma once
#include <windows.h>

class CConvertFile;

// Seconds from the performance counter.
double Now();

// A message-only window to own a conversion.
HWND MakeOwnerWindow();

// Runs an opened conversion to its end as the owner dialogs do (the graph event
// message answered with WaitForCompletion): 1 complete, 2 or 3 aborted, -1 when
// Run failed or the message loop ended first.
long RunConversion(CConvertFile& convert);
