#include "backend/fault_origin.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

std::mutex g_lock;
std::map<std::string, int64_t> g_counts;  // requests per full path
std::ofstream g_log;

bool SendAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    ssize_t sent = send(fd, data, n, MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data += sent;
    n -= size_t(sent);
  }
  return true;
}

std::string HeaderValue(const std::string& request, const std::string& name) {
  std::istringstream lines(request);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > name.size() && strncasecmp(line.c_str(), name.c_str(), name.size()) == 0 &&
        line[name.size()] == ':') {
      size_t start = line.find_first_not_of(' ', name.size() + 1);
      return start == std::string::npos ? std::string() : line.substr(start);
    }
  }
  return std::string();
}

void Serve(int fd, const std::string& root) {
  std::string request;
  char piece[4096];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    ssize_t got = recv(fd, piece, sizeof piece, 0);
    if (got <= 0) return;
    request.append(piece, size_t(got));
  }
  std::istringstream first(request);
  std::string method, path;
  first >> method >> path;
  std::string range = HeaderValue(request, "Range");
  std::string filePath;
  FaultSpec fault = ParseFaultPath(path, &filePath);
  int64_t start = 0, end = -1;
  bool ranged = range.rfind("bytes=", 0) == 0;
  if (ranged) {
    std::string spec = range.substr(6);
    size_t dash = spec.find('-');
    start = std::stoll(spec.substr(0, dash));
    if (dash != std::string::npos && dash + 1 < spec.size()) end = std::stoll(spec.substr(dash + 1));
  }
  bool faulty = false;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    g_log << method << " " << path << " " << (range.empty() ? "-" : range) << std::endl;
    // Only GETs count; a HEAD sees the faults meant for every request.
    if (method != "GET") {
      faulty = fault.times < 0 && fault.min == 0;
    } else if (start >= fault.min) {
      int64_t count = ++g_counts[path];
      faulty = fault.times < 0 || count <= fault.times;
    }
  }
  if (!faulty) fault = FaultSpec();
  std::string body;
  bool found = filePath.find("..") == std::string::npos;
  if (found) {
    std::ifstream in(root + filePath, std::ios::binary);
    found = bool(in);
    if (found) body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int status = fault.status ? fault.status : found ? 200 : 404;
  std::string header;
  int64_t from = 0, to = int64_t(body.size()) - 1;
  if (status == 200 && ranged && !fault.noRange) {
    from = start;
    to = end < 0 || end >= int64_t(body.size()) ? int64_t(body.size()) - 1 : end;
    status = 206;
  }
  if (status >= 400) {
    body = "fault " + std::to_string(status) + "\n";
    from = 0;
    to = int64_t(body.size()) - 1;
  }
  int64_t length = to - from + 1;
  header = "HTTP/1.1 " + std::to_string(status) + (status < 300 ? " OK" : " Fault") + "\r\n";
  header += "Content-Length: " + std::to_string(fault.length >= 0 ? fault.length : length) + "\r\n";
  if (status == 206)
    header += "Content-Range: bytes " + std::to_string(from) + "-" + std::to_string(to) + "/" +
              std::to_string(body.size()) + "\r\n";
  header += "Connection: close\r\n\r\n";
  if (!SendAll(fd, header.data(), header.size()) || method == "HEAD") return;
  std::string part = body.substr(size_t(from), size_t(length));
  if (fault.flip >= from && fault.flip <= to) part[size_t(fault.flip - from)] = char(~part[size_t(fault.flip - from)]);
  size_t limit = part.size();
  if (fault.drop >= 0 && size_t(fault.drop) < limit) limit = size_t(fault.drop);
  if (fault.stallMs >= 0 && size_t(fault.stallAt) < limit) limit = size_t(fault.stallAt);
  if (!SendAll(fd, part.data(), limit)) return;
  if (fault.stallMs >= 0) std::this_thread::sleep_for(std::chrono::milliseconds(fault.stallMs));
  if (limit == part.size()) return;
}

}  // namespace

FaultSpec ParseFaultPath(const std::string& path, std::string* filePath) {
  FaultSpec fault;
  const std::string prefix = "/fault/";
  if (path.rfind(prefix, 0) != 0) {
    *filePath = path;
    return fault;
  }
  size_t slash = path.find('/', prefix.size());
  std::string spec = path.substr(prefix.size(), slash == std::string::npos ? std::string::npos : slash - prefix.size());
  *filePath = slash == std::string::npos ? "/" : path.substr(slash);
  std::istringstream items(spec);
  std::string item;
  while (std::getline(items, item, ',')) {
    size_t eq = item.find('=');
    std::string key = item.substr(0, eq);
    int64_t value = eq == std::string::npos ? 0 : std::stoll(item.substr(eq + 1));
    if (key == "drop") fault.drop = value;
    if (key == "stall") fault.stallMs = value;
    if (key == "at") fault.stallAt = value;
    if (key == "norange") fault.noRange = true;
    if (key == "length") fault.length = value;
    if (key == "status") fault.status = int(value);
    if (key == "flip") fault.flip = value;
    if (key == "times") fault.times = value;
    if (key == "min") fault.min = value;
  }
  size_t query = filePath->find('?');
  if (query != std::string::npos) filePath->resize(query);
  return fault;
}

int RunFaultOrigin(const std::string& ip, int port, const std::string& root, const std::string& logPath) {
  g_log.open(logPath, std::ios::app);
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  int yes = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 64) != 0) {
    std::cerr << "origin: cannot listen on " << ip << ":" << port << "\n";
    return 1;
  }
  for (;;) {
    int fd = accept(listener, nullptr, nullptr);
    if (fd < 0) continue;
    std::thread([fd, root] {
      try {
        Serve(fd, root);
      } catch (...) {
      }
      shutdown(fd, SHUT_RDWR);
      close(fd);
    }).detach();
  }
}
