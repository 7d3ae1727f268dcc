#pragma once
#include <winsock2.h>

#include <utility>

// Owner of a Winsock socket: closes what it holds exactly once.
class UniqueSocket {
 public:
  UniqueSocket() = default;
  explicit UniqueSocket(SOCKET socket) : socket_(socket) {}
  UniqueSocket(UniqueSocket&& other) noexcept : socket_(other.Release()) {}
  UniqueSocket& operator=(UniqueSocket&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  UniqueSocket(const UniqueSocket&) = delete;
  UniqueSocket& operator=(const UniqueSocket&) = delete;
  ~UniqueSocket() { Reset(); }

  SOCKET Get() const { return socket_; }
  bool Valid() const { return socket_ != INVALID_SOCKET; }
  SOCKET Release() { return std::exchange(socket_, INVALID_SOCKET); }
  void Reset(SOCKET socket = INVALID_SOCKET) {
    if (Valid()) closesocket(socket_);
    socket_ = socket;
  }

 private:
  SOCKET socket_ = INVALID_SOCKET;
};
