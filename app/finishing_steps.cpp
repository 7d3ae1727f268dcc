#include "app/finishing_steps.h"

#include "analytics/events.h"
#include "analytics/logger.h"
#include "app/launch_context.h"
#include "app/session_settings.h"
#include "app/welcome_address.h"
#include "pages/install_flags.h"
#include "platform/text.h"
#include "services/app_info.h"
#include "services/read_server_info_thread.h"

FinishedInstall RunFinishingSteps() {
  FinishedInstall finished;
  CSessionSettings& settings = GetSessionSettings();
  RecordInstallEnd(CurrentUnixTime(), settings);
  finished.welcomeAddress = ComposeWelcomeAddress(WelcomeInputsNow(), settings);

  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetBoolProperty(prop::kIsFirstInstall, is_first_install != 0);
  logger->SetBoolProperty(prop::kIsReinstall, is_reinstall != 0);
  logger->SetStringProperty(prop::kInstallStatus, value::kInstallSucceeded);
  logger->SetStringProperty(prop::kSoftPackageName, PackageNameFromPath(OwnExecutablePath()));
  logger->SetStringProperty(prop::kInstallType, value::kInstallTypeInstaller);
  logger->WriteEvent(event::kSoftInstallResult);

  IAppInfo* appInfo = GetAppInfo();
  appInfo->RefreshInstalled();
  finished.installedPath = appInfo->GetInstalledPath();
  if (GetServerInfo()->GetOcpcFlag()) finished.attribution = std::make_unique<COVReportThread>();
  return finished;
}
