#include "download/package_name.h"

#include <windows.h>

#include "platform/file_system.h"
#include "platform/text.h"

namespace {

// Names Windows takes as devices whatever their extension.
bool IsDeviceName(const std::wstring& name) {
  std::string stem = ToUpperAscii(WideToAnsi(name.substr(0, name.find(L'.'))));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* device : kDevices)
    if (stem == device) return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) && stem[3] >= '0' &&
         stem[3] <= '9';
}

bool EndsWithExe(const std::wstring& name) {
  return name.size() > 4 && ToUpperAscii(WideToAnsi(name.substr(name.size() - 4))) == ".EXE";
}

}  // namespace

std::wstring SafePackageFileName(const std::wstring& name) {
  std::wstring base = name.substr(name.find_last_of(L"\\/") == std::wstring::npos ? 0 : name.find_last_of(L"\\/") + 1);
  std::wstring kept;
  for (wchar_t c : base)
    if (c >= 32 && std::wstring(L"<>:\"|?*").find(c) == std::wstring::npos) kept.push_back(c);
  for (size_t at = kept.find(L".."); at != std::wstring::npos; at = kept.find(L"..")) kept.erase(at, 2);
  size_t first = kept.find_first_not_of(L" .");
  if (first == std::wstring::npos) return std::wstring();
  size_t last = kept.find_last_not_of(L" .");
  return kept.substr(first, last - first + 1);
}

std::wstring ServerPackageFileName(const std::wstring& name, const std::wstring& folder) {
  if (folder.size() + name.size() >= MAX_PATH || !EndsWithExe(name) || name[0] == L' ' || IsDeviceName(name))
    return std::wstring();
  for (wchar_t c : name)
    if (c < 32 || std::wstring(L"<>:\"/\\|?*").find(c) != std::wstring::npos) return std::wstring();
  return name;
}

std::wstring PackageNameAfterExecutable(const std::wstring& ownFileName, const std::wstring& version) {
  if (ownFileName.empty()) return std::wstring();
  std::wstring extension = FileExtension(ownFileName);
  std::wstring name = extension.empty() ? ownFileName : RemoveAllOccurrences(extension.c_str(), ownFileName.c_str());
  if (FindText(name, L"_install") == kNotFound) name += L"_install";
  if (!version.empty()) name += L"_v" + version;
  return name + L".exe";
}

std::wstring ChannelPackageName(const std::wstring& ownVersion) {
  std::vector<std::wstring> parts = SplitByAny(ownVersion, L".");
  if (parts.size() != 4) return std::wstring();
  switch (StringToInt64(WideToAnsi(parts[1]))) {
    case 96: return L"install_redidez0.exe";
    case 97: return L"install_duva3600.exe";
    case 98: return L"install_rirudor0.exe";
    case 99: return L"install_voziro00.exe";
    default: return std::wstring();
  }
}
