#pragma once
#include <memory>
#include <string>

#include "services/ov_report_thread.h"

// What the finishing steps leave to the main window.
struct FinishedInstall {
  std::wstring welcomeAddress;                   // to open once the finished page shows
  std::wstring installedPath;                    // the installed program, as the uninstall entry names it now
  std::unique_ptr<COVReportThread> attribution;  // running when the channel asks for it, else null
};

// The steps of a successful install, when the finished page is reached:
// "install" and "end_timestamp" in config.ini, the welcome address composed
// (with its settings), "pSoftInstallResult", the installed application read
// again, and the attribution report started when the channel service asks
// for it.
FinishedInstall RunFinishingSteps();
