#include "ComPtr.h"
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {
// A counting IUnknown so the tests see every AddRef and Release.
struct Counted : IUnknown {
    LONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};
}

TEST(CComPtr, CopyMoveAndReleaseBalanceTheCount)
{
    Counted obj;
    {
        CComPtr<IUnknown> a(&obj);
        EXPECT_EQ(2, obj.refs);
        CComPtr<IUnknown> b = a;
        EXPECT_EQ(3, obj.refs);
        CComPtr<IUnknown> c;
        c = std::move(b);
        EXPECT_EQ(3, obj.refs);
        EXPECT_FALSE(b);
        c = std::move(c);   // self-move keeps the reference
        EXPECT_EQ(3, obj.refs);
        std::vector<CComPtr<IUnknown>> v;
        v.push_back(a);
        v.push_back(std::move(c));
        v.erase(v.begin());
        EXPECT_EQ(3, obj.refs);
    }
    EXPECT_EQ(1, obj.refs);
}
