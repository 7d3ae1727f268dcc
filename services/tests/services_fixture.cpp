#include "services/tests/services_fixture.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include "analytics/logger.h"
#include "platform/tests/temp_folder.h"

namespace {

// The installer starts the socket library before any service runs and hands
// the logger its folders before its first use; so do the tests, with folders
// of their own.
class ServicesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    SetLoggerFolders(folder_.Path(), folder_.Path() + L"Qmx\\");
  }
  void TearDown() override { WSACleanup(); }

 private:
  testing_files::TempFolder folder_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ServicesEnvironment);

}  // namespace

BodyThread::BodyThread(std::function<void()> body)
    : body_(std::move(body)), thread_(CreateThread(nullptr, 0, &BodyThread::Entry, this, 0, nullptr)) {}

BodyThread::~BodyThread() {
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

bool BodyThread::Ended(DWORD ms) { return WaitForSingleObject(thread_, ms) == WAIT_OBJECT_0; }

DWORD WINAPI BodyThread::Entry(void* self) {
  static_cast<BodyThread*>(self)->body_();
  return 0;
}

std::wstring TestFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::wstring OvuidFixture() { return TestFolder() + L"ovuid\\OVUID.dll"; }
