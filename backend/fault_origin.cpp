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

// Sends bytes one at a time, pausing between them.
bool Drip(int fd, const std::string& data, int64_t pauseMs) {
  for (char c : data) {
    if (!SendAll(fd, &c, 1)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
  return true;
}

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
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
    if (method != "GET" && !fault.any) {
      faulty = fault.times < 0 && fault.min == 0;
    } else if (method != "GET" || start >= fault.min) {
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
  int status = fault.status ? fault.status : !fault.location.empty() ? 302 : found ? 200 : 404;
  std::string header;
  int64_t from = 0, to = int64_t(body.size()) - 1;
  if (status == 200 && ranged && !fault.noRange) {
    from = start;
    to = end < 0 || end >= int64_t(body.size()) ? int64_t(body.size()) - 1 : end;
    from = from - fault.shift < 0 ? 0 : from - fault.shift;
    status = 206;
  }
  if (status >= 300) {
    body = "fault " + std::to_string(status) + "\n";
    from = 0;
    to = int64_t(body.size()) - 1;
  }
  int64_t length = to - from + 1;
  auto name = [&fault](const char* field) {
    std::string text = field;
    if (fault.lower)
      for (char& c : text) c = char(tolower(static_cast<unsigned char>(c)));
    return text + ": ";
  };
  header = "HTTP/1.1 " + std::to_string(status) + (status < 300 ? " OK" : " Fault") + "\r\n";
  if (!fault.location.empty()) header += name("Location") + fault.location + "\r\n";
  if (fault.named) header += name("Content-Disposition") + "attachment; filename=\"" + fault.name + "\"\r\n";
  if (fault.pad > 0) header += name("X-Pad") + std::string(size_t(fault.pad), 'p') + "\r\n";
  header += name("Content-Length") + (fault.length.empty() ? std::to_string(length) : fault.length) + "\r\n";
  if (status == 206)
    header += name("Content-Range") + "bytes " + std::to_string(from) + "-" + std::to_string(to) + "/" +
              std::to_string(body.size()) + "\r\n";
  header += name("Connection") + "close\r\n\r\n";
  if (fault.dripHeadMs >= 0 ? !Drip(fd, header, fault.dripHeadMs) : !SendAll(fd, header.data(), header.size())) return;
  if (method == "HEAD") return;
  std::string part = body.substr(size_t(from), size_t(length));
  if (fault.flip >= from && fault.flip <= to) part[size_t(fault.flip - from)] = char(~part[size_t(fault.flip - from)]);
  size_t limit = part.size();
  if (fault.drop >= 0 && size_t(fault.drop) < limit) limit = size_t(fault.drop);
  bool paused = fault.stallMs >= 0 || fault.dripMs >= 0;
  if (paused && size_t(fault.stallAt) < limit) limit = size_t(fault.stallAt);
  if (!SendAll(fd, part.data(), limit)) return;
  if (fault.stallMs >= 0) std::this_thread::sleep_for(std::chrono::milliseconds(fault.stallMs));
  if (fault.dripMs >= 0) Drip(fd, part.substr(limit), fault.dripMs);
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
    std::string text = eq == std::string::npos ? std::string() : PercentDecoded(item.substr(eq + 1));
    if (key == "length") fault.length = text;
    if (key == "name") {
      fault.named = true;
      fault.name = text;
    }
    if (key == "location") fault.location = text;
    if (key == "lower") fault.lower = true;
    if (key == "any") fault.any = true;
    if (key == "length" || key == "name" || key == "location") continue;
    int64_t value = text.empty() ? 0 : std::stoll(text);
    if (key == "drop") fault.drop = value;
    if (key == "stall") fault.stallMs = value;
    if (key == "at") fault.stallAt = value;
    if (key == "norange") fault.noRange = true;
    if (key == "drip") fault.dripMs = value;
    if (key == "driphead") fault.dripHeadMs = value;
    if (key == "pad") fault.pad = value;
    if (key == "shift") fault.shift = value;
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
