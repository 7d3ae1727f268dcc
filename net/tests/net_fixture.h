#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/route.h"
#include "net/tests/recording_logger.h"
#include "platform/tests/thrown.h"
#include "platform/xmutex.h"

// The user's Internet settings as Wine's WinHTTP reads them: the binary value
// DefaultConnectionSettings of HKCU's Internet Settings\Connections. Written
// for the life of the object, then removed again.
class InternetSettings {
 public:
  enum Flags : DWORD { kProxy = 2, kAutoConfigUrl = 4 };
  InternetSettings(DWORD flags, const std::string& proxyList, const std::string& autoConfigUrl);
  ~InternetSettings();
  InternetSettings(const InternetSettings&) = delete;
  InternetSettings& operator=(const InternetSettings&) = delete;
};

// A route holder of the tests' own, in place of the installer's context.
struct TestRoute : INetworkRoute, NetworkRoute {
  void UseRoute(const std::function<void(NetworkRoute&)>& use) override {
    CXMutexGuard hold(lock);
    use(*this);
  }
  CXMutex lock;
};

// Each test starts with a fresh network route and an empty event record.
class NetTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  static RecordingLogger& Logger();

  std::unique_ptr<TestRoute> route_;
};

// The bytes of a file the bench's CDN serves, read from the bench folder.
std::string CdnFile(const std::string& path);
