#include "net/proxy_discovery.h"

#include <windows.h>
#include <winhttp.h>

#include "net/route.h"
#include "platform/text.h"

namespace {

// A WinHTTP session handle.
class WinHttpHandle {
 public:
  explicit WinHttpHandle(HINTERNET handle) : handle_(handle) {}
  WinHttpHandle(const WinHttpHandle&) = delete;
  WinHttpHandle& operator=(const WinHttpHandle&) = delete;
  ~WinHttpHandle() {
    if (handle_) WinHttpCloseHandle(handle_);
  }
  HINTERNET Get() const { return handle_; }

 private:
  HINTERNET handle_;
};

// A string that WinHTTP allocated for the caller.
class WinHttpString {
 public:
  WinHttpString() = default;
  WinHttpString(const WinHttpString&) = delete;
  WinHttpString& operator=(const WinHttpString&) = delete;
  ~WinHttpString() {
    if (text_) GlobalFree(text_);
  }
  LPWSTR* Out() { return &text_; }
  const wchar_t* Get() const { return text_; }
  bool Empty() const { return !text_ || !text_[0]; }

 private:
  LPWSTR text_ = nullptr;
};

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

uint16_t PortFromText(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 5) return 0;
  int64_t value = StringToInt64(text);
  return value <= 65535 ? uint16_t(value) : 0;
}

// Runs the auto-configuration script for url.
void ProxyFromScript(const std::string& url, const wchar_t* scriptUrl, int32_t& proxyType, std::string& proxyHost,
                     uint16_t& proxyPort) {
  // The query below is synchronous, so the session is too.
  WinHttpHandle session(
      WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.Get()) return;
  WINHTTP_AUTOPROXY_OPTIONS options = {};
  options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
  options.lpszAutoConfigUrl = scriptUrl;
  options.fAutoLogonIfChallenged = TRUE;
  WINHTTP_PROXY_INFO info = {};
  std::wstring wideUrl = AnsiToWide(url);
  BOOL found = WinHttpGetProxyForUrl(session.Get(), wideUrl.c_str(), &options, &info);
  WinHttpString list, bypass;
  *list.Out() = info.lpszProxy;
  *bypass.Out() = info.lpszProxyBypass;
  if (found && info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && !list.Empty())
    ParseProxyList(WideToUtf8(list.Get()), proxyType, proxyHost, proxyPort);
}

}  // namespace

void ParseProxyList(const std::string& list, int32_t& proxyType, std::string& proxyHost, uint16_t& proxyPort) {
  for (const std::string& piece : SplitByAny(list, ";")) {
    std::string entry = Trimmed(piece);
    size_t equals = entry.find('=');
    size_t hostStart = equals == std::string::npos ? 0 : equals + 1;
    std::string scheme = equals == std::string::npos ? std::string() : entry.substr(0, equals);
    size_t colon = entry.find(':', hostStart);
    std::string host = entry.substr(hostStart, colon == std::string::npos ? std::string::npos : colon - hostStart);
    if (host.empty()) continue;
    if (!scheme.empty() && scheme != "http") continue;
    proxyType = PROXY_HTTP;
    proxyHost = host;
    proxyPort = colon == std::string::npos ? 0 : PortFromText(entry.substr(colon + 1));
  }
}

void DiscoverProxy(const std::string& url, int32_t& proxyType, std::string& proxyHost, uint16_t& proxyPort) {
  proxyType = PROXY_NONE;
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return;
  WinHttpString script, list, bypass;
  *script.Out() = config.lpszAutoConfigUrl;
  *list.Out() = config.lpszProxy;
  *bypass.Out() = config.lpszProxyBypass;
  if (!script.Empty())
    ProxyFromScript(url, script.Get(), proxyType, proxyHost, proxyPort);
  else if (!list.Empty())
    ParseProxyList(WideToUtf8(list.Get()), proxyType, proxyHost, proxyPort);
}
