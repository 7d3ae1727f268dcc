#include "net/route.h"

namespace {
INetworkRoute* g_route = nullptr;
}  // namespace

INetworkRoute* GetNetworkRoute() { return g_route; }
void SetNetworkRoute(INetworkRoute* route) { g_route = route; }

NetworkRoute CurrentRoute() {
  NetworkRoute copy;
  if (INetworkRoute* route = GetNetworkRoute()) route->UseRoute([&](NetworkRoute& current) { copy = current; });
  return copy;
}
