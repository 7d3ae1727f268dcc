#include "services/app_info.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "common/product.h"
#include "platform/file_system.h"
#include "platform/handle.h"

namespace {

// A REG_SZ value of at most 1023 bytes, or "".
std::wstring ReadDisplayIcon(HKEY key) {
  wchar_t buffer[512] = {};
  DWORD type = 0;
  DWORD size = 1023;
  if (RegQueryValueExW(key, L"DisplayIcon", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
    return std::wstring();
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::wstring();
  buffer[511] = L'\0';
  return buffer;
}

}  // namespace

bool CAppInfo::RefreshInstalled() {
  try {
    installedPath_.clear();
    installedVersion_.clear();
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, product::kUninstallKey, KEY_READ | KEY_WOW64_32KEY)) {
      std::wstring candidate = ReadDisplayIcon(key.Get());
      if (!candidate.empty() && FileExists(candidate)) installedPath_ = candidate;
    }
    if (!installedPath_.empty()) installedVersion_ = GetProductVersion(installedPath_);
    return true;
  } catch (...) {
    return false;
  }
}

std::wstring CAppInfo::GetProductVersion(const std::wstring& path) {
  std::wstring file = path;
  if (file.empty()) {
    wchar_t own[1024] = {};
    if (!GetModuleFileNameW(nullptr, own, 1023)) return std::wstring();
    file = own;
  }
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return std::wstring();
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return std::wstring();

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation))
    return std::wstring();
  wchar_t query[128];
  swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language, translation->codePage,
           L"ProductVersion");
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) || !value || length == 0)
    return std::wstring();
  return std::wstring(value, wcsnlen(value, length));
}

IAppInfo* GetAppInfo() {
  static CAppInfo info;
  static const bool refreshed = info.RefreshInstalled();
  (void)refreshed;
  return &info;
}
