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

TEST(TimerBinding, TicksUntilStopped) {
  Ticks ticks;
  TimerBinding* binding = StartTimerBinding(&OnTick, &ticks);
  ASSERT_NE(binding, nullptr);
  EXPECT_EQ(binding->user, &ticks);
  for (int waited = 0; ticks.count < 4 && waited < 3000; waited += 10) Sleep(10);
  StopTimerBinding(binding);
  int stopped = ticks.count;
  EXPECT_GE(stopped, 4);
  EXPECT_NE(ticks.thread.load(), GetCurrentThreadId());
  Sleep(200);
  EXPECT_EQ(ticks.count, stopped);
}

TEST(TimerBinding, ATimerThatCannotStartLeavesNoRecord) {
  Ticks ticks;
  EXPECT_EQ(StartTimerBinding(&OnTick, &ticks, 0), nullptr);
  StopTimerBinding(nullptr);
  Sleep(100);
  EXPECT_EQ(ticks.count, 0);
}

}  // namespace
