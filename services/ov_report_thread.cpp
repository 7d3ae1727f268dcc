#include "services/ov_report_thread.h"

#include "analytics/logger.h"
#include "platform/hardware_id.h"
#include "services/channel.h"
#include "services/read_server_info_thread.h"
#include "services/service_call.h"
#include "velora_profile.h"

ReportInputs GatherReportInputs() {
  ReportInputs in;
  in.channel = CurrentChannel();
  const std::wstring& sdkFolder = GetSdkFolder();
  if (!sdkFolder.empty()) in.uid = ReadOvuid(sdkFolder + kOvuidLibrary);
  in.appName = GetServerInfo()->GetAppName();
  in.macText = MachineMacAddress();
  in.machineId = GetLogger()->GetMachineId();
  in.version = InstallerVersion();
  return in;
}

COVReportThread::COVReportThread() { Start(); }

COVReportThread::~COVReportThread() { StopBounded(); }

unsigned COVReportThread::Run() {
  try {
    return SendReport(GatherReportInputs(), stop_, profile::kAttributionHost);
  } catch (...) {
    return 1;
  }
}
