// Prints the launch context that the installer works out for itself, one
// "key=value" line each, for the launch tests to read.
#include <windows.h>

#include <cstdio>

#include "app/launch_context.h"
#include "platform/text.h"
#include "services/app_info.h"

int main() {
  HANDLE own = CreateFileW(OwnExecutablePath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  LaunchContext launch = ReadLaunchContext(own);
  printf("package=%s\n", launch.packageName.c_str());
  printf("channel=%s\n", launch.channel.c_str());
  printf("parent=%s\n", WideToUtf8(launch.parentImagePath).c_str());
  printf("parent_name=%s\n", launch.parentFileName.c_str());
  printf("download_time=%u\n", launch.downloadTime);
  printf("first_install=%d\n", ProductUninstallEntryExists() ? 0 : 1);
  printf("version=%s\n", WideToUtf8(GetAppInfo()->GetProductVersion(L"")).c_str());
  fflush(stdout);
  if (own != INVALID_HANDLE_VALUE) CloseHandle(own);
  return 0;
}
