// Names of the wizard's recordings in an album folder. A recording may go on in
// continuation files "<name>_1.mp3", "<name>_2.mp3" ..., so a name is free only
// when neither "<name>.mp3" nor any such continuation exists: a new recording
// never overwrites or interleaves with an older one.
#pragma once
#include <functional>
#include <string>

namespace recordingname {

// `taken(stem)` tells whether "<stem>.mp3" or a continuation of it exists.
// Tries "<album>", then "<album>_<timeText>", then "<album>_<timeText>-2",
// "-3" ... (two recordings started within one second). Returns the stem.
std::wstring FreeStem(const std::wstring& album, const std::wstring& timeText,
                      const std::function<bool(const std::wstring&)>& taken);

// Whether "<folder><stem>.mp3" or "<folder><stem>_<digits>.mp3" exists (long
// names only: a short-name match of the search pattern does not count).
bool StemTaken(const std::wstring& folder, const std::wstring& stem);

// Longest MP3 recording in whole seconds that fits `freeKB` less the 51200 KB
// reserve at `bitrateKbps`, at most one second short of a day.
unsigned LongestMp3Recording(unsigned long long freeKB, int bitrateKbps);

}  // namespace recordingname
