#pragma once
#include <string>
#include <vector>

#include "platform/network_adapters.h"

// The machine's identity: the address of its preferred network adapter as
// "AC-DE-48-00-11-22", or "" when no adapter qualifies. Worked out by the
// first call (which later callers, also on other threads, wait for) and kept
// for the life of the process. Never throws.
std::string MachineMacAddress();

// The first candidate of the best bus rank, a device candidate before an
// IP Helper one of the same rank; "" when both lists are empty.
std::string ChooseMacAddress(const std::vector<MacCandidate>& devices, const std::vector<MacCandidate>& adapters);

// True when the processor reports that it runs under a hypervisor.
bool RunsInVirtualMachine();
