#include "services/read_server_info_thread.h"

#include "services/channel.h"
#include "velora_profile.h"

CReadServerInfoThread::CReadServerInfoThread(CServerInfo* info) : info_(info) { Start(); }

CReadServerInfoThread::~CReadServerInfoThread() { StopBounded(); }

unsigned CReadServerInfoThread::Run() {
  ReadChannelInfo(*info_, stop_, CurrentChannel(), profile::kGatewayHost);
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
