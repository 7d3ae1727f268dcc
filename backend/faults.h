#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

// What a service of the stack does instead of its normal answer, so that
// tests can provoke every failure of the installer's side without editing
// code: set at start (--fault MODE[:MS]) or by the loopback-only admin call.
enum class Fault {
  kNone,
  kCodeOne,   // the JSON answer carries "code" 1
  kNotJson,   // a 200 answer whose body is not JSON
  kNotFound,  // a 404
  kSlow,      // the normal answer after the fault's delay
  kSilent,    // reads the request and never answers (until the fault changes)
  kBadSeal,   // the package answer's data does not open
};

// "none", "code1", "notjson", "404", "slow", "silent", "badseal"; false for
// any other text.
bool ParseFault(const std::string& name, Fault* fault);
const char* FaultName(Fault fault);

// The fault of one service process, shared by its handler threads.
class FaultSwitch {
 public:
  // MODE or MODE:MS (the delay of "slow", 2000 ms by default).
  bool Set(const std::string& spec);
  Fault Get() const;
  std::string Describe() const;
  // What kSlow and kSilent do before answering: sleeps the delay, or until
  // the fault is no longer silent (or the stop), whichever the fault says.
  // False when the handler must not answer at all.
  bool Delay();
  // Wakes every waiting handler; used at shut-down.
  void Release();

 private:
  mutable std::mutex lock_;
  std::condition_variable changed_;
  Fault fault_ = Fault::kNone;
  int delayMs_ = 2000;
  bool released_ = false;
};
