#include "app/welcome_address.h"

#include <cinttypes>
#include <cstdio>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "app/app_context.h"
#include "common/product.h"
#include "platform/browser.h"
#include "platform/digest.h"
#include "platform/hardware_id.h"
#include "platform/text.h"
#include "platform/web_address.h"
#include "services/read_pkg_info_thread.h"
#include "services/read_server_info_thread.h"
#include "velora_profile.h"

namespace {

// A value as it goes into the address: widened from UTF-8, with any character
// that would stop the address being one plain argument percent-encoded. Values
// of ours and of a sound service never have one.
std::wstring AddressValue(const std::string& utf8) {
  std::wstring value;
  for (wchar_t c : Utf8ToWide(utf8)) {
    if (!IsUnsafeInWebAddress(c)) {
      value += c;
      continue;
    }
    for (unsigned char byte : WideToUtf8(std::wstring(1, c))) {
      wchar_t escaped[4];
      std::swprintf(escaped, 4, L"%%%02X", byte);
      value += escaped;
    }
  }
  return value;
}

// "?" when the address has no query yet; "&" unless the query is still empty
// or ends in its first "&".
std::wstring Separator(const std::wstring& address) {
  const size_t question = address.find(L'?');
  if (question == std::wstring::npos) return L"?";
  if (address.back() == L'?') return L"";
  return address.find(L'&') == address.size() - 1 ? L"" : L"&";
}

}  // namespace

WelcomeInputs WelcomeInputsNow() {
  WelcomeInputs inputs;
  if (AppContext* context = GetAppContext()) inputs.channel = context->Channel();
  IServerInfo* server = GetServerInfo();
  inputs.serviceAddress = server->GetWelcomeUrl();
  inputs.advertisingAccount = server->GetAdvertisingAccount();
  inputs.machineId = GetLogger()->GetMachineId();
  inputs.hardwareIdentity = MachineMacAddress();
  const char* version = GetPkgInfo()->GetVersion();
  inputs.appVersion = version ? version : "";
  inputs.now = CurrentUnixTime();
  inputs.siteRoot = profile::kWebRoot;
  return inputs;
}

void RecordInstallEnd(int64_t now, CSessionSettings& settings) {
  SetInstall(settings);
  SetEndTimestamp(AnsiToWide(Int64ToString(now)), settings);
}

std::wstring ComposeWelcomeAddress(const WelcomeInputs& inputs, CSessionSettings& settings) {
  const bool fromService = !inputs.serviceAddress.empty() && IsSafeWebAddress(Utf8ToWide(inputs.serviceAddress));
  SetIsSem(fromService, settings);
  std::wstring address = fromService ? Utf8ToWide(inputs.serviceAddress) : inputs.siteRoot;

  address += Separator(address) + L"_channel=" + AddressValue(inputs.channel);
  const std::string cam = Md5OfBuffer(inputs.hardwareIdentity.data(), int32_t(inputs.hardwareIdentity.size()));
  char timeStamp[24];
  std::snprintf(timeStamp, sizeof timeStamp, "%" PRId64, inputs.now);
  address += L"&_mid=" + AddressValue(inputs.machineId) + L"&cam=" + AddressValue(cam) + L"&app_version=" +
             AddressValue(inputs.appVersion) + L"&time_stamp=" + AddressValue(timeStamp);

  SetCam(AnsiToWide(cam), settings);
  SetChannelId(AnsiToWide(inputs.channel), settings);
  SetMid(AnsiToWide(inputs.machineId), settings);
  SetAppId(AnsiToWide(product::kAppId), settings);
  SetAppVersion(AnsiToWide(inputs.appVersion), settings);
  SetAdvertisingAccountName(AnsiToWide(inputs.advertisingAccount), settings);

  const std::string upToHere = WideToUtf8(address);
  const std::string sessionId = Md5OfBuffer(upToHere.data(), int32_t(upToHere.size()));
  SetSessionId(AnsiToWide(sessionId), settings);
  address += L"&session_id=" + AddressValue(sessionId);

  if (fromService) {
    address += L"&ad_account=" + AddressValue(inputs.advertisingAccount) + L"&def_welcom_url=" +
               AddressValue(UrlEncode(WideToUtf8(inputs.siteRoot)));
  }
  return address;
}

int OpenWelcomeAddress(const std::wstring& address, CSessionSettings& settings, ILoggerServer& logger) {
  SetWelcomeUrl(address, settings);
  return OpenUrlInBrowser(address, settings.launchAppname, [&](const BrowserReport& report) {
    logger.ClearProperties();
    logger.SetIntProperty(prop::kLaunchAppType, static_cast<int>(report.launch));
    logger.SetIntProperty(prop::kBrowserNum, report.browserCount);
    logger.SetStringProperty(prop::kBrowserName, WideToUtf8(report.browserNames));
    logger.WriteEvent(event::kOpenUrl);
  });
}

std::string UrlEncode(const std::string& bytes) {
  static const char kKept[] = "-_.!~*'()";
  std::string encoded;
  for (unsigned char byte : bytes) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
        (byte && std::string(kKept).find(char(byte)) != std::string::npos)) {
      encoded += char(byte);
    } else if (byte == ' ') {
      encoded += '+';
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      encoded += escaped;
    }
  }
  return encoded;
}
