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

// Owns a running timer: stops it and frees its record when reset or
// destroyed, so no tick outlives the owner.
class UniqueTimer {
 public:
  UniqueTimer() = default;
  explicit UniqueTimer(TimerBinding* binding) : binding_(binding) {}
  UniqueTimer(const UniqueTimer&) = delete;
  UniqueTimer& operator=(const UniqueTimer&) = delete;
  ~UniqueTimer() { Reset(); }

  TimerBinding* Get() const { return binding_; }
  void Reset(TimerBinding* binding = nullptr) {
    StopTimerBinding(binding_);
    binding_ = binding;
  }

 private:
  TimerBinding* binding_ = nullptr;
};
