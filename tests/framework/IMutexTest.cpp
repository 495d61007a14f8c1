#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "IMutex.h"
#include "IMutexLock.h"

TEST(IMutex, ReentersAndExcludesOtherThreadsUntilFullyReleased)
{
  IMutex mutex;
  std::atomic<bool> entered{false};
  mutex.Enter();
  mutex.Enter();
  std::thread other([&] {
    IMutexLock lock(mutex);
    entered = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(entered);
  mutex.Leave();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(entered);
  mutex.Leave();
  other.join();
  EXPECT_TRUE(entered);
}

TEST(IMutex, SerialisesIncrements)
{
  IMutex mutex;
  long counter = 0;
  auto work = [&] {
    for (int i = 0; i < 100000; ++i)
    {
      IMutexLock lock(mutex);
      IMutexLock again(mutex);
      counter = counter + 1;
    }
  };
  std::thread a(work), b(work);
  a.join();
  b.join();
  EXPECT_EQ(counter, 200000);
}
