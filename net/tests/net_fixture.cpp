#include "net/tests/net_fixture.h"

#include <winsock2.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "net/network_check.h"
#include "platform/handle.h"

namespace {

constexpr wchar_t kConnectionsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";

void AppendDword(std::string& blob, DWORD value) { blob.append(reinterpret_cast<const char*>(&value), 4); }

void AppendText(std::string& blob, const std::string& text) {
  AppendDword(blob, DWORD(text.size()));
  blob += text;
}

// Winsock for the whole test program.
class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  void TearDown() override { WSACleanup(); }
};
::testing::Environment* const g_winsock = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);

}  // namespace

InternetSettings::InternetSettings(DWORD flags, const std::string& proxyList, const std::string& autoConfigUrl) {
  std::string blob;
  AppendDword(blob, 0x46);
  AppendDword(blob, 1);  // change counter
  AppendDword(blob, flags);
  AppendText(blob, proxyList);
  AppendText(blob, std::string());  // bypass list
  AppendText(blob, autoConfigUrl);
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, kConnectionsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExW(key, L"DefaultConnectionSettings", 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()),
                 DWORD(blob.size()));
  RegCloseKey(key);
}

InternetSettings::~InternetSettings() {
  RegKey key;
  if (key.Open(HKEY_CURRENT_USER, kConnectionsKey, KEY_SET_VALUE))
    RegDeleteValueW(key.Get(), L"DefaultConnectionSettings");
}

RecordingLogger& NetTest::Logger() {
  static RecordingLogger logger;
  return logger;
}

void NetTest::SetUp() {
  route_ = std::make_unique<TestRoute>();
  SetNetworkRoute(route_.get());
  SetNetworkCheckLogger(&Logger());
  Logger().Clear();
}

void NetTest::TearDown() {
  SetNetworkCheckLogger(nullptr);
  SetNetworkRoute(nullptr);
  route_.reset();
}

std::string CdnFile(const std::string& path) {
  const char* bench = getenv("VELORA_BENCH_DIR");
  if (!bench) return std::string();
  std::ifstream file(std::string("Z:") + bench + "/cdn" + path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}
