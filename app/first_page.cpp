#include "app/first_page.h"

#include <windows.h>

#include <vector>

#include "analytics/events.h"
#include "app/app_context.h"
#include "platform/text.h"

namespace {

constexpr int kIndexPolls = 40;
constexpr DWORD kIndexPollMs = 50;

}  // namespace

bool InstalledNotOlder(const std::string& installedVersion, const std::string& packageVersion) {
  std::vector<std::string> installed = SplitByAny(installedVersion, ".");
  std::vector<std::string> package = SplitByAny(packageVersion, ".");
  for (size_t i = 0; i < installed.size() && i < package.size(); ++i) {
    int64_t have = StringToInt64(installed[i]), offered = StringToInt64(package[i]);
    if (offered < have) return true;
    if (offered > have) return false;
  }
  return true;
}

FirstPage ChooseFirstPage(const std::wstring& installedPath, const std::wstring& installedVersion, IPkgInfo& pkgInfo,
                          ILoggerServer& logger) {
  if (installedPath.empty()) return FirstPage::kWelcome;
  for (int poll = 0; poll < kIndexPolls && pkgInfo.GetStatus() == 0; ++poll) Sleep(kIndexPollMs);
  const char* packageVersion = pkgInfo.GetVersion();
  if (!packageVersion || !*packageVersion) return FirstPage::kWelcome;
  if (!InstalledNotOlder(WideToUtf8(installedVersion), packageVersion)) return FirstPage::kWelcome;
  is_reinstall = 1;
  logger.ClearProperties();
  logger.WriteEvent(event::kReInstall);
  return FirstPage::kAlreadyInstalled;
}
