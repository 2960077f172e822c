#include "List.h"
#include "Array.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
struct Split {
    int pos, flag;
    bool operator==(const Split& o) const { return pos == o.pos && flag == o.flag; }
};

template <class L>
std::vector<int> Positions(const L& list)
{
    std::vector<int> out;
    for (POSITION p = list.GetHeadPosition(); p;) out.push_back(list.GetNext(p).pos);
    return out;
}
} // namespace

TEST(CList, InsertWalkAndRemoveByPosition)
{
    CList<Split, Split> list(10);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    POSITION head = list.AddTail(Split{0, 1});
    POSITION tail = list.AddTail(Split{1000, 0});
    POSITION mid = list.InsertBefore(tail, Split{500, 1});
    list.InsertAfter(head, Split{250, 0});
    list.AddHead(Split{-1, 0});
    EXPECT_EQ((std::vector<int>{-1, 0, 250, 500, 1000}), Positions(list));
    EXPECT_EQ(5, list.GetCount());

    list.RemoveAt(mid);
    EXPECT_EQ((std::vector<int>{-1, 0, 250, 1000}), Positions(list));
    EXPECT_EQ(-1, list.RemoveHead().pos);
    EXPECT_EQ(1000, list.RemoveTail().pos);
    EXPECT_EQ(0, list.GetHead().pos);
    EXPECT_EQ(250, list.GetTail().pos);

    // Backwards walk and lookups.
    std::vector<int> back;
    for (POSITION p = list.GetTailPosition(); p;) back.push_back(list.GetPrev(p).pos);
    EXPECT_EQ((std::vector<int>{250, 0}), back);
    EXPECT_EQ(list.GetTailPosition(), list.FindIndex(1));
    EXPECT_EQ(nullptr, list.FindIndex(2));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    EXPECT_EQ(list.GetHeadPosition(), list.Find(Split{0, 1}));
    EXPECT_EQ(nullptr, list.Find(Split{0, 1}, list.GetHeadPosition()));
    list.SetAt(list.GetHeadPosition(), Split{5, 5});
    EXPECT_EQ(5, list.GetAt(list.GetHeadPosition()).flag);

    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetTailPosition());
    list.AddTail(Split{7, 0});           // still usable after emptying
    EXPECT_EQ(1, list.GetCount());
}

TEST(CList, RemovingTheOnlyElementAndCopying)
{
    CList<Split, Split> list;
    list.RemoveAt(list.AddTail(Split{1, 1}));
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());
    list.AddTail(Split{1, 1});
    list.AddTail(Split{2, 0});
    CList<Split, Split> copy(list);
    list.RemoveAll();
    EXPECT_EQ((std::vector<int>{1, 2}), Positions(copy));
}

TEST(CStringList, FindsStringsAndPtrListKeepsPointers)
{
    CStringList names(10);
    names.AddTail(L"a.wav");
    names.AddTail(CString(L"b.wav"));
    EXPECT_NE(nullptr, names.Find(L"b.wav"));
    EXPECT_EQ(nullptr, names.Find(L"B.wav"));

    int x = 1, y = 2;
    CPtrList ptrs(10);
    ptrs.AddTail(&x);
    ptrs.AddTail(&y);
    EXPECT_EQ(&y, ptrs.GetTail());
    EXPECT_EQ(ptrs.GetHeadPosition(), ptrs.Find(&x));
}

TEST(CArray, GrowInsertAndRemove)
{
    CArray<int, int> a;
    EXPECT_EQ(0, a.Add(10));
    a.Add(30);
    a.InsertAt(1, 20);
    a.SetAtGrow(5, 60);
    ASSERT_EQ(6, a.GetSize());
    EXPECT_EQ(20, a[1]);
    EXPECT_EQ(0, a.GetAt(3));
    EXPECT_EQ(5, a.GetUpperBound());
    a.RemoveAt(1, 2);
    EXPECT_EQ(4, a.GetCount());
    EXPECT_EQ(10, a[0]);
    a.RemoveAt(3, 100);                  // a count beyond the end stops at the end
    EXPECT_EQ(3, a.GetSize());
    a.RemoveAt(9);                       // out of range does nothing
    EXPECT_EQ(3, a.GetSize());

    CStringArray s;
    s.Add(L"x");
    s.InsertAt(0, L"w", 2);
    EXPECT_EQ(3, s.GetSize());
    EXPECT_STREQ(L"w", s[1]);
    EXPECT_STREQ(L"x", s.GetAt(2));
    s.RemoveAll();
    EXPECT_TRUE(s.IsEmpty());
}
