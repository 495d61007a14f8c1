#include <gtest/gtest.h>

#include <climits>

#include "FailingAllocator.h"
#include "StateChunk.h"

TEST(StateChunk, PutAppendsAndGetReadsAtPosition)
{
  StateChunk chunk;
  const double a = 1.5, b = -2.25;
  EXPECT_EQ(chunk.Put(&a, 8), 8);
  EXPECT_EQ(chunk.Put(&b, 8), 16);
  double x = 0, y = 0;
  int pos = chunk.Get(&x, 8, 0);
  EXPECT_EQ(pos, 8);
  pos = chunk.Get(&y, 8, pos);
  EXPECT_EQ(pos, 16);
  EXPECT_EQ(x, a);
  EXPECT_EQ(y, b);
}

TEST(StateChunk, ShortReadCopiesNothing)
{
  StateChunk chunk;
  const int v = 7;
  chunk.Put(&v, 4);
  double out = 3.0;
  EXPECT_EQ(chunk.Get(&out, 8, 0), -1);
  EXPECT_EQ(out, 3.0);
  int w = 0;
  EXPECT_EQ(chunk.Get(&w, 4, 1), -1);
  EXPECT_EQ(chunk.Get(&w, 4, -1), -1);
  EXPECT_EQ(chunk.Get(&w, 4, INT_MAX), -1);
  EXPECT_EQ(chunk.Get(&w, 4, 0), 4);
  EXPECT_EQ(w, 7);
}

TEST(StateChunk, FailedPutAppendsNothing)
{
  FailingAllocator alloc;
  StateChunk chunk(&alloc);
  const char bytes[3] = {1, 2, 3};
  chunk.Put(bytes, 3);
  alloc.FailAll(true);
  static char big[5000];
  EXPECT_EQ(chunk.Put(big, 5000), 3);
  EXPECT_EQ(chunk.GetSize(), 3);
}
