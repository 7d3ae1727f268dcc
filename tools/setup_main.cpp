// The product's setup program for the bench: installs the demo product into
// /DIR, records the command line it was given there (setup-command-line.txt,
// UTF-8), writes its uninstall entry and ends with the exit code it was built
// with (0, or a test variant's failure code).
#include <windows.h>

#include <string>

#include "common/product.h"
#include "platform/file_system.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "tools/setup_options.h"

#ifndef VELORA_SETUP_EXIT_CODE
#define VELORA_SETUP_EXIT_CODE 0
#endif

namespace {

constexpr int kProductResource = 201;
constexpr wchar_t kProgramFile[] = L"Velora.exe";
constexpr wchar_t kCommandLineFile[] = L"setup-command-line.txt";

// Exit codes of the setup's own failures.
enum SetupFailure { kNotSilent = 10, kNoFolder = 11, kCopyFailed = 12, kRegistryFailed = 13 };

bool WriteProduct(const std::wstring& path) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kProductResource), MAKEINTRESOURCEW(10));
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD size = SizeofResource(nullptr, found);
  DWORD written = 0;
  return WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
}

bool WriteCommandLine(const std::wstring& path) {
  const std::string text = WideToUtf8(GetCommandLineW());
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteUninstallEntry(const std::wstring& folder, const std::wstring& program) {
  RegKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, product::kUninstallKey, KEY_WRITE | KEY_WOW64_32KEY)) return false;
  HKEY raw = key.Get();
  return SetText(raw, L"DisplayName", L"Velora") && SetText(raw, L"DisplayIcon", program) &&
         SetText(raw, L"DisplayVersion", VELORA_PACKAGE_VERSION) && SetText(raw, L"InstallLocation", folder) &&
         SetText(raw, L"Publisher", L"Velora Technology Co., Ltd.");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SetupOptions options = ParseSetupOptions(GetCommandLineW());
  if (!options.verySilent) return kNotSilent;
  if (options.dir.empty()) return kNoFolder;
  std::wstring folder = EnsureTrailingSlash(options.dir);
  if (!CreateDirectories(folder) || !WriteProduct(folder + kProgramFile) ||
      !WriteCommandLine(folder + kCommandLineFile))
    return kCopyFailed;
  if (!WriteUninstallEntry(folder, folder + kProgramFile)) return kRegistryFailed;
  return VELORA_SETUP_EXIT_CODE;
}
