#include "sdk/http_post.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>

namespace {

// A socket that closes itself.
class Socket {
 public:
  explicit Socket(SOCKET s) : s_(s) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  SOCKET Get() const { return s_; }
  bool Valid() const { return s_ != INVALID_SOCKET; }

 private:
  SOCKET s_;
};

// Winsock for the lifetime of one transport.
class WinsockSession {
 public:
  WinsockSession() {
    WSADATA data;
    ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }
  ~WinsockSession() {
    if (ok_) WSACleanup();
  }

 private:
  bool ok_ = false;
};

bool ConnectWithin(SOCKET s, const sockaddr* address, int length, int timeoutMs) {
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  if (connect(s, address, length) != 0 && WSAGetLastError() != WSAEWOULDBLOCK) return false;
  fd_set writable, failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(s, &writable);
  FD_SET(s, &failed);
  timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  if (select(0, nullptr, &writable, &failed, &wait) != 1 || FD_ISSET(s, &failed)) return false;
  int error = 0;
  int size = sizeof error;
  getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
  nonBlocking = 0;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  return error == 0;
}

class SocketTransport : public Transport {
 public:
  bool Exchange(const std::string& host, int port, const std::string& request, int timeoutMs,
                std::string* response) override {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    char service[16];
    std::snprintf(service, sizeof service, "%d", port);
    if (getaddrinfo(host.c_str(), service, &hints, &found) != 0 || !found) return false;
    Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    bool connected =
        s.Valid() && ConnectWithin(s.Get(), found->ai_addr, static_cast<int>(found->ai_addrlen), timeoutMs);
    freeaddrinfo(found);
    if (!connected) return false;
    DWORD timeout = static_cast<DWORD>(timeoutMs);
    setsockopt(s.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    setsockopt(s.Get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    for (size_t sent = 0; sent < request.size();) {
      int n = send(s.Get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
      if (n <= 0) return false;
      sent += static_cast<size_t>(n);
    }
    // The request says "Connection: close": the answer ends when the peer
    // closes, or as soon as Content-Length bytes of body are in.
    response->clear();
    char buffer[4096];
    for (;;) {
      int n = recv(s.Get(), buffer, sizeof buffer, 0);
      if (n < 0) return false;
      if (n == 0) break;
      response->append(buffer, static_cast<size_t>(n));
      int status = 0;
      std::string body;
      size_t end = response->find("\r\n\r\n");
      if (end != std::string::npos && ParseHttpResponse(*response, &status, &body) &&
          response->size() - end - 4 == body.size() && HasLength(*response))
        break;
    }
    return !response->empty();
  }

 private:
  static bool HasLength(const std::string& bytes) {
    size_t end = bytes.find("\r\n\r\n");
    std::string head = bytes.substr(0, end);
    for (char& c : head) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return head.find("\r\ncontent-length:") != std::string::npos;
  }

  WinsockSession winsock_;
};

}  // namespace

std::unique_ptr<Transport> MakeSocketTransport() { return std::unique_ptr<Transport>(new SocketTransport); }

bool ParseHttpResponse(const std::string& bytes, int* status, std::string* body) {
  if (bytes.compare(0, 7, "HTTP/1.") != 0 || bytes.size() < 12) return false;
  size_t end = bytes.find("\r\n\r\n");
  if (end == std::string::npos) return false;
  *status = std::atoi(bytes.c_str() + 9);
  if (*status < 100 || *status > 599) return false;
  *body = bytes.substr(end + 4);
  std::string head = bytes.substr(0, end);
  for (char& c : head) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  size_t length = head.find("\r\ncontent-length:");
  if (length != std::string::npos) {
    long long declared = std::atoll(head.c_str() + length + 17);
    if (declared < 0) return false;
    if (static_cast<size_t>(declared) < body->size()) body->resize(static_cast<size_t>(declared));
  }
  return true;
}

std::string BuildPostRequest(const std::string& host, int port, const std::string& path, const std::string& type,
                             const std::string& headers, const std::string& body) {
  std::string hostField = host;
  if (port != 80) hostField += ":" + std::to_string(port);
  return "POST " + path + " HTTP/1.1\r\nHost: " + hostField + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + headers +
         "Connection: close\r\nUser-Agent: Qmx/1.0\r\n\r\n" + body;
}
