#include "net/tcp_client.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "net/dns_resolver.h"
#include "net/host_lookup.h"
#include "net/network_check.h"
#include "net/proxy_discovery.h"
#include "net/route.h"
#include "velora_profile.h"

namespace {

// The first address the own resolver finds, as dotted text; empty when none.
std::string OwnLookup(const std::string& server, const std::string& host, HANDLE cancel) {
  DnsResult result;
  if (ResolveA(server.c_str(), host.c_str(), &result, cancel) != 0 || result.count < 1) return std::string();
  char text[256] = {};
  if (!FormatIPv4(result.addresses[0], text, sizeof text)) return std::string();
  return text;
}

sockaddr_in SocketAddress(uint32_t address, uint16_t networkPort) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = networkPort;
  return to;
}

}  // namespace

void CTCPClient::Resolve(const std::string& newHost, uint16_t newPort) {
  host = newHost;
  port = newPort;
  uint32_t found = 0;
  bool ok = false;
  if (dnsMode == DNS_SYSTEM) {
    ok = SystemLookup(host.c_str(), cancel_, &found);
  } else if (dnsMode == DNS_OWN) {
    try {
      std::string dotted = OwnLookup(dnsServer, host, cancel_);
      // A dotted name needs no name server: no cancel event is needed.
      if (!dotted.empty() && SystemLookup(dotted.c_str(), nullptr, &found)) {
        host = dotted;
        ok = true;
      }
    } catch (...) {
      ok = false;
    }
  }
  if (!ok) throw "Can't resolve host name";
  address = found;
  networkPort = htons(port);
}

void CTCPClient::ResolveForOwner(const std::string& newHost, uint16_t newPort) {
  NetworkRoute route = CurrentRoute();
  dnsMode = route.dnsMode;
  dnsServer = route.dnsServer;
  try {
    Resolve(newHost, newPort);
    return;
  } catch (...) {
    // A cancelled owner wants no second way tried.
    if (Cancelled()) throw;
  }
  dnsMode = DNS_OWN;
  dnsServer = profile::k114DnsPrimary;
  Resolve(newHost, newPort);
  DnsNetworkCheck(dnsMode, dnsServer);
}

bool CTCPClient::Cancelled() const { return cancel_ && WaitForSingleObject(cancel_, 0) == WAIT_OBJECT_0; }

void CTCPClient::SetTimeouts(int recvMs, int sendMs) {
  if (recvMs != recvTimeout) {
    recvTimeout = recvMs;
    if (socket_.Valid()) ApplyTimeout(SO_RCVTIMEO, recvTimeout);
  }
  if (sendMs != sendTimeout) {
    sendTimeout = sendMs;
    if (socket_.Valid()) ApplyTimeout(SO_SNDTIMEO, sendTimeout);
  }
}

void CTCPClient::ApplyTimeout(int option, int value) {
  setsockopt(socket_.Get(), SOL_SOCKET, option, reinterpret_cast<const char*>(&value), sizeof value);
}

void CTCPClient::Connect() {
  NetworkRoute route = CurrentRoute();
  proxyType = route.proxyType;
  proxyHost = route.proxyHost;
  proxyPort = uint16_t(route.proxyPort);
  try {
    OpenSocket();
    return;
  } catch (...) {
    // An owner that interrupted the client wants no second route tried.
    if (interrupted_) throw;
  }
  if (++connectFailures % 2 == 0)
    proxyType = PROXY_NONE;
  else
    DiscoverProxy("http://" + host, proxyType, proxyHost, proxyPort);
  OpenSocket();
  ProxyNetworkCheck(proxyType, proxyHost, proxyPort);
}

void CTCPClient::Close() {
  std::lock_guard<std::mutex> hold(socketLock_);
  socket_.Reset();
}

