#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/socket.h"

// Servers on the tests' own loopback address for what real servers will not
// send. Each runs one thread until it is destroyed.

// Answers every connection with a fixed reply after reading the request (its
// header block and a Content-Length body), then closes it. An empty reply
// keeps the connection open and silent until the server goes away.
class TestTcpServer {
 public:
  explicit TestTcpServer(std::string reply);
  ~TestTcpServer();
  uint16_t Port() const { return port_; }
  // The requests received so far, in order.
  std::vector<std::string> Requests();

 private:
  void Serve();

  std::string reply_;
  UniqueSocket listener_;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A DNS server on port 53 of the tests' address: answers each query with what
// reply makes of it; an empty answer sends nothing.
class TestDnsServer {
 public:
  using Reply = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& query)>;
  explicit TestDnsServer(Reply reply);
  ~TestDnsServer();
  bool Listening() const { return socket_.Valid(); }

 private:
  void Serve();

  Reply reply_;
  UniqueSocket socket_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The tests' loopback address as a socket address with the given port.
sockaddr_in TestServerAddress(uint16_t port);
