#pragma once
#include <string>

#include "analytics/logger.h"
#include "services/pkg_info.h"

// The page indices the main window starts on.
enum class FirstPage { kAlreadyInstalled = 0, kWelcome = 1 };

// The first page: the welcome page when nothing is installed or the package
// is newer (or its version is unknown after waiting at most 40 polls of 50 ms
// for the index); otherwise the already-installed prompt, after setting
// is_reinstall and reporting "vReInstall".
FirstPage ChooseFirstPage(const std::wstring& installedPath, const std::wstring& installedVersion, IPkgInfo& pkgInfo,
                          ILoggerServer& logger);
