#pragma once
#include <memory>
#include <string>

// Carries one complete HTTP request to host:port and returns the raw answer.
// The sender holds it through this interface so a test can replace the
// network.
class Transport {
 public:
  virtual ~Transport() = default;
  // False when no answer arrived within timeoutMs (connect, send and receive
  // each get that bound).
  virtual bool Exchange(const std::string& host, int port, const std::string& request, int timeoutMs,
                        std::string* response) = 0;
};

// A plain TCP transport over Winsock, one connection per request.
std::unique_ptr<Transport> MakeSocketTransport();

// A response's status code and body (the body is cut to Content-Length when
// one is given). False when the bytes are not an HTTP/1.x response.
bool ParseHttpResponse(const std::string& bytes, int* status, std::string* body);

// A complete POST request with the given extra header lines (each ending in
// "\r\n").
std::string BuildPostRequest(const std::string& host, int port, const std::string& path, const std::string& type,
                             const std::string& headers, const std::string& body);
