#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "IMutex.h"
#include "IMutexLock.h"

TEST(IMutex, ReentersAndExcludesOtherThreadsUntilFullyReleased)
{
  IMutex mutex;
  std::atomic<bool> entered{false};
  mutex.Enter();
  mutex.Enter();
  std::thread other(
      [&]
      {
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
