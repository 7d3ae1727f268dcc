#include "platform/timer_binding.h"

#include <mmsystem.h>

namespace {

void CALLBACK OnTick(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  auto* binding = reinterpret_cast<TimerBinding*>(user);
  binding->callback(binding->user);
}

}  // namespace

TimerBinding* StartTimerBinding(void (*callback)(void*), void* user, UINT periodMs) {
  auto* binding = new TimerBinding{callback, user, 0};
  // Synchronous kill: once StopTimerBinding has killed the timer no tick can
  // still be running, so the record can be freed.
  binding->id = timeSetEvent(periodMs, 1000, &OnTick, reinterpret_cast<DWORD_PTR>(binding),
                             TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
  if (binding->id == 0) {
    delete binding;
    return nullptr;
  }
  return binding;
}

void StopTimerBinding(TimerBinding* binding) {
  if (!binding) return;
  timeKillEvent(binding->id);
  delete binding;
}
