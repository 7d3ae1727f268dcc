#include "app/installer_downloader.h"

#include <windows.h>

#include "analytics/logger.h"
#include "app/session_settings.h"
#include "download/cache_location.h"
#include "platform/file_system.h"
#include "services/app_info.h"
#include "services/read_pkg_info_thread.h"
#include "velora_profile.h"

DownloadEnv InstallerDownloadEnv() {
  DownloadEnv env;
  env.logger = GetLogger();
  env.pkgInfo = GetPkgInfo();
  env.appInfo = GetAppInfo();
  env.settings.path = [] { return GetSessionSettings().path; };
  env.settings.md5 = [] { return GetSessionSettings().md5; };
  env.settings.record = [](const std::wstring& md5, const std::wstring& path, const std::wstring& fileDigest) {
    RecordVerifiedPackage(md5, path, fileDigest, GetSessionSettings());
  };
  env.cacheFolder = GetCacheFolder();
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  env.ownFileName = FullPathFileName(own);
  env.ownVersion = env.appInfo->GetProductVersion(L"");
  env.defaultUrl = DefaultPackageUrl();
  env.reachabilityHosts = {profile::kPkgHost, profile::kPkgFallbackIp};
  return env;
}

IDownloader* CreateInstallerDownloader() { return CreateDownloader(InstallerDownloadEnv()); }
