#pragma once
#include "download/downloader.h"

// The download's view of this process: the logger, the package index, the
// installed application info, config.ini, the cache folder, the executable's
// own name and version, the default URL and the package service's hosts.
DownloadEnv InstallerDownloadEnv();

// A new orchestrator over InstallerDownloadEnv, or null.
IDownloader* CreateInstallerDownloader();
