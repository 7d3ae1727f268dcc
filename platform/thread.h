#pragma once
#include <windows.h>

#include <atomic>

#include "platform/handle.h"

// Base of every worker thread. The thread is created suspended; a derived
// constructor calls Start as its last step, so Run never sees a half-built
// object. A derived destructor must stop its thread first: set its own stop
// flag, then call StopWithGrace or StopAndWait. The base destructor then only
// waits for a thread that has already ended (or, when Start was never called,
// lets it end with exit code 0xFFFFFFFF without running Run).
class CCorvixBasedThread {
 public:
  CCorvixBasedThread();
  CCorvixBasedThread(const CCorvixBasedThread&) = delete;
  CCorvixBasedThread& operator=(const CCorvixBasedThread&) = delete;
  virtual ~CCorvixBasedThread();

  // Lets the thread run; nothing when it could not be created.
  void Start();
  // The thread exists and a 1 ms wait on it times out.
  bool IsRunning() const;
  // Null when the thread could not be created.
  HANDLE ThreadHandle() const { return handle_.Get(); }

 protected:
  // The thread body; its result is the thread's exit code.
  virtual unsigned Run() = 0;

  // Stop policies for derived destructors, after their stop flag is set. A
  // thread that was never started is started, so that Run sees the flag.
  // Service threads: a 1 ms grace, then the thread is terminated (code 0).
  void StopWithGrace();
  // Workers whose owner needs them finished: waits without a time limit.
  void StopAndWait();

 private:
  static unsigned __stdcall Entry(void* self);
  void ResumeForStop();

  std::atomic<bool> suspended_{true};
  UniqueHandle handle_;
};
