// Choosing an output folder: the platform's folder-browse dialog with an edit box
// above the tree in which the user may type a path, a check of typed paths that
// offers to create missing folders, and a write-access test for a folder.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include "String.h"

// Results of CheckFolderPath.
enum {
    FOLDER_PATH_OK = 0,          // valid (and, when asked, created)
    FOLDER_PATH_BAD_NAME = 1,    // the path or one of its names cannot be used
    FOLDER_PATH_NOT_CREATED = 2  // a folder cannot be created, or a file stands in the way
};

// Checks a typed folder path "X:\name\name..." (trailing separators are ignored);
// with testOnly FALSE it also creates the missing levels from the left.
int CheckFolderPath(const wchar_t* path, BOOL testOnly);
// The check the OK button makes: test; when the folder is missing ask `question`
// and create it on Yes. Warnings and the question are message boxes owned by
// `owner` with the caption `title`. Returns 0 when the folder can be used, -1 when
// the user declined, else the CheckFolderPath code.
int ValidateAndCreateFolder(HWND owner, const wchar_t* title, const wchar_t* path, const wchar_t* question,
                            const wchar_t* warning);
// Whether files and sub-folders can be made in `folder`; found out by making and
// removing a temporary one of each.
void CheckFolderAccess(const wchar_t* folder, BOOL* canAddFolder, BOOL* canAddFile);
// TRUE when `path` names an existing folder (a file of that name is not one).
BOOL FolderExists(const wchar_t* path);

class CPathDialogSub;

class CPathDialog {
public:
    CPathDialog(BOOL editable, const wchar_t* caption, const wchar_t* title, const wchar_t* initialFolder,
                HWND owner, int maxLength, const wchar_t* question, const wchar_t* warning);
    ~CPathDialog();
    CPathDialog(const CPathDialog&) = delete;
    CPathDialog& operator=(const CPathDialog&) = delete;

    // 1 when a folder was accepted, -1 otherwise.
    virtual int DoModal();
    CString GetPathName() const { return m_path; }

    // Control ids of the platform's browse dialog and of the added edit box.
    enum { IDC_BROWSE_TREE = 14145, IDC_BROWSE_STATUS = 14147, IDC_PATH_EDIT = 14148 };

private:
    friend class CPathDialogSub;
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM param, LPARAM data);
    void OnInitialized(HWND window);
    void OnSelectionChanged(LPCITEMIDLIST item);
    void OnEditChanged();
    void OnOK();
    int EffectiveMaxLength() const;

    BROWSEINFOW m_browse = {};
    CString m_caption;
    bool m_hasCaption;
    CString m_title;
    CString m_initialFolder;
    bool m_hasInitialFolder;
    HWND m_owner;
    wchar_t m_path[MAX_PATH] = {};
    HWND m_browseWindow = nullptr;
    BOOL m_editable;
    int m_maxLength;
    CString m_question;
    CString m_warning;
    BOOL m_accepted = FALSE;
    CPathDialogSub* m_sub;
};
