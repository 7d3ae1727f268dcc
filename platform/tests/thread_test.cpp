#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>

#include "platform/xmutex.h"

namespace {

// The owner's copy of a thread handle, to read the exit code after the
// thread object closed its own.
HANDLE CopyOf(HANDLE handle) {
  HANDLE copy = nullptr;
  DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
  return copy;
}

DWORD ExitCodeOf(HANDLE thread) {
  WaitForSingleObject(thread, 5000);
  DWORD code = 12345;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  return code;
}

struct Seen {
  std::atomic<bool> ran{false};
  std::atomic<bool> sawStop{false};
  std::atomic<bool> returned{false};
};

// Returns a chosen code, started by its constructor.
class CodeThread : public CCorvixBasedThread {
 public:
  explicit CodeThread(unsigned code) : code_(code) { Start(); }
  ~CodeThread() override { StopAndWait(); }

 protected:
  unsigned Run() override { return code_; }

 private:
  unsigned code_;
};

// Never started and without a stop protocol: only the base part meets it.
class NeverStarted : public CCorvixBasedThread {
 public:
  explicit NeverStarted(Seen& seen) : seen_(seen) {}

 protected:
  unsigned Run() override {
    seen_.ran = true;
    return 1;
  }

 private:
  Seen& seen_;
};

// Works until its stop flag is set; `cooperative` false makes it ignore it.
class Worker : public CCorvixBasedThread {
 public:
  enum Policy { kGrace, kWait };
  Worker(Seen& seen, Policy policy, bool start, bool cooperative = true)
      : seen_(seen), policy_(policy), cooperative_(cooperative) {
    if (start) Start();
  }
  ~Worker() override {
    stop_ = true;
    if (policy_ == kGrace)
      StopWithGrace();
    else
      StopAndWait();
  }

 protected:
  unsigned Run() override {
    seen_.ran = true;
    while (!stop_ || !cooperative_) Sleep(5);
    seen_.sawStop = true;
    seen_.returned = true;
    return 7;
  }

 private:
  Seen& seen_;
  Policy policy_;
  bool cooperative_;
  std::atomic<bool> stop_{false};
};

TEST(Thread, TheBodysResultIsTheExitCode) {
  auto* thread = new CodeThread(42);
  HANDLE copy = CopyOf(thread->ThreadHandle());
  EXPECT_EQ(ExitCodeOf(copy), 42u);
  EXPECT_FALSE(thread->IsRunning());
  delete thread;
}

TEST(Thread, DestroyedBeforeStartNeverRuns) {
  Seen seen;
  auto* thread = new NeverStarted(seen);
  HANDLE copy = CopyOf(thread->ThreadHandle());
  Sleep(20);
  EXPECT_TRUE(thread->IsRunning());  // still suspended
  delete thread;
  EXPECT_EQ(ExitCodeOf(copy), 0xFFFFFFFFu);
  EXPECT_FALSE(seen.ran);
}

TEST(Thread, WaitingStopReturnsAfterTheBodyHasReturned) {
  for (bool start : {true, false}) {
    Seen seen;
    auto* worker = new Worker(seen, Worker::kWait, start);
    HANDLE copy = CopyOf(worker->ThreadHandle());
    if (start) {
      while (!seen.ran) Sleep(1);
      EXPECT_TRUE(worker->IsRunning());
    }
    delete worker;
    // A worker stopped before it was started still runs its body, which
    // finds the stop flag already set.
    EXPECT_TRUE(seen.ran) << start;
    EXPECT_TRUE(seen.returned) << start;
    EXPECT_EQ(ExitCodeOf(copy), 7u) << start;
  }
}

TEST(Thread, GraceStopEndsAThreadThatDoesNotListen) {
  Seen seen;
  auto* worker = new Worker(seen, Worker::kGrace, true, false);
  while (!seen.ran) Sleep(1);
  HANDLE copy = CopyOf(worker->ThreadHandle());
  delete worker;
  EXPECT_EQ(ExitCodeOf(copy), 0u);
  EXPECT_FALSE(seen.returned);
}

// Two workers adding to one counter under its mutex.
class Adder : public CCorvixBasedThread {
 public:
  Adder(CXMutex& lock, long& counter) : lock_(lock), counter_(counter) { Start(); }
  ~Adder() override { StopAndWait(); }

 protected:
  unsigned Run() override {
    for (int i = 0; i < 4000; ++i) {
      CXMutexGuard hold(lock_);
      long seen = counter_;
      if (i % 500 == 0) Sleep(0);
      counter_ = seen + 1;
    }
    return 0;
  }

 private:
  CXMutex& lock_;
  long& counter_;
};

TEST(Thread, MutexGuardsSharedData) {
  CXMutex lock;
  long counter = 0;
  { Adder first(lock, counter), second(lock, counter); }
  EXPECT_EQ(counter, 8000);
}

}  // namespace
