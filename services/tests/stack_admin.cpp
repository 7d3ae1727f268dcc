#include "services/tests/stack_admin.h"

#include <json/json.h>

#include "net/tcp_http.h"
#include "platform/text.h"

namespace stack_admin {

namespace {

std::string Call(const std::string& ip, const std::string& method, const std::string& path,
                 const std::string& body = std::string()) {
  try {
    CTCPHttp http(ip, 80);
    http.SetTimeouts(5000, 5000);
    return http.SendRequest(method + " " + path + " HTTP/1.1\r\nHost: " + ip + "\r\nContent-Length: " +
                            Int64ToString(static_cast<int64_t>(body.size())) + "\r\nConnection: close\r\n\r\n" + body);
  } catch (...) {
    return std::string();  // a service that is down has no faults to set
  }
}

}  // namespace

void SetFault(const std::string& ip, const std::string& spec) { Call(ip, "POST", "/admin/fault", spec); }

void Reset(const std::string& ip) { Call(ip, "POST", "/admin/reset"); }

int RequestCount(const std::string& ip, const std::string& path) {
  Json::Value counts;
  Json::Reader().parse(Call(ip, "GET", "/admin/requests"), counts);
  return counts.isObject() ? counts[path].asInt() : -1;
}

std::vector<std::string> Reports(const std::string& ip) { return SplitByAny(Call(ip, "GET", "/admin/reports"), "\n"); }

ScopedFault::ScopedFault(std::vector<std::string> ips, const std::string& spec) : ips_(std::move(ips)) {
  for (const std::string& ip : ips_) SetFault(ip, spec);
}

ScopedFault::~ScopedFault() {
  for (const std::string& ip : ips_) SetFault(ip, "none");
}

}  // namespace stack_admin
