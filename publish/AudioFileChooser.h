// The open-file box of the publish dialog's and the wizard burn page's Add
// button: several WAV, MP3 or WMA files at once.
#pragma once
#include <windows.h>
#include <vector>
#include "String.h"

// The files the user chose, starting in `folder`; empty when the box was cancelled.
std::vector<CString> ChooseAudioFiles(HWND owner, const wchar_t* folder);

// The full paths in a multiple-selection answer: one file is its full path;
// several are the folder, then each name, every string ending in a NUL and the
// list in a second NUL.
std::vector<CString> SelectedPaths(const wchar_t* answer);
