#pragma once
#include "platform/thread.h"
#include "services/stop_signal.h"

// The base of the three service threads (package index, channel welcome,
// attribution report). Stopping does not kill the thread in the middle of
// its work: the signal wakes its pauses and interrupts its connection, the
// owner waits a bounded time for the body to return, and only a thread that
// is still running after that is ended by force.
class CServiceThread : public CCorvixBasedThread {
 protected:
  // Each derived destructor calls this first, before its own members go.
  void StopBounded();

  StopSignal stop_;
};
