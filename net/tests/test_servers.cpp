#include "net/tests/test_servers.h"

#include "platform/text.h"
#include "velora_profile.h"

namespace {

// Waits up to 50 ms for the socket to become readable, so the thread can see
// its stop flag.
bool Readable(SOCKET socket) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket, &readable);
  timeval wait = {0, 50000};
  return select(0, &readable, nullptr, nullptr, &wait) > 0;
}

std::string ReadRequest(SOCKET client) {
  std::string request;
  char buffer[4096];
  size_t bodyEnd = std::string::npos;
  while (bodyEnd == std::string::npos || request.size() < bodyEnd) {
    int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    request.append(buffer, size_t(got));
    size_t headEnd = request.find("\r\n\r\n");
    if (headEnd == std::string::npos) continue;
    size_t length = request.find("Content-Length: ");
    int64_t body = length < headEnd ? StringToInt64(request.substr(length + 16)) : 0;
    bodyEnd = headEnd + 4 + size_t(body);
  }
  return request;
}

}  // namespace

sockaddr_in TestServerAddress(uint16_t port) {
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = inet_addr(profile::bench::kTestServerIp);
  address.sin_port = htons(port);
  return address;
}

TestTcpServer::TestTcpServer(std::string reply) : reply_(std::move(reply)) {
  listener_.Reset(socket(AF_INET, SOCK_STREAM, 0));
  sockaddr_in address = TestServerAddress(0);
  bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener_.Get(), 8);
  int length = sizeof address;
  getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

TestTcpServer::~TestTcpServer() {
  stop_ = true;
  thread_.join();
}

std::vector<std::string> TestTcpServer::Requests() {
  std::lock_guard<std::mutex> hold(mutex_);
  return requests_;
}

void TestTcpServer::Serve() {
  while (!stop_) {
    if (!Readable(listener_.Get())) continue;
    UniqueSocket client(accept(listener_.Get(), nullptr, nullptr));
    if (!client.Valid()) continue;
    // A client that never sends must not keep the server from stopping.
    int wait = 5000;
    setsockopt(client.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
    std::string request = ReadRequest(client.Get());
    {
      std::lock_guard<std::mutex> hold(mutex_);
      requests_.push_back(request);
    }
    if (reply_.empty()) {
      while (!stop_) Sleep(20);
      return;
    }
    send(client.Get(), reply_.data(), int(reply_.size()), 0);
    shutdown(client.Get(), SD_SEND);
  }
}

TestDnsServer::TestDnsServer(Reply reply) : reply_(std::move(reply)) {
  socket_.Reset(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  sockaddr_in address = TestServerAddress(53);
  // Wine refuses port 53 of a free address while the bench's resolvers hold
  // it on theirs, unless the address may be reused.
  BOOL reuse = TRUE;
  setsockopt(socket_.Get(), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
  if (bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) socket_.Reset();
  thread_ = std::thread([this] { Serve(); });
}

TestDnsServer::~TestDnsServer() {
  stop_ = true;
  thread_.join();
}

void TestDnsServer::Serve() {
  std::vector<uint8_t> buffer(65536);
  while (!stop_ && socket_.Valid()) {
    if (!Readable(socket_.Get())) continue;
    sockaddr_in from = {};
    int fromLength = sizeof from;
    int got = recvfrom(socket_.Get(), reinterpret_cast<char*>(buffer.data()), int(buffer.size()), 0,
                       reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got <= 0) continue;
    std::vector<uint8_t> answer = reply_(std::vector<uint8_t>(buffer.begin(), buffer.begin() + got));
    if (!answer.empty())
      sendto(socket_.Get(), reinterpret_cast<const char*>(answer.data()), int(answer.size()), 0,
             reinterpret_cast<sockaddr*>(&from), fromLength);
  }
}
