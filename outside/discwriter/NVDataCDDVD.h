// The data-disc library: writers, disc checks and data discs. Here the writers
// are virtual (see VirtualWriter.h) and a disc is an ISO 9660 + Joliet image.
// The class holds no data: the library keeps one state per process.
#pragma once
#include "NVBurnCallback.h"

#ifdef NVDATACDDVD_BUILD
#define NVDATACDDVD_API __declspec(dllexport)
#else
#define NVDATACDDVD_API __declspec(dllimport)
#endif

class NVDATACDDVD_API CNVDataCDDVD {
public:
    int Initialize();
    void SetBurnMode(unsigned char mode);
    unsigned char GetDriveCount();
    char* GetDriveName(unsigned char index);        // 8-bit (ANSI code page)
    int ChooseDrive(unsigned char index);
    int TestUnitReady();
    unsigned char GetDiscType();                     // 1 CD-ROM, 2 CD-R, 3 CD-RW, 0 none
    int SupportDisc(unsigned char code);             // 11 CD-R, 12 CD-RW
    unsigned long GetFreeDiscBlock();                // 2048-byte blocks
    int UnloadMedium();
    void Free();
    unsigned long LoadSession();
    void SetDiscLabel(char* label);
    void SetFinalizeDisc(int finalize);
    void AddFileW(wchar_t* discFolder, wchar_t* sourcePath, wchar_t* longName, wchar_t* shortName);
    unsigned long Ready();                           // sectors of the laid-out disc
    int StartBurnData(NVBurnCallback callback, void* context);
    unsigned long GetBlocksToWrite();
    unsigned long GetBlocksWritten();
    unsigned long GetErrorCode();
    int Uninitialize();
};
