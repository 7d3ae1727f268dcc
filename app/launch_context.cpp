#include "app/launch_context.h"

#include <tlhelp32.h>

#include <vector>

#include "common/product.h"
#include "platform/file_stream.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "services/app_info.h"

std::string PackageNameFromPath(const std::wstring& exePath) {
  std::string path = WideToUtf8(exePath);
  size_t slash = path.rfind('\\');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

std::string ChannelFromPackageName(const std::string& packageName) {
  size_t i = packageName.find('_');
  size_t n = packageName.size();
  if (i == std::string::npos || i + 1 >= n) return std::string();
  size_t start = packageName[i + 1] == 'U' ? i + 2 : i + 1;
  if (start >= n) return std::string();
  return packageName.substr(start, 8);
}

std::string ChannelFromProductVersion(const std::wstring& productVersion, const std::string& channel) {
  if (productVersion.empty()) return channel;
  std::vector<std::string> parts = SplitByAny(WideToUtf8(productVersion), ".");
  if (parts.size() != 4) return channel;
  switch (StringToInt64(parts[1])) {
    case 96: return "redidez0";
    case 97: return "duva3600";
    case 98: return "rirudor0";
    case 99: return "voziro00";
    default: return channel;
  }
}

namespace {

DWORD ParentProcessId() {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
    if (entry.th32ProcessID == self) return entry.th32ParentProcessID;
  return 0;
}

using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

}  // namespace

std::wstring ParentProcessImagePath() {
  DWORD parent = ParentProcessId();
  if (parent == 0) return std::wstring();
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, parent));
  if (!process) return std::wstring();
  wchar_t path[260] = {};
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  if (auto query = reinterpret_cast<QueryFullProcessImageNameFn>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "QueryFullProcessImageNameW")))) {
    DWORD size = 260;
    return query(process.Get(), 0, path, &size) ? std::wstring(path) : std::wstring();
  }
  auto moduleName = reinterpret_cast<GetModuleFileNameExFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "K32GetModuleFileNameExW")));
  LoadedLibrary psapi(L"Psapi");
  if (!moduleName) moduleName = psapi.Find<GetModuleFileNameExFn>("GetModuleFileNameExW");
  if (!moduleName || !moduleName(process.Get(), nullptr, path, 260)) return std::wstring();
  return path;
}

std::wstring FileNameOf(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

uint32_t DownloadTimeFromTimes(int64_t creation, int64_t lastWrite) {
  return lastWrite > creation ? uint32_t(uint64_t(lastWrite - creation)) : 0;
}

uint32_t DownloadTimeOfFile(HANDLE file) {
  FILETIME creation, access, write;
  if (file == INVALID_HANDLE_VALUE || !file || !GetFileTime(file, &creation, &access, &write)) return 0;
  return DownloadTimeFromTimes(FileTimeToUnixSeconds(creation), FileTimeToUnixSeconds(write));
}

std::wstring OwnExecutablePath() {
  wchar_t path[1024] = {};
  GetModuleFileNameW(nullptr, path, 1023);
  return path;
}

bool ProductUninstallEntryExists() {
  RegKey key;
  return key.Open(HKEY_LOCAL_MACHINE, product::kUninstallKey, KEY_READ);
}

LaunchContext ReadLaunchContext(HANDLE ownFile) {
  LaunchContext launch;
  launch.packageName = PackageNameFromPath(OwnExecutablePath());
  launch.channel = ChannelFromPackageName(launch.packageName);
  launch.channel = ChannelFromProductVersion(GetAppInfo()->GetProductVersion(L""), launch.channel);
  launch.parentImagePath = ParentProcessImagePath();
  if (!launch.parentImagePath.empty()) launch.parentFileName = WideToUtf8(FileNameOf(launch.parentImagePath));
  launch.downloadTime = DownloadTimeOfFile(ownFile);
  return launch;
}
