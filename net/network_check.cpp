#include "net/network_check.h"

#include "analytics/events.h"
#include "analytics/logger.h"
#include "net/route.h"

namespace {

ILoggerServer* g_logger = nullptr;
// Set once the event of that kind was written; never cleared.
bool g_proxyReported = false;
bool g_dnsReported = false;

void ReportOnce(bool& reported, const char* networkType, int32_t connType, const std::string& hostName) {
  if (reported) return;
  ILoggerServer* logger = g_logger ? g_logger : GetLogger();
  logger->ClearProperties();
  logger->SetStringProperty(prop::kNetworkType, networkType);
  logger->SetIntProperty(prop::kConnType, connType);
  logger->SetStringProperty(prop::kHostName, hostName);
  logger->WriteEvent(event::kNetworkCheck);
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
    ReportOnce(g_proxyReported, value::kNetworkProxy, proxyType, proxyHost);
    route.proxyType = proxyType;
    route.proxyHost = proxyHost;
    route.proxyPort = proxyPort;
  });
}

void DnsNetworkCheck(int32_t dnsMode, const std::string& dnsServer) {
  ChangeRoute([&](NetworkRoute& route) {
    ReportOnce(g_dnsReported, value::kNetworkDns, dnsMode, dnsServer);
    route.dnsMode = dnsMode;
    route.dnsServer = dnsServer;
  });
}

void SetNetworkCheckLogger(ILoggerServer* logger) { g_logger = logger; }
