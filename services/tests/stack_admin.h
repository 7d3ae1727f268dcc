#pragma once
#include <string>
#include <vector>

// The admin calls of the bench's service processes (each on its address,
// port 80): faults, request counts and the attribution service's reports.
namespace stack_admin {

// MODE or MODE:MS; "none" ends a fault.
void SetFault(const std::string& ip, const std::string& spec);
// No fault and every request count back to 0.
void Reset(const std::string& ip);
// The number of requests for path since the last Reset.
int RequestCount(const std::string& ip, const std::string& path);
// The stored attribution reports, one JSON text each.
std::vector<std::string> Reports(const std::string& ip);

// Sets a fault for the life of the object on every address given.
class ScopedFault {
 public:
  ScopedFault(std::vector<std::string> ips, const std::string& spec);
  ~ScopedFault();
  ScopedFault(const ScopedFault&) = delete;
  ScopedFault& operator=(const ScopedFault&) = delete;

 private:
  std::vector<std::string> ips_;
};

}  // namespace stack_admin
