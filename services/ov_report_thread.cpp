#include "services/ov_report_thread.h"

#include "analytics/logger.h"
#include "app/app_context.h"
#include "download/cache_location.h"
#include "net/context_lock.h"
#include "platform/hardware_id.h"
#include "services/read_server_info_thread.h"
#include "services/service_call.h"
#include "velora_profile.h"

ReportInputs GatherReportInputs() {
  ReportInputs in;
  {
    ContextLock hold(GetAppContext());
    if (AppContext* context = GetAppContext()) in.channel = context->channel;
  }
  const std::wstring& cache = GetCacheFolder();
  if (!cache.empty()) in.uid = ReadOvuid(cache + L"Qmx\\" + kOvuidLibrary);
  in.appName = GetServerInfo()->GetAppName();
  in.macText = MachineMacAddress();
  in.machineId = GetLogger()->GetMachineId();
  in.version = InstallerVersion();
  return in;
}

COVReportThread::COVReportThread(HWND mainWindow) : mainWindow_(mainWindow) { Start(); }

COVReportThread::~COVReportThread() { StopBounded(); }

unsigned COVReportThread::Run() {
  try {
    return SendReport(GatherReportInputs(), stop_, profile::kAttributionHost);
  } catch (...) {
    return 1;
  }
}
