#include "app/launch_context.h"

#include <vector>

#include "common/product.h"
#include "platform/file_stream.h"
#include "platform/file_time.h"
#include "platform/handle.h"
#include "platform/process_list.h"
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

std::wstring ParentProcessImagePath() {
  DWORD parent = 0;
  std::wstring path;
  if (!ParentProcessId(GetCurrentProcessId(), &parent) || !ProcessImagePath(parent, &path)) return std::wstring();
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
  return DownloadTimeFromTimes(FileTimeToUnix(creation), FileTimeToUnix(write));
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
