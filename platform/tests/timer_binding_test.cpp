#include "platform/timer_binding.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct Ticks {
  std::atomic<int> count{0};
  std::atomic<DWORD> thread{0};
};

void OnTick(void* user) {
  auto* ticks = static_cast<Ticks*>(user);
  ticks->thread = GetCurrentThreadId();
  ++ticks->count;
}

// Waits up to a minute, only to catch a hang.
bool AwaitTicks(const Ticks& ticks, int count) {
  for (int waited = 0; ticks.count < count && waited < 60000; waited += 10) Sleep(10);
  return ticks.count >= count;
}

TEST(TimerBinding, TicksOnItsOwnThreadUntilItsOwnerStopsIt) {
  Ticks ticks;
  {
    UniqueTimer timer(StartTimerBinding(&OnTick, &ticks));
    ASSERT_NE(timer.Get(), nullptr);
    EXPECT_EQ(timer.Get()->user, &ticks);
    ASSERT_TRUE(AwaitTicks(ticks, 4));
  }
  const int stopped = ticks.count;
  EXPECT_NE(ticks.thread.load(), GetCurrentThreadId());
  // A stopped timer is killed synchronously: a later tick would be a fault,
  // so a second timer's ticks are the clock to look for one.
  Ticks witness;
  UniqueTimer other(StartTimerBinding(&OnTick, &witness));
  ASSERT_TRUE(AwaitTicks(witness, 4));
  EXPECT_EQ(ticks.count, stopped);
}

TEST(TimerBinding, ATimerThatCannotStartLeavesNoRecord) {
  Ticks ticks;
  UniqueTimer timer(StartTimerBinding(&OnTick, &ticks, 0));
  EXPECT_EQ(timer.Get(), nullptr);
  Ticks witness;
  UniqueTimer other(StartTimerBinding(&OnTick, &witness));
  ASSERT_TRUE(AwaitTicks(witness, 2));
  EXPECT_EQ(ticks.count, 0);
}

}  // namespace
