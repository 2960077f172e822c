// MP3 files in tests: the frames a file holds, and the list of outputs that the
// native oracle step (tools/oracle/check-mp3.py: mpg123, mutagen) checks after
// the Wine test program has written them. A Unix program started from Wine has
// no handle to wait on, so decoding is left to that step.
#pragma once
#include "MpegFrameHeader.h"
#include <string>
#include <vector>

namespace testsignal {

struct Mp3Frame {
    size_t offset = 0;
    MpegFrameHeader header;
    int mainDataBegin = 0;
};

struct Mp3FileInfo {
    std::vector<Mp3Frame> frames;
    size_t fileSize = 0;
    size_t framedBytes = 0;   // bytes covered by the chain of frames from offset 0
    bool startsWithId3 = false;
    bool endsWithId3v1 = false;
    bool firstFrameIsInfo = false;   // a Xing/Info header in the first frame
};

// Walks the frames from the start of the file (stops at the first byte that is not a frame).
bool ReadMp3Frames(const std::wstring& path, Mp3FileInfo& info);

// Folder given to the test by ctest (SONELLE_FIXTURES, a Unix path) as a Windows
// path ending in a backslash; empty when the variable is missing.
std::wstring FixtureFolder();

// Appends one line for the oracle: the file's name in the fixture folder and
// checks as key=value pairs ("rate=48000 channels=2 bitrate=192 seconds=3 tone=1000").
void AddOracleCheck(const std::wstring& name, const std::string& checks);

} // namespace testsignal
