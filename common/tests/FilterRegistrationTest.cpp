// Filter-module registration: started without waiting, awaited before a graph.
#include "FilterRegistration.h"
#include "Driver.h"
#include <gtest/gtest.h>

TEST(FilterRegistration, RegistrationsEndAndCanBeAwaited)
{
    // Two files that are there (not modules: regsvr32 refuses them, silently) and
    // two that are not, which are never handed to regsvr32.
    const wchar_t* const modules[] = {L"NoSuchModule1.ax", L"common_tests.exe", L"NoSuchModule2.ax",
                                      L"common_LogProbe.exe"};
    CFilterRegistration registration;
    registration.Start(CString(drv::OwnFolder().c_str()), modules, 4);
    EXPECT_EQ(2, registration.GetPendingCount()) << "started for the files that are there, not awaited";
    EXPECT_TRUE(registration.WaitUntilDone(30000));
    EXPECT_EQ(0, registration.GetPendingCount());
    // Silent: a module that cannot be registered shows nothing.
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(0, 0).window);
    EXPECT_TRUE(registration.WaitUntilDone(0)) << "nothing left to wait for";
}
