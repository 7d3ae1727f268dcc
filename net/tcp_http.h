#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "net/http_headers.h"
#include "net/multipart_form.h"
#include "net/tcp_client.h"

// A minimal HTTP/1.1 client: one request per call, each on a fresh
// connection with "Connection: close". The host header argument is the text
// of the Host line (the service's name, never the resolved address); empty
// leaves the line out. Every call throws the failures of CTCPClient,
// "Read header error" and "Read body stream error".
class CTCPHttp : public CTCPClient {
 public:
  // Resolves host (falling back to the own resolver). Time-outs are set
  // afterwards with SetTimeouts. cancel: as for CTCPClient.
  CTCPHttp(const std::string& host, uint16_t port, HANDLE cancel = nullptr);

  // The body of a 200 response; empty for any other status.
  std::string Get(const std::string& path, const std::string& hostHeader);
  HttpHeaders Head(const std::string& hostHeader, const std::string& path);
  // Posts the form; the body of the response whatever its status.
  std::string PostForm(const std::string& hostHeader, const std::string& path, MultipartForm& form);
  // Sends the caller's complete request unchanged; the body of the response
  // whatever its status.
  std::string SendRequest(const std::string& request);

  // Reads the header block byte by byte up to the blank line. A block over
  // its bounds (ParseHttpHeaders) or not complete within kHeaderTimeLimitMs
  // fails with "Read header error".
  HttpHeaders ReadHeaders();
  // By Content-Length when it is positive, else as chunked coding; a
  // Content-Length that is no number fails with "Read body stream error".
  std::string ReadBody(const HttpHeaders& headers);

 private:
  std::string ReadChunkedBody();
  uint32_t ReadChunkSize();
  void AppendExact(size_t n, std::string& body);
};
