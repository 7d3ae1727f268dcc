#pragma once
#include <windows.h>

// A periodic multimedia timer that calls callback(user) on the timer's own
// thread, every 50 ms unless a test asks for another period.
struct TimerBinding {
  void (*callback)(void* user);
  void* user;
  UINT id;
};

// Null when the timer could not be started.
TimerBinding* StartTimerBinding(void (*callback)(void*), void* user, UINT periodMs = 50);
// Stops the timer and frees the record; null does nothing.
void StopTimerBinding(TimerBinding* binding);
