#include "net/network_check.h"

#include "analytics/logger.h"
#include "net/route.h"
#include "platform/text.h"

namespace {

ILoggerServer* g_logger = nullptr;
// Set once the event of that kind was written; never cleared.
bool g_proxyReported = false;
bool g_dnsReported = false;

void ReportOnce(bool& reported, const wchar_t* networkType, int32_t connType, const std::string& hostName) {
  if (reported) return;
  ILoggerServer* logger = g_logger ? g_logger : GetLogger();
  logger->ClearProperties();
  logger->SetStringProperty("network_type", WideToUtf8(networkType));
  logger->SetIntProperty("conn_type", connType);
  logger->SetStringProperty("host_name", hostName);
  logger->WriteEvent("vNetworkCheck");
  reported = true;
}

// Runs `change` under the route holder's lock, or unguarded on a scratch
// route when there is no holder.
void ChangeRoute(const std::function<void(NetworkRoute&)>& change) {
  if (INetworkRoute* route = GetNetworkRoute()) return route->UseRoute(change);
  NetworkRoute scratch;
  change(scratch);
}

}  // namespace

void ProxyNetworkCheck(int32_t proxyType, const std::string& proxyHost, uint16_t proxyPort) {
  ChangeRoute([&](NetworkRoute& route) {
    ReportOnce(g_proxyReported, L"\u7f51\u7edc\u4ee3\u7406", proxyType, proxyHost);  // 网络代理
    route.proxyType = proxyType;
    route.proxyHost = proxyHost;
    route.proxyPort = proxyPort;
  });
}

void DnsNetworkCheck(int32_t dnsMode, const std::string& dnsServer) {
  ChangeRoute([&](NetworkRoute& route) {
    ReportOnce(g_dnsReported, L"DNS\u89e3\u6790", dnsMode, dnsServer);  // DNS解析
    route.dnsMode = dnsMode;
    route.dnsServer = dnsServer;
  });
}

void SetNetworkCheckLogger(ILoggerServer* logger) { g_logger = logger; }
