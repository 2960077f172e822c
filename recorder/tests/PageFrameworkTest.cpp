// The page framework hosted in the test process: pages from the program's own
// templates, created once, left only when they agree, found by template id.
#include "NewWizDialog.h"
#include "NewWizPage.h"
#include <gtest/gtest.h>

namespace {

class CountingPage : public CNewWizPage {
public:
    BOOL OnCreatePage() override { ++created; return createResult; }
    BOOL OnQueryClose() override { ++queried; return mayLeave; }
    BOOL OnSetActive() override { ++activated; return TRUE; }
    BOOL OnKillActive() override { ++killed; return TRUE; }
    BOOL OnWizardFinish() override { return mayFinish; }

    int created = 0, queried = 0, activated = 0, killed = 0;
    BOOL createResult = TRUE, mayLeave = TRUE, mayFinish = TRUE;
};

class PageFramework : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.SetPlaceholder(1006);
        host.AddPage(&record, 129);
        host.AddPage(&edit, 337);
        ASSERT_TRUE(host.Create(102, nullptr));
    }
    void TearDown() override
    {
        if (host.m_hWnd) host.DestroyWindow();
    }
    // Shown within the host (the host itself stays hidden in these tests).
    bool Visible(CNewWizPage& page) const
    {
        return page.m_hWnd && (::GetWindowLongPtrW(page.m_hWnd, GWL_STYLE) & WS_VISIBLE);
    }

    CNewWizDialog host{102};
    CountingPage record, edit;
};

}  // namespace

TEST_F(PageFramework, PagesAreCreatedOnceOnFirstUse)
{
    EXPECT_EQ(nullptr, host.GetActivePage());
    EXPECT_EQ(0u, host.GetActivePageID());
    EXPECT_FALSE(record.m_bCreated);

    ASSERT_TRUE(host.SetActivePage(129));
    EXPECT_TRUE(record.m_bCreated);
    EXPECT_FALSE(edit.m_bCreated) << "a page is made only when shown";
    EXPECT_EQ(&host, record.m_pParent);
    ASSERT_TRUE(host.SetActivePage(337));
    ASSERT_TRUE(host.SetActivePage(129));
    ASSERT_TRUE(host.SetActivePage(337));
    EXPECT_EQ(1, record.created);
    EXPECT_EQ(1, edit.created);
    EXPECT_EQ(337u, host.GetActivePageID());
    EXPECT_TRUE(Visible(edit));
    EXPECT_FALSE(Visible(record));
    EXPECT_TRUE(edit.m_bActive);
    EXPECT_FALSE(record.m_bActive);
}

TEST_F(PageFramework, PageSitsOnThePlaceholderAtItsFixedSize)
{
    ASSERT_TRUE(host.SetActivePage(129));
    RECT page = {};
    ::GetWindowRect(record.m_hWnd, &page);
    POINT topLeft = {page.left, page.top};
    ::ScreenToClient(host.m_hWnd, &topLeft);
    EXPECT_EQ(17, topLeft.x);
    EXPECT_EQ(79, topLeft.y);
    EXPECT_EQ(966, page.right - page.left);
    EXPECT_EQ(582, page.bottom - page.top);
    EXPECT_TRUE(::GetWindowLongPtrW(host.m_hWnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
}

TEST_F(PageFramework, APageThatRefusesCannotBeLeftNorTheDialogFinished)
{
    ASSERT_TRUE(host.SetActivePage(129));
    record.mayLeave = FALSE;
    EXPECT_FALSE(host.SetActivePage(337));
    EXPECT_EQ(129u, host.GetActivePageID());
    EXPECT_TRUE(Visible(record));
    EXPECT_FALSE(Visible(edit));

    host.Finish();
    EXPECT_TRUE(::IsWindow(host.m_hWnd)) << "the finish step does nothing while the page refuses";

    record.mayLeave = TRUE;
    EXPECT_TRUE(host.SetActivePage(337));
    EXPECT_TRUE(Visible(edit));
}

TEST_F(PageFramework, SwitchingToTheActivePageAsksItAndShowsItAgain)
{
    ASSERT_TRUE(host.SetActivePage(129));
    EXPECT_EQ(0, record.queried);
    ASSERT_TRUE(host.SetActivePage(129));
    EXPECT_EQ(1, record.queried);
    EXPECT_EQ(2, record.activated);
    EXPECT_TRUE(Visible(record));
}

TEST_F(PageFramework, UnknownIdsAndFailedCreationLeaveThePageShown)
{
    ASSERT_TRUE(host.SetActivePage(129));
    EXPECT_FALSE(host.SetActivePage(999));
    EXPECT_FALSE(host.SetActivePage(0));
    EXPECT_EQ(129u, host.GetActivePageID());

    edit.createResult = FALSE;
    EXPECT_FALSE(host.SetActivePage(337));
    EXPECT_TRUE(edit.m_bCreated) << "the window stays made";
    EXPECT_EQ(129u, host.GetActivePageID());
    EXPECT_TRUE(Visible(record));
}

TEST_F(PageFramework, TwoPagesWithOneIdOnlyTheFirstIsReached)
{
    CountingPage twin;
    host.AddPage(&twin, 129);
    ASSERT_TRUE(host.SetActivePage(129));
    EXPECT_EQ(&record, host.GetActivePage());
    EXPECT_FALSE(twin.m_bCreated);
}

TEST_F(PageFramework, DestroyingTheHostDestroysThePagesThatAgree)
{
    ASSERT_TRUE(host.SetActivePage(129));
    ASSERT_TRUE(host.SetActivePage(337));
    host.DestroyWindow();
    EXPECT_FALSE(record.m_bCreated);
    EXPECT_FALSE(edit.m_bCreated);
    EXPECT_EQ(1, record.killed);
    EXPECT_EQ(1, edit.killed);
}
