#include "app/first_page.h"

#include <windows.h>

#include "analytics/events.h"
#include "app/app_context.h"
#include "platform/text.h"
#include "platform/version_order.h"

namespace {

constexpr int kIndexPolls = 40;
constexpr DWORD kIndexPollMs = 50;

}  // namespace

FirstPage ChooseFirstPage(const std::wstring& installedPath, const std::wstring& installedVersion, IPkgInfo& pkgInfo,
                          ILoggerServer& logger) {
  if (installedPath.empty()) return FirstPage::kWelcome;
  for (int poll = 0; poll < kIndexPolls && pkgInfo.GetStatus() == 0; ++poll) Sleep(kIndexPollMs);
  const char* packageVersion = pkgInfo.GetVersion();
  if (!packageVersion || !*packageVersion) return FirstPage::kWelcome;
  if (!NotOlderAtFirstDifference(WideToUtf8(installedVersion), packageVersion)) return FirstPage::kWelcome;
  is_reinstall = 1;
  logger.ClearProperties();
  logger.WriteEvent(event::kReInstall);
  return FirstPage::kAlreadyInstalled;
}
