#include "backend/faults.h"

namespace {

struct Named {
  Fault fault;
  const char* name;
};
constexpr Named kNames[] = {{Fault::kNone, "none"},      {Fault::kCodeOne, "code1"}, {Fault::kNotJson, "notjson"},
                            {Fault::kNotFound, "404"},   {Fault::kSlow, "slow"},     {Fault::kSilent, "silent"},
                            {Fault::kBadSeal, "badseal"}};

// A silent handler gives up after this long (longer than the installer waits
// for an answer), so that silent handlers never fill the thread pool and the
// admin call always gets through.
constexpr auto kSilentLimit = std::chrono::seconds(6);

}  // namespace

bool ParseFault(const std::string& name, Fault* fault) {
  for (const Named& n : kNames)
    if (name == n.name) {
      *fault = n.fault;
      return true;
    }
  return false;
}

const char* FaultName(Fault fault) {
  for (const Named& n : kNames)
    if (n.fault == fault) return n.name;
  return "none";
}

bool FaultSwitch::Set(const std::string& spec) {
  std::string name = spec, delay;
  while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' ')) name.pop_back();
  size_t colon = name.find(':');
  if (colon != std::string::npos) {
    delay = name.substr(colon + 1);
    name.resize(colon);
  }
  Fault fault;
  if (!ParseFault(name, &fault)) return false;
  int ms = 2000;
  if (!delay.empty()) {
    if (delay.find_first_not_of("0123456789") != std::string::npos || delay.size() > 6) return false;
    ms = std::stoi(delay);
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    fault_ = fault;
    delayMs_ = ms;
  }
  changed_.notify_all();
  return true;
}

Fault FaultSwitch::Get() const {
  std::lock_guard<std::mutex> hold(lock_);
  return fault_;
}

std::string FaultSwitch::Describe() const {
  std::lock_guard<std::mutex> hold(lock_);
  return std::string(FaultName(fault_)) + ":" + std::to_string(delayMs_);
}

bool FaultSwitch::Delay() {
  std::unique_lock<std::mutex> hold(lock_);
  if (fault_ == Fault::kSlow) {
    changed_.wait_for(hold, std::chrono::milliseconds(delayMs_), [this] { return released_; });
    return true;
  }
  if (fault_ == Fault::kSilent) {
    changed_.wait_for(hold, kSilentLimit, [this] { return released_ || fault_ != Fault::kSilent; });
    return false;
  }
  return true;
}

void FaultSwitch::Release() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    released_ = true;
  }
  changed_.notify_all();
}
