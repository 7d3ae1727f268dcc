#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The network adapters of the machine as candidates for its hardware
// identity. Failures only drop candidates; nothing throws.

// The bus an adapter sits on, in order of preference.
enum class BusRank { kPci = 1, kIsa = 2, kUsb = 3, kOther = 4 };

struct MacCandidate {
  std::string address;  // "AC-DE-48-00-11-22"
  BusRank rank;
};

// Six address bytes as upper-case "%02X-%02X-%02X-%02X-%02X-%02X".
std::string FormatMacAddress(const uint8_t* bytes);
bool IsZeroMacAddress(const uint8_t* bytes);

// The bus named by the first three characters of a device instance id
// ("PCI\VEN_8086&...", "USB\VID_..."), compared as they are.
BusRank BusRankOfInstanceId(const std::string& instanceId);

// The network-adapter device interfaces with their permanent addresses (the
// current address where the permanent one cannot be read), in enumeration
// order. Devices without location paths (mostly virtual ones) are left out.
std::vector<MacCandidate> DeviceAdapterCandidates();

// The adapters of the IP Helper list with their current addresses, ranked by
// the device instance their network connection key names.
std::vector<MacCandidate> IpHelperAdapterCandidates();
