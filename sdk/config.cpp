#include "sdk/config.h"

#include <windows.h>

#include <mutex>

namespace {

std::mutex& ConfigLock() {
  static std::mutex lock;
  return lock;
}

SdkConfig& TheConfig() {
  static SdkConfig config;
  return config;
}

}  // namespace

SdkConfig CurrentConfig() {
  std::lock_guard<std::mutex> hold(ConfigLock());
  return TheConfig();
}

void UpdateConfig(const std::function<void(SdkConfig&)>& change) {
  std::lock_guard<std::mutex> hold(ConfigLock());
  change(TheConfig());
}

std::wstring LibraryFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&LibraryFolder), &self);
  wchar_t path[MAX_PATH * 2] = {};
  DWORD size = GetModuleFileNameW(self, path, MAX_PATH * 2);
  std::wstring folder(path, size);
  size_t slash = folder.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}
