#include "sdk/machine_id.h"

#include <windows.h>

#include "common/md5.h"
#include "platform/handle.h"

namespace {

std::string MachineGuid() {
  RegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", KEY_READ | KEY_WOW64_64KEY)) return "";
  char value[128] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), "MachineGuid", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return "";
  return value;
}

std::string FallbackSource() {
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  GetComputerNameA(name, &size);
  DWORD serial = 0;
  GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
  return std::string(name) + "/" + std::to_string(serial);
}

}  // namespace

std::string MachineId(int kind) {
  std::string source = MachineGuid();
  if (source.empty()) source = FallbackSource();
  if (kind != 0) source += "#" + std::to_string(kind);
  Md5 md5;
  md5.Update(source.data(), source.size());
  uint8_t digest[16];
  md5.Final(digest);
  return Md5Hex(digest);
}
