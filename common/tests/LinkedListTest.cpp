#include "common/CLinkedList.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
std::vector<int> Values(const CLinkedList<int>& list)
{
    std::vector<int> out;
    list.ForEach([&](int v) { out.push_back(v); });
    return out;
}
} // namespace

TEST(LinkedList, InsertsAroundNodesAndKeepsHeadTailAndCount)
{
    CLinkedList<int> list;
    auto* two = list.AddTail(2);
    list.AddHead(1);
    auto* four = list.AddTail(4);
    list.InsertBefore(four, 3);
    list.InsertAfter(four, 5);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(list.Count(), 5u);
    EXPECT_EQ(list.Head()->value, 1);
    EXPECT_EQ(list.Tail()->value, 5);

    EXPECT_EQ(list.Remove(two), 2);
    EXPECT_EQ(list.TakeTail(), 5);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(list.FindIndex(2)->value, 4);
    EXPECT_EQ(list.FindIndex(3), nullptr);
}

TEST(LinkedList, NullPositionsMeanTheEnds)
{
    CLinkedList<int> list;
    list.InsertBefore(nullptr, 2); // before nothing: at the tail
    list.InsertAfter(nullptr, 1);  // after nothing: at the head
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
    list.Remove(list.Head());
    list.Remove(list.Head());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Head(), nullptr);
    EXPECT_EQ(list.Tail(), nullptr);
}
