#pragma once
#include "services/ov_report.h"
#include "services/service_thread.h"

// Sends the attribution report once, in the background, from construction
// on. The main window that starts it keeps it and destroys it at exit.
class COVReportThread : public CServiceThread {
 public:
  COVReportThread();
  ~COVReportThread() override;

 protected:
  unsigned Run() override;
};

// What the report is made of on this machine now: the channel, the UID of
// OVUID.dll in the SDK folder, the channel answer's app name, the adapter
// address text, the machine id and the installer's version.
ReportInputs GatherReportInputs();
