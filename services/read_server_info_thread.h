#pragma once
#include "services/server_info.h"
#include "services/service_thread.h"

// Fetches the channel's welcome answer into info once, in the background,
// from construction on.
class CReadServerInfoThread : public CServiceThread {
 public:
  explicit CReadServerInfoThread(CServerInfo* info);
  ~CReadServerInfoThread() override;

 protected:
  unsigned Run() override;

 private:
  CServerInfo* info_;
};

// The process-wide channel welcome answer; the first call starts its fetch.
IServerInfo* GetServerInfo();
