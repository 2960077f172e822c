// The name of a recording's continuation file: "<path less its extension>_<n><ext>",
// in the recording's own folder whatever the path's length (a path split into
// fixed-size parts loses its folder once it passes 259 characters).
// Portable C++: the WAV and MP3 writers use it alike.
#pragma once
#include <string>

// ext with its dot, e.g. L".wav". The extension replaced is the text after the
// last dot of the file name; a name without one keeps all of it.
std::wstring ContinuationName(const std::wstring& path, int index, const wchar_t* ext);
