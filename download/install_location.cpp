#include "download/install_location.h"

#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/cache_location.h"
#include "services/read_pkg_info_thread.h"

namespace {

void ReportNoInstallRoom() {
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetStringProperty(prop::kErrorStatus, value::kMaxDiskSpaceShort);
  logger->WriteEvent(event::kInstallPathError);
}

}  // namespace

uint64_t RequiredInstallSize() {
  IPkgInfo* info = GetPkgInfo();
  const int64_t size = info ? info->GetOriginSize() : static_cast<int64_t>(kDefaultOriginSize);
  return size > 0 ? static_cast<uint64_t>(size) : 0;
}

std::wstring DefaultInstallLocation(uint64_t required) {
  wchar_t programFiles[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, programFiles)) &&
      FreeSpaceOfPath(programFiles) > required)
    return programFiles;
  std::wstring root = BestVolumeRoot();
  if (FreeSpaceOfPath(root) > required) return root;
  ReportNoInstallRoom();
  return std::wstring();
}
