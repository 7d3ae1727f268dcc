#include "app/app_context.h"

namespace {
AppContext* g_context = nullptr;
HINSTANCE g_instance = nullptr;
}  // namespace

void AppContext::UseRoute(const std::function<void(NetworkRoute& route)>& use) {
  CXMutexGuard hold(lock);
  NetworkRoute route{proxyType, proxyHost, proxyPort, dnsMode, dnsServer};
  use(route);
  proxyType = route.proxyType;
  proxyHost = route.proxyHost;
  proxyPort = route.proxyPort;
  dnsMode = route.dnsMode;
  dnsServer = route.dnsServer;
}

std::string AppContext::Channel() {
  CXMutexGuard hold(lock);
  return channel;
}

void AppContext::SetChannel(const std::string& value) {
  CXMutexGuard hold(lock);
  channel = value;
}

AppContext* GetAppContext() { return g_context; }

void SetAppContext(AppContext* context) {
  g_context = context;
  SetNetworkRoute(context);
  SetChannelSource(context);
}

HINSTANCE GetAppInstance() { return g_instance; }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }
