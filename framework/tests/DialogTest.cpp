// Dialogs: our modal loop, PreTranslateMessage order, data exchange, modeless
// child dialogs from templates.
#include <gtest/gtest.h>
#include "Controls.h"
#include "TestResource.h"
#include <vector>

namespace {

std::vector<CString> g_trace;

class TracingEdit : public CEdit {
public:
    bool swallow = false;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) g_trace.push_back(L"edit");
        return swallow && msg->message == WM_KEYDOWN;
    }
};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_MODAL) {}
    TracingEdit edit;
    CString text = L"hello";
    int number = 12;
    int check = 1;
    int radio = 2;
    int changes = 0;
    bool swallowKeys = false;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) g_trace.push_back(L"dialog");
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_TEST_EDIT, edit);
        DDX_Text(dx, IDC_TEST_EDIT, text);
        DDX_Text(dx, IDC_TEST_NUMBER, number);
        DDX_Check(dx, IDC_TEST_CHECK, check);
        DDX_Radio(dx, IDC_TEST_RADIO1, radio);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        edit.swallow = swallowKeys;
        // Input arrives through the loop: a key for the edit, then the OK button.
        ::PostMessageW(edit.m_hWnd, WM_KEYDOWN, 'A', 0);
        ::PostMessageW(m_hWnd, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    void OnTextChanged()
    {
        ++changes;
        UpdateData(FALSE);  // would recurse if equal texts were set again
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_EN_CHANGE(IDC_TEST_EDIT, OnTextChanged)
END_MESSAGE_MAP()

} // namespace

TEST(Dialog, ModalLoopWalksPreTranslateFromTargetUpToDialog)
{
    g_trace.clear();
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(g_trace.size(), 2u);
    EXPECT_EQ(g_trace[0], L"edit");
    EXPECT_EQ(g_trace[1], L"dialog");
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "the dialog window is gone after DoModal";

    g_trace.clear();
    TestDialog swallowing;
    swallowing.swallowKeys = true;
    EXPECT_EQ(swallowing.DoModal(), IDOK);
    ASSERT_EQ(g_trace.size(), 1u) << "a control that takes the key stops the walk";
}

TEST(Dialog, DataExchangeRoundTripsAndNeverSetsAnEqualText)
{
    TestDialog dlg;
    dlg.text = L"abc";
    dlg.number = -5;
    dlg.check = 1;
    dlg.radio = 2;
    EXPECT_EQ(dlg.DoModal(), IDOK);  // OnOK saves what OnInitDialog loaded
    EXPECT_EQ(dlg.text, L"abc");
    EXPECT_EQ(dlg.number, -5);
    EXPECT_EQ(dlg.check, 1);
    EXPECT_EQ(dlg.radio, 2);
    EXPECT_EQ(dlg.changes, 1) << "one change from loading; UpdateData(FALSE) in the handler sets nothing again";
}

namespace {
class ManualDialog : public CDialog {
public:
    ManualDialog() : CDialog(IDD_TEST_MODAL) {}
    CString text;
    int number = 0;
    int check = 0;
    int radio = 0;
    BOOL savedOk = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_TEST_EDIT, text);
        DDX_Text(dx, IDC_TEST_NUMBER, number);
        DDX_Check(dx, IDC_TEST_CHECK, check);
        DDX_Radio(dx, IDC_TEST_RADIO1, radio);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetDlgItemText(IDC_TEST_EDIT, L"typed");
        SetDlgItemText(IDC_TEST_NUMBER, L" 42 ");
        CheckDlgButton(IDC_TEST_CHECK, BST_UNCHECKED);
        CheckRadioButton(IDC_TEST_RADIO1, IDC_TEST_RADIO3, IDC_TEST_RADIO1);
        CheckDlgButton(IDC_TEST_AFTER, BST_CHECKED);  // next group: not part of the value
        savedOk = UpdateData(TRUE);
        SetDlgItemText(IDC_TEST_NUMBER, L"4x2");
        EXPECT_FALSE(UpdateData(TRUE)) << "a number that does not parse fails the exchange";
        EXPECT_EQ(number, 42);
        EndDialog(IDCANCEL);
        return TRUE;
    }
};
} // namespace

TEST(Dialog, DataExchangeReadsControlsBack)
{
    ManualDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.savedOk);
    EXPECT_EQ(dlg.text, L"typed");
    EXPECT_EQ(dlg.number, 42);
    EXPECT_EQ(dlg.check, 0);
    EXPECT_EQ(dlg.radio, 0);
}

TEST(Dialog, ModelessChildDialogFromTemplate)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"p", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    CDialog child;
    ASSERT_TRUE(child.Create(IDD_TEST_CHILD, &parent));
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_EQ(::GetParent(child.m_hWnd), parent.m_hWnd);
    EXPECT_NE(child.GetDlgItem(IDC_TEST_EDIT), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(child.m_hWnd), &child);
    parent.DestroyWindow();
    EXPECT_EQ(child.m_hWnd, nullptr) << "the child dialog went with its parent";
}

TEST(Dialog, MissingTemplateFailsDoModal)
{
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
}
