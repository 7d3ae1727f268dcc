#include "download/query_url_info_thread.h"

#include <winsock2.h>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/package_name.h"
#include "net/socket.h"
#include "net/tcp_http.h"
#include "platform/text.h"
#include "services/pkg_info.h"

namespace {

constexpr int kHeadAttempts = 10;
constexpr DWORD kHeadPauseMs = 100;
constexpr int kHeadTimeoutMs = 3000;
constexpr DWORD kIndexWaitMs = 10000;
// Every HEAD has bounds of its own, but candidates, redirects and attempts
// multiply them; past this the resolution begins no further HEAD and goes on
// with what it has.
constexpr DWORD kResolutionLimitMs = 180000;
// The reachability check alone returns at once on a loopback or a refusing
// network; the pause keeps the wait for the index from spinning.
constexpr DWORD kIndexPollPauseMs = 50;

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// A system lookup (twice) and a connect to port 80 (twice) of the first address.
bool Reachable(const std::string& host) {
  hostent* entry = gethostbyname(host.c_str());
  if (!entry) entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return false;
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(80);
  memcpy(&to.sin_addr, entry->h_addr_list[0], 4);
  UniqueSocket probe(socket(AF_INET, SOCK_STREAM, 0));
  if (!probe.Valid()) return false;
  const sockaddr* target = reinterpret_cast<const sockaddr*>(&to);
  return connect(probe.Get(), target, sizeof to) == 0 || connect(probe.Get(), target, sizeof to) == 0;
}

}  // namespace

QueryUrlInfoThread::QueryUrlInfoThread(const DownloadEnv& env, IUrlInfoReceiver* receiver)
    : env_(env), receiver_(receiver) {
  if (!ThreadHandle()) throw "create thread failed";
  Start();
  while (!started_ && IsRunning()) Sleep(5);
}

QueryUrlInfoThread::~QueryUrlInfoThread() {
  stop_ = true;
  {
    // A HEAD waiting on the network ends now rather than at its time-out.
    std::lock_guard<std::mutex> hold(lock_);
    if (client_) client_->Interrupt();
  }
  StopAndWait();
}

std::string QueryUrlInfoThread::CurrentUrl() {
  std::lock_guard<std::mutex> hold(lock_);
  if (!url_.empty()) return url_;
  if (!result_.urls.empty()) return result_.urls.front();
  return env_.defaultUrl;
}

unsigned QueryUrlInfoThread::Run() {
  runStart_ = GetTickCount();
  started_ = true;
  try {
    if (!CollectFromIndex()) {
      CheckStop();
      std::string url;
      {
        std::lock_guard<std::mutex> hold(lock_);
        url = url_ = env_.defaultUrl;
      }
      if (!ResolveUrl(url, std::string())) ReportError(value::kPackageInfoFailed);
    }
  } catch (...) {
    // Stop requests and failed candidates end here; what was found so far is
    // still delivered.
  }
  UrlInfo result;
  {
    std::lock_guard<std::mutex> hold(lock_);
    result = result_;
  }
  receiver_->OnUrlInfo(result);
  done_ = true;
  return 0;
}

void QueryUrlInfoThread::CheckStop() {
  if (stop_) throw "user query stop thread";
}

void QueryUrlInfoThread::ReportError(const char* status) {
  env_.logger->ClearProperties();
  env_.logger->SetStringProperty(prop::kErrorType, value::kUrlInfoThreadError);
  env_.logger->SetStringProperty(prop::kErrorStatus, status);
  env_.logger->WriteEvent(event::kSoftDownloadError);
}

UrlParts QueryUrlInfoThread::Split(const std::string& url) {
  try {
    return SplitUrl(url);
  } catch (...) {
    ReportError(value::kInitFailed);
    throw "init url failed";
  }
}

