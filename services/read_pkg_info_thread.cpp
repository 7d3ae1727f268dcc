#include "services/read_pkg_info_thread.h"

#include "analytics/logger.h"
#include "services/pkg_index.h"
#include "services/service_call.h"

CReadPkgInfoThread::CReadPkgInfoThread(CPkgInfo* info) : info_(info) { Start(); }

CReadPkgInfoThread::~CReadPkgInfoThread() { StopBounded(); }

unsigned CReadPkgInfoThread::Run() {
  ReadPackageIndex(*info_, stop_, *GetLogger(), InstallerIndexEndpoints(), InstallerVersion());
  return 0;
}

namespace {

// The record outlives its thread: members go in reverse order.
struct PackageIndexService {
  CPkgInfo info;
  CReadPkgInfoThread thread{&info};
};

}  // namespace

IPkgInfo* GetPkgInfo() {
  static PackageIndexService service;
  return &service.info;
}
