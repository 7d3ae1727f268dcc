#pragma once
#include <string>

#include "analytics/logger.h"
#include "services/pkg_info.h"

// The page indices the main window starts on.
enum class FirstPage { kAlreadyInstalled = 0, kWelcome = 1 };

// Compares dotted versions part by part as "%lld" numbers, over as many
// parts as both have; true unless the first unequal pair has the package's
// part larger.
bool InstalledNotOlder(const std::string& installedVersion, const std::string& packageVersion);

// The first page: the welcome page when nothing is installed or the package
// is newer (or its version is unknown after waiting at most 40 polls of 50 ms
// for the index); otherwise the already-installed prompt, after setting
// is_reinstall and reporting "vReInstall".
FirstPage ChooseFirstPage(const std::wstring& installedPath, const std::wstring& installedVersion, IPkgInfo& pkgInfo,
                          ILoggerServer& logger);
