#include "platform/network_adapters.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <setupapi.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "platform/handle.h"
#include "platform/text.h"

namespace {

// The NDIS LAN device interface class.
const GUID kNdisLanClass = {0xAD498944, 0x762F, 0x11D0, {0x8D, 0xCB, 0x00, 0xC0, 0x4F, 0xC3, 0x35, 0x8C}};
constexpr DWORD kQueryGlobalStats = 0x00170002;  // IOCTL_NDIS_QUERY_GLOBAL_STATS
constexpr DWORD kPermanentAddress = 0x01010101;  // OID_802_3_PERMANENT_ADDRESS
constexpr DWORD kCurrentAddress = 0x01010102;    // OID_802_3_CURRENT_ADDRESS
constexpr DWORD kMaxDevices = 255;
const wchar_t kNetworkClassKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";

// A device information set, destroyed with it.
class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  ~DeviceInfoSet() {
    if (Valid()) SetupDiDestroyDeviceInfoList(set_);
  }
  HDEVINFO Get() const { return set_; }
  bool Valid() const { return set_ != INVALID_HANDLE_VALUE; }

 private:
  HDEVINFO set_;
};

// The bus of a device from its instance id; false for a device to skip.
bool DeviceBusRank(HDEVINFO set, SP_DEVINFO_DATA* device, BusRank* rank) {
  BYTE locations[520] = {};
  if (!SetupDiGetDeviceRegistryPropertyW(set, device, SPDRP_LOCATION_PATHS, nullptr, locations, sizeof locations,
                                         nullptr))
    return false;
  wchar_t id[261] = {};
  if (!SetupDiGetDeviceInstanceIdW(set, device, id, 260, nullptr) || wcslen(id) <= 2) return false;
  *rank = BusRankOfInstanceId(ToUpperAscii(WideToUtf8(id)));
  return true;
}

// The device path of the member's interface; empty when it has none.
std::wstring DeviceInterfacePath(HDEVINFO set, DWORD index) {
  SP_DEVICE_INTERFACE_DATA interfaceData = {};
  interfaceData.cbSize = sizeof interfaceData;
  if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kNdisLanClass, index, &interfaceData)) return std::wstring();
  DWORD needed = 0;
  SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &needed, nullptr);
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return std::wstring();
  std::vector<BYTE> storage(needed + sizeof(wchar_t));
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
  detail->cbSize = sizeof *detail;
  if (!SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, needed, nullptr, nullptr)) return std::wstring();
  return detail->DevicePath;
}

// Asks the adapter for one of its addresses; false when it does not answer.
bool QueryNdisAddress(HANDLE device, DWORD oid, uint8_t* address) {
  uint8_t answer[260] = {};
  DWORD returned = 0;
  if (!DeviceIoControl(device, kQueryGlobalStats, &oid, sizeof oid, answer, sizeof answer, &returned, nullptr))
    return false;
  memcpy(address, answer, 6);
  return true;
}

// The permanent address, or the current one when the permanent one cannot be
// read or is all zero; false when neither query answers.
bool DeviceAddress(const std::wstring& path, uint8_t* address) {
  UniqueHandle device(
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!device) return false;
  if (QueryNdisAddress(device.Get(), kPermanentAddress, address) && !IsZeroMacAddress(address)) return true;
  return QueryNdisAddress(device.Get(), kCurrentAddress, address);
}

// The rank from the PnP instance that the adapter's connection key records.
BusRank AdapterBusRank(const char* adapterName) {
  RegKey network, connection;
  if (!network.Open(HKEY_LOCAL_MACHINE, kNetworkClassKey, KEY_READ)) return BusRank::kOther;
  std::wstring sub = Utf8ToWide(adapterName) + L"\\Connection";
  if (!connection.Open(network.Get(), sub.c_str(), KEY_READ)) return BusRank::kOther;
  wchar_t instance[1025] = {};
  DWORD size = 2048;
  if (RegQueryValueExW(connection.Get(), L"PnpInstanceID", nullptr, nullptr, reinterpret_cast<BYTE*>(instance),
                       &size) != ERROR_SUCCESS ||
      size < 7)
    return BusRank::kOther;
  return BusRankOfInstanceId(WideToUtf8(instance));
}

}  // namespace

std::string FormatMacAddress(const uint8_t* bytes) {
  char text[18];
  snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
           bytes[5]);
  return text;
}

bool IsZeroMacAddress(const uint8_t* bytes) {
  for (int i = 0; i < 6; ++i)
    if (bytes[i]) return false;
  return true;
}

BusRank BusRankOfInstanceId(const std::string& instanceId) {
  std::string bus = instanceId.substr(0, 3);
  if (bus == "PCI") return BusRank::kPci;
  if (bus == "ISA") return BusRank::kIsa;
  if (bus == "USB") return BusRank::kUsb;
  return BusRank::kOther;
}

std::vector<MacCandidate> DeviceAdapterCandidates() {
  std::vector<MacCandidate> candidates;
  DeviceInfoSet set(SetupDiGetClassDevsW(&kNdisLanClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!set.Valid()) return candidates;
  for (DWORD index = 0; index < kMaxDevices; ++index) {
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    if (!SetupDiEnumDeviceInfo(set.Get(), index, &device)) break;
    BusRank rank;
    if (!DeviceBusRank(set.Get(), &device, &rank)) continue;
    std::wstring path = DeviceInterfacePath(set.Get(), index);
    uint8_t address[6] = {};
    if (path.empty() || !DeviceAddress(path, address) || IsZeroMacAddress(address)) continue;
    candidates.push_back({FormatMacAddress(address), rank});
  }
  return candidates;
}

std::vector<MacCandidate> IpHelperAdapterCandidates() {
  std::vector<MacCandidate> candidates;
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  if (size == 0) return candidates;
  std::vector<BYTE> storage(size);
  auto* chain = reinterpret_cast<IP_ADAPTER_INFO*>(storage.data());
  if (GetAdaptersInfo(chain, &size) != ERROR_SUCCESS) return candidates;
  for (const IP_ADAPTER_INFO* adapter = chain; adapter; adapter = adapter->Next) {
    if (adapter->AddressLength != 6 || IsZeroMacAddress(adapter->Address)) continue;
    candidates.push_back({FormatMacAddress(adapter->Address), AdapterBusRank(adapter->AdapterName)});
  }
  return candidates;
}
