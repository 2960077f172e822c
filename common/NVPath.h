// NV_Path: a path split into drive, folder, title and extension.
#pragma once
#include "String.h"

class NV_Path {
public:
    NV_Path() = default;
    explicit NV_Path(const wchar_t* path) { Split(path); }
    virtual ~NV_Path() = default;

    // Pure text split by the platform's rules: the drive is "X:", the folder runs to
    // the last separator (every "/" becomes "\"), the extension starts at the last
    // dot of the name. A path naming a folder without a trailing "\" is taken as a
    // file name.
    void Split(const wchar_t* path);

    CString GetFullPath() const { return m_full; }
    CString GetDrive() const { return m_drive; }
    CString GetDir() const { return m_dir; }
    CString GetFileTitle() const { return m_title; }
    CString GetExt() const { return m_ext; }
    // Drive and folder ("C:\Music\"); drive + "\" without a folder; empty without
    // a drive (relative and UNC paths).
    CString GetDriveDir() const;

private:
    CString m_full, m_drive, m_dir, m_title, m_ext;
};
