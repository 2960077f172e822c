#include "RecordingLimits.h"

unsigned MaxRecordSeconds(ULONGLONG freeKB, int rate, int channels, int bits)
{
    ULONGLONG usable = freeKB > kDiskReserveKB ? freeKB - kDiskReserveKB : 0;
    long long kbPerSecond = ((long long)bits * channels / 8 * rate) / 1024;
    if (kbPerSecond < 1) kbPerSecond = 1;
    ULONGLONG seconds = usable / (ULONGLONG)kbPerSecond;
    return seconds >= kMaxRecordSeconds ? kMaxRecordSeconds : (unsigned)seconds;
}

CString RecordFilePath(const wchar_t* folder, const wchar_t* prefix, int hour, int minute, int second,
                       const std::function<bool(const wchar_t*)>& exists)
{
    CString time;
    time.Format(L"%02d%02d%02d", hour, minute, second);
    CString stem;
    if (prefix && *prefix) stem.Format(L"%s_%s", prefix, (const wchar_t*)time);
    else stem = time;
    CString path;
    path.Format(L"%s%s.wav", folder, (const wchar_t*)stem);
    for (int n = 2; exists && exists(path); ++n)
        path.Format(L"%s%s-%d.wav", folder, (const wchar_t*)stem, n);
    return path;
}

CString CreateRecordFile(const wchar_t* folder, const wchar_t* prefix, int hour, int minute, int second,
                         DWORD* error)
{
    bool created = false;
    DWORD failure = 0;
    CString path = RecordFilePath(folder, prefix, hour, minute, second, [&](const wchar_t* candidate) {
        HANDLE file = CreateFileW(candidate, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            created = true;
            return false;
        }
        failure = GetLastError();
        return failure == ERROR_FILE_EXISTS || failure == ERROR_ALREADY_EXISTS;
    });
    if (error) *error = created ? 0 : failure;
    return created ? path : CString();
}

void DeleteUnusedRecordFile(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!path || !*path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 && data.nFileSizeLow == 0)
        DeleteFileW(path);
}

CString RecordedSizeText(LONGLONG bytes)
{
    CString text;
    if (bytes > 1048576) text.Format(L"%3.2f MB", bytes / 1048576.0);
    else text.Format(L"%3.1f KB", bytes / 1024.0);
    return text;
}

CString PercentText(int percent)
{
    CString text;
    text.Format(L"%d %%", percent);
    return text;
}

int LevelBarValue(double decibels)
{
    if (decibels < -20.0) return 0;
    return (int)((decibels + 30.0) * 2.0);
}
