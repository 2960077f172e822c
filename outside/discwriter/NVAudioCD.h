// The audio-CD library: tracks of CD-format WAV files written as a CUE/BIN
// image on the chosen virtual writer (see VirtualWriter.h). The class holds no
// data: the library keeps one state per process.
#pragma once
#include "NVBurnCallback.h"

#ifdef NVAUDIOCD_BUILD
#define NVAUDIOCD_API __declspec(dllexport)
#else
#define NVAUDIOCD_API __declspec(dllimport)
#endif

class NVAUDIOCD_API CNVAudioCD {
public:
    int ChooseDrive(unsigned char index);
    int UnloadMedium();
    int Free();
    void SetFinalizeDisc(int finalize);
    void SetBurnMode(unsigned char mode);
    int GetValidW(wchar_t* path);                    // PCM 44100 Hz, 16 bits, stereo, 4 s or more
    int AddAudioW(wchar_t* path, int reserved, unsigned short pregapSectors, int flags);
    int StartBurn(NVBurnCallback callback, void* context);
    unsigned long GetBlocksToWrite();                // 2352-byte blocks
    unsigned long GetBlocksWritten();
    unsigned long GetErrorCode();
};
