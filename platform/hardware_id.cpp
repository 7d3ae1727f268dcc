#include "platform/hardware_id.h"

#include <cpuid.h>

namespace {

const MacCandidate* FirstOfRank(const std::vector<MacCandidate>& candidates, BusRank rank) {
  for (const MacCandidate& candidate : candidates)
    if (candidate.rank == rank) return &candidate;
  return nullptr;
}

std::string ComputeMacAddress() {
  try {
    // Inside a virtual machine only the IP Helper list counts.
    std::vector<MacCandidate> devices;
    if (!RunsInVirtualMachine()) devices = DeviceAdapterCandidates();
    return ChooseMacAddress(devices, IpHelperAdapterCandidates());
  } catch (...) {
    return std::string();
  }
}

}  // namespace

std::string ChooseMacAddress(const std::vector<MacCandidate>& devices, const std::vector<MacCandidate>& adapters) {
  for (BusRank rank : {BusRank::kPci, BusRank::kIsa, BusRank::kUsb, BusRank::kOther}) {
    const MacCandidate* found = FirstOfRank(devices, rank);
    if (!found) found = FirstOfRank(adapters, rank);
    if (found) return found->address;
  }
  return std::string();
}

std::string MachineMacAddress() {
  // A function-local static is initialised exactly once; a second thread
  // arriving meanwhile waits for the first.
  static const std::string address = ComputeMacAddress();
  return address;
}

bool RunsInVirtualMachine() {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (ecx >> 31) & 1;  // the hypervisor-present bit
}
