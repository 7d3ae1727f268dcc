#pragma once
#include <windows.h>

#include <atomic>
#include <mutex>

#include "net/tcp_client.h"
#include "platform/handle.h"

// The stop flag of a service thread that the stopping side can also use to
// cut the thread's waits short: Stop wakes Sleep at once and interrupts the
// connection the thread has attached, so that a blocked receive fails
// instead of running into its time-out.
class StopSignal {
 public:
  StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // From any thread; idempotent.
  void Stop();
  bool Stopped() const { return stopped_.load(); }
  // Sleeps up to ms; false when the stop came (before or during the sleep).
  bool Sleep(DWORD ms);
  // The manual-reset event that the stop sets (null if it could not be
  // made): the cancel event of the thread's connections, which ends their
  // name lookups.
  HANDLE Event() const { return wake_.Get(); }

  // The connection the thread is using for the life of the object; a stop
  // that came earlier interrupts it at once.
  class Attached {
   public:
    Attached(StopSignal& signal, CTCPClient& client);
    ~Attached();
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;

   private:
    StopSignal& signal_;
  };

 private:
  std::atomic<bool> stopped_{false};
  UniqueHandle wake_;
  std::mutex lock_;
  CTCPClient* client_ = nullptr;
};

// How long an owner waits for a stopped service thread to end by itself
// before it ends it by force (which only a thread that ignores its signal
// can need).
constexpr DWORD kServiceStopBoundMs = 3000;
