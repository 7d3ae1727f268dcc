#pragma once
#include <cstdint>
#include <functional>
#include <string>

// Kinds of the network route's values.
enum ProxyKind : int32_t { PROXY_NONE = 0, PROXY_HTTP = 1 };
enum DnsKind : int32_t { DNS_SYSTEM = 0, DNS_OWN = 1 };

// How this process reaches the network: the proxy found to work and how host
// names are resolved. Each connection copies it when it starts.
struct NetworkRoute {
  int32_t proxyType = PROXY_NONE;
  std::string proxyHost;
  int32_t proxyPort = 0;
  int32_t dnsMode = DNS_SYSTEM;
  std::string dnsServer;
};

// The process-wide holder of the route, which lives above the network layer.
// Use runs with the holder's lock held for the whole call: a copy of the route
// is taken inside it, a change is kept when it returns, and any lock taken
// inside it (the logger's) nests inside the holder's.
class INetworkRoute {
 public:
  virtual void UseRoute(const std::function<void(NetworkRoute& route)>& use) = 0;

 protected:
  ~INetworkRoute() = default;
};

// The holder that start-up installs; null before and after, when connections
// use the default route and changes are dropped.
INetworkRoute* GetNetworkRoute();
void SetNetworkRoute(INetworkRoute* route);

// A copy of the current route (the default without a holder).
NetworkRoute CurrentRoute();
