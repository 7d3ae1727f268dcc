#include "app/welcome_address.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "net/tests/recording_logger.h"
#include "platform/digest.h"
#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::TempFolder;

const char kHardware[] = "00-1A-2B-3C-4D-5E";

WelcomeInputs Inputs(const std::string& serviceAddress) {
  WelcomeInputs inputs;
  inputs.channel = "ab12cd34";
  inputs.serviceAddress = serviceAddress;
  inputs.advertisingAccount = "acct-7";
  inputs.machineId = "m0f3";
  inputs.hardwareIdentity = kHardware;
  inputs.appVersion = "3.6.0.1";
  inputs.now = 1765400000;
  inputs.siteRoot = L"https://www.velora.test/";
  return inputs;
}

std::string Md5(const std::string& text) { return Md5OfBuffer(text.data(), int32_t(text.size())); }

// The query every address carries after its "_channel=" key, up to the
// session id.
std::string CommonKeys() {
  return "_channel=ab12cd34&_mid=m0f3&cam=" + Md5(kHardware) + "&app_version=3.6.0.1&time_stamp=1765400000";
}

// The address as a user's browser gets it, for each kind of service answer:
// the separator before "_channel=", the session id as the MD5 of everything
// before it, and the service's extra keys only with its own address. A
// service address that could carry a switch or name a program is replaced by
// the site's root, as if the service had given none.
TEST(WelcomeAddress, SeparatorsSessionIdAndServiceKeys) {
  const std::string serviceTail = "&ad_account=acct-7&def_welcom_url=https%3A%2F%2Fwww.velora.test%2F";
  const struct {
    const char* service;
    std::string beforeSessionId;  // the address up to "&session_id="
    bool fromService;
  } cases[] = {
      {"", "https://www.velora.test/?" + CommonKeys(), false},
      {"http://gw.velora.test/welcome", "http://gw.velora.test/welcome?" + CommonKeys(), true},
      {"https://gw.velora.test/w?from=pc", "https://gw.velora.test/w?from=pc&" + CommonKeys(), true},
      {"https://gw.velora.test/w?", "https://gw.velora.test/w?" + CommonKeys(), true},
      {"https://gw.velora.test/w?a=1&", "https://gw.velora.test/w?a=1&" + CommonKeys(), true},
      {"https://gw.velora.test/w?a=1&b=2", "https://gw.velora.test/w?a=1&b=2&" + CommonKeys(), true},
      // Hostile answers: a blank and a switch, quotes, a backslash, other
      // schemes, a program, control characters, a relative address.
      {"https://gw.velora.test/ --load-extension=C:\\x", "https://www.velora.test/?" + CommonKeys(), false},
      {"https://gw.velora.test/\" --incognito \"", "https://www.velora.test/?" + CommonKeys(), false},
      {"https://gw.velora.test/'x'", "https://www.velora.test/?" + CommonKeys(), false},
      {"https://gw.velora.test/x\\", "https://www.velora.test/?" + CommonKeys(), false},
      {"file:///C:/Windows/System32/calc.exe", "https://www.velora.test/?" + CommonKeys(), false},
      {"C:\\Windows\\System32\\calc.exe", "https://www.velora.test/?" + CommonKeys(), false},
      {"javascript:alert(1)", "https://www.velora.test/?" + CommonKeys(), false},
      {"https://gw.velora.test/\r\nx", "https://www.velora.test/?" + CommonKeys(), false},
      {"/welcome?a=1", "https://www.velora.test/?" + CommonKeys(), false},
  };
  for (const auto& c : cases) {
    CSessionSettings settings(L"");
    const std::string address = WideToUtf8(ComposeWelcomeAddress(Inputs(c.service), settings));
    const std::string sessionId = Md5(c.beforeSessionId);
    EXPECT_EQ(address, c.beforeSessionId + "&session_id=" + sessionId + (c.fromService ? serviceTail : ""))
        << c.service;
    EXPECT_EQ(settings.sessionId, AnsiToWide(sessionId));
    EXPECT_EQ(settings.isSem, c.fromService ? L"1" : L"0") << c.service;
  }
}

