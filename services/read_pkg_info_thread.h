#pragma once
#include "services/pkg_info.h"
#include "services/service_thread.h"

// Fetches the package index into info once, in the background, from
// construction on.
class CReadPkgInfoThread : public CServiceThread {
 public:
  explicit CReadPkgInfoThread(CPkgInfo* info);
  ~CReadPkgInfoThread() override;

 protected:
  unsigned Run() override;

 private:
  CPkgInfo* info_;
};

// The process-wide package index; the first call starts its fetch.
IPkgInfo* GetPkgInfo();
