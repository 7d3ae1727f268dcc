#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "net/tests/recording_logger.h"
#include "platform/tests/thrown.h"
#include "services/channel.h"

// A logger whose UnsealData opens only the texts it was given.
class TableLogger : public RecordingLogger {
 public:
  void Add(const std::string& sealed, const std::string& plain) { table_[sealed] = plain; }
  std::string UnsealData(const std::string& data) override {
    auto found = table_.find(data);
    return found == table_.end() ? std::string() : found->second;
  }

 private:
  std::map<std::string, std::string> table_;
};

// The channel the service threads read, for the life of the object, in place
// of the installer's context.
class TestChannel : public IChannelSource {
 public:
  explicit TestChannel(std::string channel) : channel_(std::move(channel)) { SetChannelSource(this); }
  ~TestChannel() { SetChannelSource(nullptr); }
  TestChannel(const TestChannel&) = delete;
  TestChannel& operator=(const TestChannel&) = delete;
  std::string Channel() override { return channel_; }

 private:
  std::string channel_;
};

// Runs body on a thread of its own; Ended waits up to ms for it to return.
class BodyThread {
 public:
  explicit BodyThread(std::function<void()> body);
  ~BodyThread();
  BodyThread(const BodyThread&) = delete;
  BodyThread& operator=(const BodyThread&) = delete;
  bool Ended(DWORD ms);

 private:
  static DWORD WINAPI Entry(void* self);
  std::function<void()> body_;
  HANDLE thread_;
};

// The folder of the running test executable, with a trailing backslash.
std::wstring TestFolder();
// The OVUID.dll stand-in the build puts next to the tests.
std::wstring OvuidFixture();

// How long a test waits for something that must happen: long enough for a
// loaded machine, so that it only catches a hang.
constexpr DWORD kHangBoundMs = 60000;

// Polls GetStatus every 50 ms for at most ms; the last status seen.
template <typename Info>
int AwaitStatus(Info& info, int ms) {
  for (int waited = 0; info.GetStatus() == 0 && waited < ms; waited += 50) Sleep(50);
  return info.GetStatus();
}