void CTCPClient::Interrupt() {
  std::lock_guard<std::mutex> hold(socketLock_);
  interrupted_ = true;
  // Under Wine a shutdown alone does not wake a blocked recv; closing the
  // socket does. Later calls of the worker see no socket and fail.
  if (socket_.Valid()) shutdown(socket_.Get(), SD_BOTH);
  socket_.Reset();
}

void CTCPClient::OpenSocket() {
  {
    std::lock_guard<std::mutex> hold(socketLock_);
    if (interrupted_) throw "Connect failed";
    socket_.Reset(socket(AF_INET, SOCK_STREAM, 0));
  }
  if (!socket_.Valid()) throw "Can't create socket";
  if (proxyType != PROXY_NONE) {
    ConnectToProxy();
  } else {
    sockaddr_in to = SocketAddress(address, networkPort);
    const sockaddr* target = reinterpret_cast<const sockaddr*>(&to);
    if (connect(socket_.Get(), target, sizeof to) != 0 && connect(socket_.Get(), target, sizeof to) != 0)
      throw "Connect failed";
  }
  if (recvTimeout != -1) ApplyTimeout(SO_RCVTIMEO, recvTimeout);
  if (sendTimeout != -1) ApplyTimeout(SO_SNDTIMEO, sendTimeout);
  if (proxyType == PROXY_NONE) return;
  if (proxyType != PROXY_HTTP) throw "Proxy not support";
  if (!TunnelThroughProxy()) throw "Proxy failed";
}

// Connects to the proxy without blocking, giving it 1 s.
void CTCPClient::ConnectToProxy() {
  SOCKET s = socket_.Get();
  u_long nonBlocking = 1;
  if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) throw "Can't set not block";
  uint32_t proxyAddress = 0;
  if (!SystemLookup(proxyHost.c_str(), cancel_, &proxyAddress)) throw "Can't connect proxy server";
  sockaddr_in to = SocketAddress(proxyAddress, htons(proxyPort));
  if (connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval wait = {1, 0};
    if (select(0, nullptr, &writable, nullptr, &wait) <= 0) throw "Can't connect proxy server";
    int error = 0;
    int length = sizeof error;
    if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0)
      throw "Can't connect proxy server";
  }
  u_long blocking = 0;
  if (ioctlsocket(s, FIONBIO, &blocking) != 0) throw "Can't set block";
}

bool CTCPClient::TunnelThroughProxy() {
  char request[1024] = {};
  snprintf(request, sizeof request, "CONNECT %s:%d HTTP/1.1\r\n\r\n", host.c_str(), int(port));
  send(socket_.Get(), request, int(strlen(request)), 0);
  char reply[1024] = {};
  int got = recv(socket_.Get(), reply, sizeof reply - 1, 0);
  if (got <= 0 || strlen(reply) <= 11) return false;
  char status[4] = {reply[9], reply[10], reply[11], 0};
  return strtol(status, nullptr, 10) == 200;
}

void CTCPClient::SendAll(const std::string& data) {
  size_t sent = 0;
  while (sent < data.size()) {
    int n = send(socket_.Get(), data.data() + sent, int(data.size() - sent), 0);
    if (n == 0) throw "Server can't recv data";
    if (n == SOCKET_ERROR) throw "socket send failed";
    sent += size_t(n);
  }
}

void CTCPClient::RecvExact(size_t n, char* buffer) {
  size_t got = 0;
  while (got < n) {
    size_t want = n - got;
    int r = recv(socket_.Get(), buffer + got, want > 0x40000000 ? 0x40000000 : int(want), 0);
    if (r == 0) throw "Server can't send data";
    if (r == SOCKET_ERROR) throw "socket recv failed";
    got += size_t(r);
  }
}

int CTCPClient::SendSome(const char* data, int n) {
  int sent = send(socket_.Get(), data, n, 0);
  return sent > 0 ? sent : 0;
}

int CTCPClient::RecvSome(char* buffer, int n) {
  int got = recv(socket_.Get(), buffer, n, 0);
  return got > 0 ? got : 0;
}
