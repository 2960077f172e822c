// One entry of the publish list: a track of the recording open in the Edit page
// (kind 1, a frame range of its PCM work file) or a whole audio file (kind 2).
// The pages hand these to the publish dialog and the wizard's burn page; every
// row of the publish list owns its own copy.
#pragma once
#include "String.h"

#include <cstdint>

// The Edit page's record of one track (one row of its track list).
struct AudioTrackRecord {
    int selected = 0;          // 1 = checked
    int trackNumber = 0;       // 0-based
    int startFrame = 0;
    int frameCount = 0;
    int channels = 0;
    int bitsPerSample = 0;
    int sampleRate = 0;
    int dataOffset = 0;        // header bytes of the work WAV
    CString trackName;
    int64_t date = 0;          // last-write time of the file shown in the editor
};

enum PublishItemKind { PublishKindTrack = 1, PublishKindFile = 2 };

struct PublishItemData {
    int kind = PublishKindFile;
    CString sourcePath;
    CString userPath;          // kind 2: the file the user chose, when the source is a copy of it
    double playTime = 0.0;     // seconds
    int checked = 1;
    int nameFixed = 0;         // 1 = the track name no longer follows the album
    CString fileTitle;
    CString album;
    CString artist;
    CString trackName;
    CString comment;           // carried, not used here
    CString genreText;         // carried, not used here
    int year = 0;              // below 1 = not set
    int rowIndex = 0;
    int trackOnAlbum = 0;      // carried, not used here
    CString composer;          // carried, not used here
    AudioTrackRecord track;

    // The file the row stands for: the user's file, else the source itself.
    const CString& UserPath() const { return userPath.IsEmpty() ? sourcePath : userPath; }

    // The byte range of a kind 1 item in its work file.
    int64_t StartByte() const { return int64_t(track.startFrame) * BlockSize(); }
    int64_t EndByte() const { return (int64_t(track.startFrame) + track.frameCount) * BlockSize(); }
    int BlockSize() const { return track.channels * track.bitsPerSample / 8; }
};
