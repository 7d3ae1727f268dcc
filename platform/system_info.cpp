#include "platform/system_info.h"

#include "platform/handle.h"
#include "platform/text.h"

namespace {

using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
using GetNativeSystemInfoFn = void(WINAPI*)(SYSTEM_INFO*);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);

// The major version number that ntdll knows, whatever the compatibility shims
// make the version query say; 0 when the function is missing.
DWORD TrueMajorVersion() {
  static const RtlGetNtVersionNumbersFn numbers = reinterpret_cast<RtlGetNtVersionNumbersFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetNtVersionNumbers")));
  DWORD major = 0, minor = 0, build = 0;
  if (numbers) numbers(&major, &minor, &build);
  return major;
}

// The code for a reported version (major, minor, service-pack major) and the
// true major version number (0 when unknown).
WindowsVersion WindowsVersionFromNumbers(DWORD major, DWORD minor, WORD servicePackMajor, DWORD trueMajor) {
  if (major == 5) return minor == 1 ? WindowsVersion::kXp : WindowsVersion::kOther;
  if (major == 6 && minor == 0) return WindowsVersion::kVista;
  if (major == 6 && minor == 1) return servicePackMajor == 0 ? WindowsVersion::k7 : WindowsVersion::k7Sp1;
  // A program whose manifest declares Windows 10 is told 10.0 instead of 6.2.
  if (major == 10 || (major == 6 && trueMajor == 10)) return WindowsVersion::k10;
  if (major == 6) return WindowsVersion::k8;
  return WindowsVersion::kOther;
}

WindowsVersion ReadWindowsVersion() {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return WindowsVersion::kOther;
#pragma GCC diagnostic pop
  bool from62 = info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 2);
  return WindowsVersionFromNumbers(info.dwMajorVersion, info.dwMinorVersion, info.wServicePackMajor,
                                   from62 ? TrueMajorVersion() : 0);
}

const wchar_t kUninstallRoot[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The first non-empty value `name` of the key, current user before machine.
std::wstring ReadUserThenMachine(const std::wstring& key, const wchar_t* name, bool view64) {
  std::wstring value = ReadRegistryString(HKEY_CURRENT_USER, key, name, view64);
  return value.empty() ? ReadRegistryString(HKEY_LOCAL_MACHINE, key, name, view64) : value;
}

}  // namespace

WindowsVersion WindowsVersionCode() {
  static const WindowsVersion code = ReadWindowsVersion();
  return code;
}

bool IsWindows64() {
  LoadedLibrary kernel(L"kernel32");
  if (auto native = kernel.Find<GetNativeSystemInfoFn>("GetNativeSystemInfo")) {
    SYSTEM_INFO info = {};
    native(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
  }
  BOOL wow64 = FALSE;
  auto isWow64 = kernel.Find<IsWow64ProcessFn>("IsWow64Process");
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring ReadRegistryString(HKEY root, const std::wstring& subKey, const std::wstring& name, bool view64) {
  // Reading needs only the right to query values; asking for more would fail
  // on keys this process may not write.
  RegKey key;
  if (!key.Open(root, subKey.c_str(), KEY_QUERY_VALUE | (view64 ? KEY_WOW64_64KEY : 0))) return std::wstring();
  // One character more than the value may fill, so that a value stored
  // without a terminator still ends.
  wchar_t text[261] = {};
  DWORD size = 260 * sizeof(wchar_t);
  if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
      ERROR_SUCCESS)
    return std::wstring();
  return text;
}

bool UninstallLocation(const std::wstring& keyName, std::wstring* folder) {
  std::wstring key = kUninstallRoot + keyName;
  bool view64 = IsWindows64();
  std::wstring location = ReadUserThenMachine(key, L"InstallLocation", view64);
  if (location.empty()) {
    // 'C:\Apps\B\b.exe,0' (often quoted) names a file in the install folder.
    location = TrimLeftAny(ReadUserThenMachine(key, L"DisplayIcon", view64), L"\"");
    size_t slash = location.rfind(L'\\');
    if (slash != std::wstring::npos) location.erase(slash);
  }
  if (location.empty()) return false;
  *folder = location;
  return true;
}
