#include "services/read_server_info_thread.h"

#include "app/app_context.h"
#include "net/context_lock.h"
#include "velora_profile.h"

CReadServerInfoThread::CReadServerInfoThread(CServerInfo* info) : info_(info) { Start(); }

CReadServerInfoThread::~CReadServerInfoThread() { StopBounded(); }

unsigned CReadServerInfoThread::Run() {
  std::string channel;
  {
    ContextLock hold(GetAppContext());
    if (AppContext* context = GetAppContext()) channel = context->channel;
  }
  ReadChannelInfo(*info_, stop_, channel, profile::kGatewayHost);
  return 0;
}

namespace {

struct ChannelWelcomeService {
  CServerInfo info;
  CReadServerInfoThread thread{&info};
};

}  // namespace

IServerInfo* GetServerInfo() {
  static ChannelWelcomeService service;
  return &service.info;
}
