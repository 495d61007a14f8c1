#include <gtest/gtest.h>

#include "FailingAllocator.h"
#include "PtrList.h"

namespace
{
// Counts live instances so that the list's ownership can be checked.
struct Tracked
{
  static int live;
  int id;
  explicit Tracked(int i)
    : id(i)
  {
    ++live;
  }
  ~Tracked() { --live; }
};
int Tracked::live = 0;

std::vector<int> Ids(const PtrList<Tracked>& list)
{
  std::vector<int> ids;
  for (int i = 0; i < list.GetCount(); ++i) ids.push_back(list.Get(i)->id);
  return ids;
}
}  // namespace

TEST(PtrList, IndexOutsideListReadsAsNoEntry)
{
  PtrList<Tracked> list;
  EXPECT_EQ(list.Get(0), nullptr);
  list.Add(new Tracked(1));
  list.Add(new Tracked(2));
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(list.Get(2), nullptr);
  EXPECT_EQ(list.Get(1)->id, 2);
}

TEST(PtrList, InsertAndDeleteKeepOrderAndOwnership)
{
  Tracked::live = 0;
  {
    PtrList<Tracked> list;
    list.Add(new Tracked(1));
    list.Add(new Tracked(3));
    list.Insert(1, new Tracked(2));
    list.Insert(0, new Tracked(0));
    list.Insert(99, new Tracked(4));
    EXPECT_EQ(Ids(list), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(list.Find(list.Get(3)), 3);

    list.Delete(0);
    list.Delete(2);
    list.Delete(7);
    EXPECT_EQ(Ids(list), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(Tracked::live, 3);

    list.Empty();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(Tracked::live, 0);
    list.Add(new Tracked(5));
  }
  EXPECT_EQ(Tracked::live, 0);
}

TEST(PtrList, NonOwningListLeavesObjectsAlone)
{
  Tracked a(1);
  Tracked::live = 1;
  {
    PtrList<Tracked, false> list;
    list.Add(&a);
    list.Delete(0);
    list.Add(&a);
  }
  EXPECT_EQ(Tracked::live, 1);
}

TEST(PtrList, FailedGrowthDropsTheEntry)
{
  FailingAllocator alloc;
  PtrList<Tracked> list(&alloc);
  Tracked::live = 0;
  ASSERT_NE(list.Add(new Tracked(1)), nullptr);
  alloc.FailAll(true);
  // 500 pointers still fit in the first 4000-byte block; the 501st needs more.
  for (int i = 0; i < 499; ++i) ASSERT_NE(list.Add(new Tracked(i)), nullptr);
  Tracked extra(9);
  EXPECT_EQ(list.Add(&extra), nullptr);
  EXPECT_EQ(list.Insert(0, &extra), nullptr);
  EXPECT_EQ(list.GetCount(), 500);
  EXPECT_EQ(list.Get(0)->id, 1);
}
