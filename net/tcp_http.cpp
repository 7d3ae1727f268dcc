#include "net/tcp_http.h"

#include <windows.h>

#include "platform/text.h"

namespace {

constexpr size_t kMaxSizeLine = 10;
constexpr size_t kBodyPiece = 65536;

std::string HostLine(const char* name, const std::string& host) {
  return host.empty() ? std::string() : name + host + "\r\n";
}

// The value of a chunk size line without its CR LF: hexadecimal digits, any
// other character counting as 0.
uint32_t HexValue(const std::string& text) {
  uint32_t value = 0;
  for (char c : text) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9')
      digit = uint32_t(c - '0');
    else if (c >= 'a' && c <= 'f')
      digit = uint32_t(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      digit = uint32_t(c - 'A' + 10);
    value = value << 4 | digit;
  }
  return value;
}

}  // namespace

CTCPHttp::CTCPHttp(const std::string& host, uint16_t port, HANDLE cancel) : CTCPClient(cancel) {
  ResolveForOwner(host, port);
}

std::string CTCPHttp::Get(const std::string& path, const std::string& hostHeader) {
  Connect();
  SendAll("GET " + path + " HTTP/1.1\r\n" + HostLine("Host: ", hostHeader) + "Connection: close\r\n\r\n");
  HttpHeaders headers = ReadHeaders();
  // Any other status is the caller's to retry; its body is of no use.
  if (headers.status != "200") return std::string();
  return ReadBody(headers);
}

HttpHeaders CTCPHttp::Head(const std::string& hostHeader, const std::string& path) {
  Connect();
  SendAll("HEAD " + path + " HTTP/1.1\r\n" + HostLine("Host:", hostHeader) + "Accept:*/*\r\n" +
          "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n" + "Connection:close\r\n" + "\r\n");
  return ReadHeaders();
}

std::string CTCPHttp::PostForm(const std::string& hostHeader, const std::string& path, MultipartForm& form) {
  form.Prepare();
  Connect();
  SendAll("POST " + path + " HTTP/1.1\r\n" + HostLine("Host: ", hostHeader) +
          "Content-Type: multipart/form-data; boundary=" + form.HeaderBoundary() + "\r\n" +
          "Content-Length: " + Int64ToString(form.Total()) + "\r\n" + "Connection: close\r\n\r\n");
  for (auto segment = form.NextSegment(); segment.first; segment = form.NextSegment())
    if (segment.second > 0) SendAll(std::string(segment.first, segment.second));
  return ReadBody(ReadHeaders());
}

std::string CTCPHttp::SendRequest(const std::string& request) {
  Connect();
  SendAll(request);
  return ReadBody(ReadHeaders());
}

HttpHeaders CTCPHttp::ReadHeaders() {
  std::string block;
  DWORD start = GetTickCount();
  while (!(block.size() >= 4 && block.compare(block.size() - 4, 4, "\r\n\r\n") == 0)) {
    // A server that trickles its header keeps every receive within its
    // time-out; the whole header has a bound of its own.
    if (block.size() >= kMaxHeaderBlock || GetTickCount() - start >= kHeaderTimeLimitMs) throw "Read header error";
    char byte = 0;
    RecvExact(1, &byte);
    block.push_back(byte);
  }
  HttpHeaders headers;
  if (!ParseHttpHeaders(block, &headers)) throw "Read header error";
  return headers;
}

std::string CTCPHttp::ReadBody(const HttpHeaders& headers) {
  if (headers.contentLength < 0) throw "Read body stream error";
  if (headers.contentLength == 0) return ReadChunkedBody();
  // A length this process could never hold would otherwise wrap in size_t.
  if (uint64_t(headers.contentLength) > uint64_t(0x7FFFFFFF)) throw "Read body stream error";
  std::string body;
  AppendExact(size_t(headers.contentLength), body);
  return body;
}

// The body arrives in pieces, so a length the server never sends costs no
// more memory than the bytes that did come.
void CTCPHttp::AppendExact(size_t n, std::string& body) {
  for (size_t left = n; left > 0;) {
    size_t piece = left < kBodyPiece ? left : kBodyPiece;
    size_t at = body.size();
    body.resize(at + piece);
    RecvExact(piece, &body[at]);
    left -= piece;
  }
}

// One size line, read byte by byte: up to CR LF or 10 bytes.
uint32_t CTCPHttp::ReadChunkSize() {
  std::string line;
  while (line.size() < kMaxSizeLine && !(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)) {
    char byte = 0;
    RecvExact(1, &byte);
    line.push_back(byte);
  }
  size_t end = line.find("\r\n");
  if (end == std::string::npos) throw "Read body stream error";
  uint32_t value = HexValue(line.substr(0, end));
  if (value & 0x80000000u) throw "Read body stream error";
  return value;
}

std::string CTCPHttp::ReadChunkedBody() {
  std::string body;
  for (;;) {
    uint32_t size = ReadChunkSize();
    // A zero here is the CR LF that ends the previous chunk's data.
    if (size == 0) size = ReadChunkSize();
    if (size == 0) return body;
    AppendExact(size, body);
  }
}
