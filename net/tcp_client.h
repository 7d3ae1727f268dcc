#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "net/socket.h"

// A blocking TCP/IPv4 connection, direct or tunnelled through an HTTP proxy,
// with optional receive and send time-outs. Every operation that fails throws
// a plain C string ("Connect failed", "socket recv failed", ...); the object
// stays usable afterwards. One thread uses an object at a time.
class CTCPClient {
 public:
  // cancel: a manual-reset event of the owner (may be null, borrowed) that,
  // once set, ends a name lookup in progress and makes later ones fail, so a
  // stopping owner never waits for a silent name server.
  explicit CTCPClient(HANDLE cancel = nullptr) : cancel_(cancel) {}
  CTCPClient(const CTCPClient&) = delete;
  CTCPClient& operator=(const CTCPClient&) = delete;
  virtual ~CTCPClient() = default;

  // Stores host and port and looks the name up, through the system resolver
  // or (dnsMode DNS_OWN) the own resolver asking dnsServer; after the latter
  // host reads as the dotted address found.
  void Resolve(const std::string& host, uint16_t port);
  // Stores the values (ms, -1 = socket default); an open socket gets a
  // changed value at once.
  void SetTimeouts(int recvMs, int sendMs);
  // A fresh connection from the process's network route. When it fails, tries
  // once more: through the proxy of the user's settings after an odd number
  // of failures on this object, directly after an even one; a retry that
  // works becomes the route of the process.
  void Connect();
  void SendAll(const std::string& data);
  // Exactly n bytes; a peer that closes first fails with "Server can't send data".
  void RecvExact(size_t n, char* buffer);
  // One send or receive call of at most n bytes: the count moved, or 0 when
  // the peer closed, the time-out ran out or the socket failed. Never throws.
  int SendSome(const char* data, int n);
  int RecvSome(char* buffer, int n);
  void Close();
  // Callable from any thread: shuts down the socket of the call in progress,
  // so that a blocked receive or send fails at once, and makes every later
  // connection fail with "Connect failed". Lets an owner stop a worker that
  // waits on the network without killing it.
  void Interrupt();

  // The set-up of an owner (HTTP client, download worker): DNS settings from
  // the process's network route, Resolve, and when that fails the own resolver against the
  // 114DNS primary, which then becomes the process's DNS route. A second
  // failure propagates.
  void ResolveForOwner(const std::string& host, uint16_t port);

  const std::string& Host() const { return host; }
  uint16_t Port() const { return port; }
  int32_t ProxyType() const { return proxyType; }
  const std::string& ProxyHost() const { return proxyHost; }
  uint16_t ProxyPort() const { return proxyPort; }
  int32_t DnsMode() const { return dnsMode; }
  const std::string& DnsServer() const { return dnsServer; }
  int ConnectFailures() const { return connectFailures; }

 private:
  void OpenSocket();
  void ConnectToProxy();
  bool TunnelThroughProxy();
  void ApplyTimeout(int option, int value);
  bool Cancelled() const;

  std::string host;
  uint32_t address = 0;  // network order
  uint16_t port = 0;
  uint16_t networkPort = 0;
  int recvTimeout = -1;
  int sendTimeout = -1;
  int connectFailures = 0;
  std::mutex socketLock_;  // socket_ being replaced against Interrupt
  std::atomic<bool> interrupted_{false};
  UniqueSocket socket_;
  int32_t proxyType = 0;
  std::string proxyHost;
  uint16_t proxyPort = 0;
  int32_t dnsMode = 0;
  std::string dnsServer;
  HANDLE cancel_ = nullptr;
};
