// Folder checks on real folders, and the browse dialog driven as a user would.
#include "FolderBrowser.h"
#include "Driver.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <thread>

namespace {

class FolderBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_root = std::wstring(temp) + L"FolderBrowserTest" + std::to_wstring(GetCurrentProcessId());
        DeleteTree(m_root);
        ASSERT_TRUE(CreateDirectoryW(m_root.c_str(), nullptr));
    }
    void TearDown() override { DeleteTree(m_root); }

    std::wstring Path(const wchar_t* tail) const { return m_root + tail; }
    static void MakeFile(const std::wstring& path)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        CloseHandle(file);
    }

    std::wstring m_root;  // C:\...\FolderBrowserTestNNN, no trailing separator
};

struct PathCase {
    const wchar_t* path;
    int code;
};

// The browse window gets its owner's input back just after a message box goes,
// on its own thread: a click in between would find OK disabled.
bool ClickOkOnceEnabled(HWND window)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
        if (drv::ClickControl(window, IDOK)) return true;
    return false;
}

}  // namespace

TEST_F(FolderBrowserTest, TypedPathsAreCheckedName_by_name)
{
    const PathCase cases[] = {
        {L"", FOLDER_PATH_BAD_NAME},
        {L"C:", FOLDER_PATH_BAD_NAME},
        {L"C:\\", FOLDER_PATH_OK},
        {L"C:/x", FOLDER_PATH_BAD_NAME},
        {L"1:\\x", FOLDER_PATH_BAD_NAME},
        {L"\\\\server\\share", FOLDER_PATH_BAD_NAME},
        {L"c:\\Music\\Take one", FOLDER_PATH_OK},
        {L"C:\\Music\\a/b", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\name.", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\name ", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\ name", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\.hidden", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\tab\t", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\a?b", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\a|b", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\a\"b", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\a:b", FOLDER_PATH_BAD_NAME},
        {L"C:\\Music\\\\Take", FOLDER_PATH_BAD_NAME},
        // A trailing separator is what users type; it does not make a path bad.
        {L"C:\\Music\\Take\\", FOLDER_PATH_OK},
        {L"C:\\Music\\Take\\\\", FOLDER_PATH_OK},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(c.code, CheckFolderPath(c.path, TRUE)) << "path [" << std::wstring(c.path).size() << "] "
                                                          << std::string(c.path, c.path + wcslen(c.path));
    EXPECT_EQ(FOLDER_PATH_BAD_NAME, CheckFolderPath(nullptr, TRUE));
}

TEST_F(FolderBrowserTest, OverlongPathIsRefusedNotCut)
{
    std::wstring path = L"C:\\" + std::wstring(300, L'a');
    EXPECT_EQ(FOLDER_PATH_BAD_NAME, CheckFolderPath(path.c_str(), FALSE));
}

TEST_F(FolderBrowserTest, CreatesMissingLevelsFromTheLeft)
{
    std::wstring path = Path(L"\\One\\Two\\");
    ASSERT_EQ(FOLDER_PATH_OK, CheckFolderPath(path.c_str(), TRUE));
    EXPECT_FALSE(FolderExists(Path(L"\\One").c_str())) << "a test creates nothing";
    EXPECT_EQ(FOLDER_PATH_OK, CheckFolderPath(path.c_str(), FALSE));
    EXPECT_TRUE(FolderExists(Path(L"\\One\\Two").c_str()));
}

TEST_F(FolderBrowserTest, BadNameStopsCreationBeforeIt)
{
    EXPECT_EQ(FOLDER_PATH_BAD_NAME, CheckFolderPath(Path(L"\\Good\\bad.\\Later").c_str(), FALSE));
    EXPECT_TRUE(FolderExists(Path(L"\\Good").c_str()));
    EXPECT_FALSE(FolderExists(Path(L"\\Good\\bad.").c_str()));
}

TEST_F(FolderBrowserTest, FileInTheWayIsNeverAFolder)
{
    MakeFile(Path(L"\\Take"));
    EXPECT_FALSE(FolderExists(Path(L"\\Take").c_str()));
    EXPECT_EQ(FOLDER_PATH_NOT_CREATED, CheckFolderPath(Path(L"\\Take").c_str(), FALSE));
    EXPECT_EQ(FOLDER_PATH_NOT_CREATED, CheckFolderPath(Path(L"\\Take\\Inner").c_str(), FALSE));
}

TEST_F(FolderBrowserTest, MissingDriveRootCannotBeCreated)
{
    // Wine maps few drive letters; find one that is not there.
    wchar_t root[] = L"Q:\\";
    for (wchar_t d = L'Q'; d <= L'Y' && FolderExists(root); ++d) root[0] = d;
    ASSERT_FALSE(FolderExists(root));
    EXPECT_EQ(FOLDER_PATH_OK, CheckFolderPath(root, TRUE));
    EXPECT_EQ(FOLDER_PATH_NOT_CREATED, CheckFolderPath(root, FALSE));
}

TEST_F(FolderBrowserTest, AccessIsTestedByMakingEntriesAndLeavesNoneBehind)
{
    BOOL canFolder = FALSE, canFile = FALSE;
    CheckFolderAccess(m_root.c_str(), &canFolder, &canFile);
    EXPECT_TRUE(canFolder);
    EXPECT_TRUE(canFile);
    CheckFolderAccess((m_root + L"\\").c_str(), &canFolder, &canFile);
    EXPECT_TRUE(canFolder);
    EXPECT_TRUE(canFile);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((m_root + L"\\*").c_str(), &data);
    int entries = 0;
    do { entries += data.cFileName[0] != L'.'; } while (FindNextFileW(find, &data));
    FindClose(find);
    EXPECT_EQ(0, entries);

    CheckFolderAccess(Path(L"\\Missing").c_str(), &canFolder, &canFile);
    EXPECT_FALSE(canFolder);
    EXPECT_FALSE(canFile);
    MakeFile(Path(L"\\AFile"));
    CheckFolderAccess(Path(L"\\AFile").c_str(), &canFolder, &canFile);
    EXPECT_FALSE(canFolder);
    EXPECT_FALSE(canFile);
    CheckFolderAccess(L"", &canFolder, &canFile);
    EXPECT_FALSE(canFolder);
    EXPECT_FALSE(canFile);
}

// ---------------------------------------------------------------------------
// The dialog itself, run on its own thread and driven from the test thread.

namespace {

const wchar_t kQuestion[] = L"The folder does not exist.  Do you want to create one?";
const wchar_t kWarning[] = L"Cannot use the folder name.  Please use different name.";

class RunningPathDialog {
public:
    RunningPathDialog(const std::wstring& initial, int maxLength)
        : m_dialog(TRUE, L"Pick a folder", L"Where to save", initial.c_str(), nullptr, maxLength, kQuestion,
                   kWarning),
          m_thread([this] {
              CoInitialize(nullptr);
              m_result = m_dialog.DoModal();
              CoUninitialize();
              m_done = true;
          })
    {
        m_window = drv::WaitForWindow(L"#32770", L"Pick a folder", GetCurrentProcessId(), 10000);
        // The edit box appears once the dialog has initialised, and shows the first
        // selection once the tree has selected it: on a busy machine that can take
        // many seconds (the tree lists every drive first).
        for (int i = 0; i < 1500 && m_window && EditText().empty(); ++i) Sleep(10);
    }
    ~RunningPathDialog()
    {
        if (!m_done && IsWindow(m_window)) PostMessageW(m_window, WM_COMMAND, IDCANCEL, 0);
        if (m_thread.joinable()) m_thread.join();
    }
    HWND Window() const { return m_window; }
    bool OkEnabled() const { return IsWindowEnabled(GetDlgItem(m_window, IDOK)) != FALSE; }
    std::wstring EditText() const { return drv::ControlText(m_window, CPathDialog::IDC_PATH_EDIT); }
    void Type(const std::wstring& text) { drv::SetControlText(m_window, CPathDialog::IDC_PATH_EDIT, text); }
    int Finish()
    {
        if (m_thread.joinable()) m_thread.join();
        return m_result;
    }
    bool Done() const { return m_done; }
    CPathDialog& Dialog() { return m_dialog; }

private:
    CPathDialog m_dialog;
    HWND m_window = nullptr;
    std::atomic<int> m_result{0};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

}  // namespace

TEST_F(FolderBrowserTest, DialogShowsTheInitialFolderAndCreatesATypedOneOnYes)
{
    {
        // In a brand-new Wine prefix the shell's first browse dialog never reports its
        // initial selection; a second dialog does. Open and close one first.
        RunningPathDialog warmUp(m_root, 200);
        if (!warmUp.EditText().empty()) warmUp.Dialog();
    }
    RunningPathDialog run(m_root, 200);
    if (run.Window() && run.EditText().empty())
        GTEST_SKIP() << "the shell's browse dialog showed no initial selection (fresh Wine prefix)";
    ASSERT_NE(nullptr, run.Window());
    ASSERT_NE(nullptr, GetDlgItem(run.Window(), CPathDialog::IDC_PATH_EDIT));
    EXPECT_EQ(m_root, run.EditText());
    EXPECT_TRUE(run.OkEnabled());

    run.Type(L"");
    EXPECT_FALSE(run.OkEnabled()) << "an empty edit box disables OK";
    std::wstring typed = Path(L"\\New\\Level\\");
    run.Type(typed);
    EXPECT_TRUE(run.OkEnabled());
    ASSERT_TRUE(ClickOkOnceEnabled(run.Window()));

    drv::MessageBoxInfo question = drv::WaitForMessageBox(GetCurrentProcessId(), 5000);
    ASSERT_NE(nullptr, question.window);
    EXPECT_NE(std::wstring::npos, question.text.find(kQuestion));
    EXPECT_FALSE(FolderExists(Path(L"\\New").c_str()));
    ASSERT_TRUE(drv::AnswerMessageBox(question, IDYES));

    EXPECT_EQ(1, run.Finish());
    EXPECT_TRUE(FolderExists(Path(L"\\New\\Level").c_str()));
    EXPECT_EQ(Path(L"\\New\\Level"), std::wstring(run.Dialog().GetPathName()));
}

TEST_F(FolderBrowserTest, DialogWarnsAboutBadNamesFilesAndLongPathsAndStaysOpen)
{
    MakeFile(Path(L"\\AFile"));
    const std::wstring cases[] = {Path(L"\\bad name."), Path(L"\\AFile"), Path(L"\\") + std::wstring(80, L'x')};
    const wchar_t* expected[] = {kWarning, L"can not be created", kWarning};
    RunningPathDialog run(m_root, (int)m_root.size() + 40);
    ASSERT_NE(nullptr, run.Window());
    for (int i = 0; i < 3; ++i) {
        run.Type(cases[i]);
        ASSERT_TRUE(ClickOkOnceEnabled(run.Window()));
        drv::MessageBoxInfo warning = drv::WaitForMessageBox(GetCurrentProcessId(), 5000);
        ASSERT_NE(nullptr, warning.window) << i;
        EXPECT_NE(std::wstring::npos, warning.text.find(expected[i])) << i;
        ASSERT_TRUE(drv::AnswerMessageBox(warning, IDOK));
        EXPECT_TRUE(drv::WaitForWindowGone(warning.window, 5000));
        EXPECT_FALSE(run.Done()) << "the browse window stays open";
    }
    EXPECT_FALSE(FolderExists(Path(L"\\bad name.").c_str()));
    ASSERT_TRUE(drv::ClickControl(run.Window(), IDCANCEL));
    EXPECT_EQ(-1, run.Finish());
}

TEST_F(FolderBrowserTest, DeclinedQuestionCreatesNothing)
{
    RunningPathDialog run(m_root, 200);
    ASSERT_NE(nullptr, run.Window());
    run.Type(Path(L"\\Declined"));
    ASSERT_TRUE(ClickOkOnceEnabled(run.Window()));
    drv::MessageBoxInfo question = drv::WaitForMessageBox(GetCurrentProcessId(), 5000);
    ASSERT_TRUE(drv::AnswerMessageBox(question, IDNO));
    EXPECT_TRUE(drv::WaitForWindowGone(question.window, 5000));
    EXPECT_FALSE(run.Done());
    EXPECT_FALSE(FolderExists(Path(L"\\Declined").c_str()));
}