// The settings written with the address; values of a service without an
// address and of a package index without a version.
TEST(WelcomeAddress, SettingsWrittenWithIt) {
  TempFolder folder;
  const std::wstring file = folder.Path() + L"config.ini";
  CSessionSettings settings(file);
  RecordInstallEnd(1765400123, settings);
  WelcomeInputs inputs = Inputs("");
  inputs.appVersion.clear();
  const std::wstring address = ComposeWelcomeAddress(inputs, settings);
  EXPECT_NE(address.find(L"&app_version=&time_stamp="), std::wstring::npos);
  EXPECT_EQ(address.find(L"ad_account"), std::wstring::npos);

  const struct {
    const wchar_t* key;
    std::wstring value;
  } cases[] = {
      {L"install", L"1"},
      {L"end_timestamp", L"1765400123"},
      {L"is_sem", L"0"},
      {L"cam", AnsiToWide(Md5(kHardware))},
      {L"channel_id", L"ab12cd34"},
      {L"mid", L"m0f3"},
      {L"app_id", L"57203816"},
      {L"app_version", L"<absent>"},
      {L"advertising_account_name", L"acct-7"},
      {L"session_id", settings.sessionId},
  };
  for (const auto& c : cases) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(L"General", c.key, L"<absent>", value, 256, file.c_str());
    EXPECT_EQ(value, c.value) << WideToUtf8(c.key);
  }
}

// Values are put in as they are, except that characters no web address may
// hold are percent-encoded, so that the address still opens as one argument.
TEST(WelcomeAddress, ValuesThatWouldBreakTheAddress) {
  WelcomeInputs inputs = Inputs("https://gw.velora.test/w");
  inputs.channel = "a b\"c";
  inputs.advertisingAccount = "广告 1";
  CSessionSettings settings(L"");
  const std::string address = WideToUtf8(ComposeWelcomeAddress(inputs, settings));
  EXPECT_EQ(address.substr(0, 44), "https://gw.velora.test/w?_channel=a%20b%22c&");
  EXPECT_NE(address.find("&ad_account=广告%201&"), std::string::npos) << address;
}

// Opened by the shell when no browser started the installer or runs (the
// bench's recorder stands in for the shell's handler), reported as "vOpenUrl".
TEST(WelcomeAddress, OpenedAndReported) {
  RecordingLogger logger;
  CSessionSettings settings(L"");
  SetLaunchAppname(L"C:\\Windows\\explorer.exe", settings);
  CSessionSettings composed(L"");
  const std::wstring address = ComposeWelcomeAddress(Inputs(""), composed);
  EXPECT_EQ(OpenWelcomeAddress(address, settings, logger), 0);
  EXPECT_EQ(settings.welcomeUrl, address);
  const auto events = logger.Events("vOpenUrl");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].ints.at("launch_app_type"), 0);
  EXPECT_EQ(events[0].ints.at("browser_num"), 0);
  EXPECT_EQ(events[0].strings.at("browser_name"), "");
  const char* recorder = getenv("VELORA_OPENED_URLS");
  ASSERT_NE(recorder, nullptr);
  std::wstring path = L"Z:" + Utf8ToWide(recorder);
  for (auto& c : path) c = c == L'/' ? L'\\' : c;
  std::string opened;
  for (int i = 0; i < 300 && opened.find(WideToUtf8(address)) == std::string::npos; ++i) {
    Sleep(100);
    opened = testing_files::ReadFileBytes(path);
  }
  EXPECT_NE(opened.find(WideToUtf8(address) + "\n"), std::string::npos) << opened;
}

TEST(WelcomeAddress, UrlEncoding) {
  const struct {
    std::string bytes;
    const char* encoded;
  } cases[] = {
      {"AZaz09-_.!~*'()", "AZaz09-_.!~*'()"},
      {"a b", "a+b"},
      {"https://www.velora.test/", "https%3A%2F%2Fwww.velora.test%2F"},
      {"\xC3\xBC", "%C3%BC"},
      {"?&=#%+\"\\", "%3F%26%3D%23%25%2B%22%5C"},
      {std::string("\x00\x7F\xFF", 3), "%00%7F%FF"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.bytes), c.encoded) << c.bytes;
}

}  // namespace