bool QueryUrlInfoThread::CollectFromIndex() {
  IPkgInfo* info = env_.pkgInfo;
  if (!info) return false;
  DWORD start = GetTickCount();
  for (int state = info->GetStatus(); state != 1; state = info->GetStatus()) {
    if (state == 2) return false;
    CheckStop();
    if (GetTickCount() - start >= kIndexWaitMs) return false;
    CheckReachability();
    Sleep(kIndexPollPauseMs);
  }
  // Each candidate may cost minutes against a hostile server.
  for (int i = 0; i < info->GetUrlCount() && i < kMaxCandidates; ++i) {
    CheckStop();
    const char* version = info->GetVersion();
    const char* url = info->GetUrl(i);
    ResolveUrl(url ? url : "", version ? version : "");
  }
  std::lock_guard<std::mutex> hold(lock_);
  return !result_.urls.empty();
}

void QueryUrlInfoThread::CheckReachability() {
  for (const std::string& host : env_.reachabilityHosts) {
    CheckStop();
    if (Reachable(host)) return;
  }
  ReportError(value::kNetworkFailed);
  throw "network connect error";
}

bool QueryUrlInfoThread::ResolveUrl(const std::string& url, const std::string& version) {
  if (url.empty()) return false;
  candidate_ = Split(url);
  std::string finalUrl = url;
  HttpHeaders headers = HeaderLines(finalUrl);
  if (headers.lines.empty()) {
    ReportError(value::kHeadFailed);
    throw "http get url header information error";
  }
  if (result_.fileName.empty()) {
    for (const std::string& line : headers.lines) {
      size_t at = line.find("filename=");
      if (at == std::string::npos) continue;
      std::vector<std::string> pieces = SplitByAny(line.substr(at + 9), "\"");
      // A name unfit for the package gives way to the installer's own.
      if (!pieces.empty())
        result_.fileName = ServerPackageFileName(AnsiToWide(pieces[0]), env_.cacheFolder + L"VELORADATA\\");
      break;
    }
  }
  if (result_.fileName.empty()) result_.fileName = PackageNameAfterExecutable(env_.ownFileName, Utf8ToWide(version));
  if (result_.fileName.empty()) result_.fileName = L"CorvixPkg.exe";
  if (result_.size <= 0) {
    result_.size = headers.contentLength;
    if (result_.size <= 0) {
      result_.size = 0;
      result_.fileName.clear();
      return false;
    }
  }
  std::lock_guard<std::mutex> hold(lock_);
  result_.urls.push_back(finalUrl);
  return true;
}

HttpHeaders QueryUrlInfoThread::HeaderLines(std::string& url) {
  for (int hop = 0;; ++hop) {
    HttpHeaders headers = HeadWithRetries(Split(url));
    int code = headers.StatusCode();
    if (headers.status.empty() || code >= 400) return HttpHeaders();
    if (code < 300 || !headers.HasField("Location")) return headers;
    // A loop of redirects would otherwise never end.
    if (hop >= kMaxRedirects) return HttpHeaders();
    std::string target = headers.Field("Location");
    if (!StartsWith(target, "http") && StartsWith(target, "/"))
      target = "http://" + candidate_.host + ":" + Int64ToString(candidate_.port) + target;
    url = target;
  }
}

HttpHeaders QueryUrlInfoThread::HeadWithRetries(const UrlParts& parts) {
  for (int attempt = 0; attempt < kHeadAttempts; ++attempt) {
    CheckStop();
    if (GetTickCount() - runStart_ >= kResolutionLimitMs) {
      ReportError(value::kTooManyRetries);
      break;
    }
    HttpHeaders headers;
    try {
      CTCPHttp client(parts.host, parts.port);
      {
        std::lock_guard<std::mutex> hold(lock_);
        client_ = &client;
      }
      try {
        client.SetTimeouts(kHeadTimeoutMs, kHeadTimeoutMs);
        if (!stop_) headers = client.Head(parts.host, parts.path);
      } catch (...) {
      }
      std::lock_guard<std::mutex> hold(lock_);
      client_ = nullptr;
    } catch (...) {
      // A host that cannot be resolved is an empty answer like any other.
    }
    if (!headers.lines.empty()) return headers;
    if (attempt == kHeadAttempts - 1)
      ReportError(value::kTooManyRetries);
    else
      Sleep(kHeadPauseMs);
  }
  return HttpHeaders();
}
