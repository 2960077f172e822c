// The balloon tip window: one per tip parent, its fade, its place beside its
// owner, its colours, and its end with the parent.
#include <gtest/gtest.h>
#include "TestHost.h"
#include "ToolTipWnd.h"

using namespace testhost;

TEST(ToolTipWnd, ReuseFadeHideAndParentDestruction)
{
    Host* host = new Host;
    CEdit owner;
    ASSERT_TRUE(owner.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 30), host, 71));
    ASSERT_TRUE(NV_ToolTipWnd::ShowTip(&owner, host, L"first", nullptr, 2));
    NV_ToolTipWnd* tip = NV_ToolTipWnd::FromTipParent(host->m_hWnd);
    ASSERT_NE(tip, nullptr);
    HWND tipWindow = tip->m_hWnd;
    tip->SetAlpha(17);
    ASSERT_TRUE(NV_ToolTipWnd::ShowTip(&owner, host, L"second", nullptr, 2));
    EXPECT_EQ(NV_ToolTipWnd::FromTipParent(host->m_hWnd)->m_hWnd, tipWindow) << "no second window";
    EXPECT_EQ(tip->Alpha(), 255);
    EXPECT_EQ(tip->Text(), L"first") << "reuse keeps the first text";

    // The parent moves: the tip goes 20 pixels below the owner's top.
    host->SetWindowPos((HWND) nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CRect ownerRect, tipRect;
    owner.GetWindowRect(&ownerRect);
    tip->GetWindowRect(&tipRect);
    EXPECT_EQ(tipRect.left, ownerRect.left + 20);
    EXPECT_EQ(tipRect.top, ownerRect.top + 20);

    // The fade ends hidden.
    tip->SendMessage(WM_TIMER, NV_ToolTipWnd::kDisplayTimer);
    for (int i = 0; i < 300 && tip->IsWindowVisible(); ++i) tip->SendMessage(WM_TIMER, NV_ToolTipWnd::kFadeTimer);
    EXPECT_FALSE(tip->IsWindowVisible());

    // Messages reach the parent even when its user data is overwritten.
    ::SetWindowLongPtrW(host->m_hWnd, GWLP_USERDATA, 12345);
    host->SetWindowText(L"still reached");
    EXPECT_EQ(host->GetWindowText(), L"still reached");
    ::SetWindowLongPtrW(host->m_hWnd, GWLP_USERDATA, (LONG_PTR)tip);

    EXPECT_TRUE(NV_ToolTipWnd::HideOwnerTip(host));
    delete host;  // destroys the parent: the tip goes with it
    EXPECT_FALSE(::IsWindow(tipWindow));
}

TEST(ToolTipWnd, LightYellowBalloonWithDarkText)
{
    Host host;
    CEdit owner;
    ASSERT_TRUE(owner.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 30), &host, 72));
    ASSERT_TRUE(NV_ToolTipWnd::ShowTip(&owner, &host, L"No ? here", nullptr, 2));
    NV_ToolTipWnd* tip = NV_ToolTipWnd::FromTipParent(host.m_hWnd);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->GetExStyle() & WS_EX_TOPMOST);
    CRect ownerRect, tipRect, client;
    owner.GetWindowRect(&ownerRect);
    tip->GetWindowRect(&tipRect);
    EXPECT_EQ(tipRect.TopLeft(), CPoint(ownerRect.left + 20, ownerRect.bottom + 10)) << "first placement";
    // The layered tip cannot be read back from the screen here; its text control
    // paints into a memory picture the same way.
    CWnd* text = tip->GetDlgItem(NV_ToolTipWnd::kTextId);
    ASSERT_NE(text, nullptr);
    text->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(tipRect.Width() - 2, tipRect.Height() - 2)) << "the text fills the tip";
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(mem, picture);
    text->SendMessage(WM_PRINTCLIENT, (WPARAM)mem, PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(::GetPixel(mem, 1, 1), RGB(0xFF, 0xFF, 0xDC)) << "the balloon's brush, never the keyed-out white";
    bool ink = false;
    for (int x = 0; x < client.right && !ink; ++x)
        for (int y = 0; y < client.bottom && !ink; ++y) ink = ::GetPixel(mem, x, y) == RGB(0x0A, 0x0A, 0x0A);
    ::SelectObject(mem, old);
    ::DeleteObject(picture);
    ::DeleteDC(mem);
    EXPECT_TRUE(ink) << "the text in its own near-black";
}
