#include "download/cache_location.h"

#include <shlobj.h>

#include "analytics/logger.h"
#include "download/work_folder.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace {

const wchar_t kProbeName[] = L"VeloraPkg";

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::wstring();
  return path;
}

std::wstring FirstPieceRoot(const std::wstring& path) {
  std::vector<std::wstring> pieces = SplitByAny(path, L"\\");
  return pieces.empty() ? std::wstring() : pieces[0] + L'\\';
}

// Whether a folder can be made at the root. The probe removes only what it
// made itself: a "VeloraPkg" that was there before stays, and then a folder
// of this process's own inside it is made and removed instead.
bool RootIsWritable(const std::wstring& root) {
  std::wstring probe = root + kProbeName;
  if (DirectoryExists(probe)) {
    std::wstring inner = probe + L"\\probe_" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectories(inner)) return false;
    RemoveDirectoryW(inner.c_str());
    return true;
  }
  if (!CreateDirectories(probe)) return false;
  RemoveDirectoryW(probe.c_str());
  return true;
}

std::vector<std::wstring> SplitMultiString(const wchar_t* list) {
  std::vector<std::wstring> items;
  for (const wchar_t* at = list; *at; at += wcslen(at) + 1) items.push_back(at);
  return items;
}

bool IsVolumeName(const std::wstring& name) {
  return name.size() > 4 && name.compare(0, 4, L"\\\\?\\") == 0 && name.back() == L'\\';
}

}  // namespace

const std::wstring& GetCacheFolder() {
  static std::wstring folder;
  if (!folder.empty()) return folder;
  std::wstring appData = ShellFolder(CSIDL_APPDATA);
  if (appData.empty()) return folder;
  folder = EnsureTrailingSlash(appData) + kProbeName + L"\\";
  if (!DirectoryExists(folder)) CreateDirectories(folder);
  return folder;
}

uint64_t FreeSpaceOfPath(const std::wstring& path) {
  std::wstring root = FirstPieceRoot(path);
  if (root.empty()) return 0;
  UINT type = GetDriveTypeW(root.c_str());
  if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED) return 0;
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExW(root.c_str(), &available, nullptr, nullptr)) return 0;
  return available.QuadPart;
}

std::vector<std::wstring> MountPathsOf(const std::wstring& volume, VolumePathNamesFn query) {
  std::vector<wchar_t> buffer(261);
  for (int attempt = 0; attempt < 2; ++attempt) {
    DWORD needed = 0;
    if (query(volume.c_str(), buffer.data(), DWORD(buffer.size()), &needed)) {
      buffer.back() = L'\0';
      return SplitMultiString(buffer.data());
    }
    if (GetLastError() != ERROR_MORE_DATA || needed <= buffer.size()) break;
    buffer.assign(needed + 1, L'\0');
  }
  return {};
}

std::vector<std::wstring> AllMountPaths() {
  std::vector<std::wstring> paths;
  wchar_t name[261] = {};
  HANDLE search = FindFirstVolumeW(name, 261);
  if (search == INVALID_HANDLE_VALUE) return paths;
  do {
    if (!IsVolumeName(name)) continue;
    for (std::wstring& path : MountPathsOf(name)) paths.push_back(std::move(path));
  } while (FindNextVolumeW(search, name, 261));
  FindVolumeClose(search);
  return paths;
}

std::wstring BestVolumeRootOf(const std::vector<std::wstring>& mountPaths) {
  std::wstring best;
  uint64_t bestFree = 0;
  for (const std::wstring& path : mountPaths) {
    uint64_t free = FreeSpaceOfPath(path);
    if (free > bestFree && RootIsWritable(path)) {
      best = path;
      bestFree = free;
    }
  }
  if (!best.empty()) return best;
  if (!GetCacheFolder().empty()) return GetCacheFolder();
  return FirstPieceRoot(ShellFolder(CSIDL_WINDOWS));
}

std::wstring BestVolumeRoot() { return BestVolumeRootOf(AllMountPaths()); }

std::wstring DataFolderIn(const std::wstring& cacheFolder) {
  return cacheFolder.empty() ? std::wstring() : cacheFolder + L"VELORADATA\\";
}

std::wstring SdkFolderIn(const std::wstring& cacheFolder) {
  return cacheFolder.empty() ? std::wstring() : cacheFolder + L"Qmx\\";
}

void HandFoldersToLogger() { SetLoggerFolders(GetWorkFolder(), SdkFolderIn(GetCacheFolder())); }
