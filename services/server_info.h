#pragma once
#include <string>

#include "platform/xmutex.h"
#include "services/stop_signal.h"

// What the gateway says about the installer's channel.
struct ChannelInfo {
  std::string appId;
  std::string appName;
  bool ocpc = false;  // conversion reporting applies
  std::string welcomeUrl;
  std::string advertisingAccount;
};

// Status: 0 pending, 1 done, 2 failed; it changes once. The texts are empty
// when the gateway did not name them.
class IServerInfo {
 public:
  virtual ~IServerInfo() = default;
  virtual int GetStatus() = 0;
  virtual std::string GetWelcomeUrl() = 0;
  virtual std::string GetAdvertisingAccount() = 0;
  virtual bool GetOcpcFlag() = 0;
  virtual std::string GetAppId() = 0;
  virtual std::string GetAppName() = 0;
  virtual void ClearWelcomeUrl() = 0;
};

class CServerInfo : public IServerInfo {
 public:
  int GetStatus() override { return status_; }
  std::string GetWelcomeUrl() override { return info_.welcomeUrl; }
  std::string GetAdvertisingAccount() override { return info_.advertisingAccount; }
  bool GetOcpcFlag() override { return info_.ocpc; }
  std::string GetAppId() override { return info_.appId; }
  std::string GetAppName() override { return info_.appName; }
  void ClearWelcomeUrl() override { info_.welcomeUrl.clear(); }

  // The fetch thread's side: the fields go in under the lock, then the
  // status becomes 1. Fail sets 2.
  void Complete(const ChannelInfo& info);
  void Fail() { status_ = 2; }

 private:
  volatile int status_ = 0;
  CXMutex lock_;
  ChannelInfo info_;
};

// A welcome answer body as its fields: throws "parse decrypt data error" for
// a body that is not a JSON object, "member type error" for a "code" that is
// not a text or a "data" that is not an object, and the JSON library's own
// error for a field it cannot convert. Any "code" but "server.success", or
// no "data", gives the empty record.
ChannelInfo DecodeChannelAnswer(const std::string& body);

// The fetch for channel from the gateway host: nothing at all for an empty
// channel, else up to 3 attempts 300 ms apart. Ends with info's status 1 or
// 2; never throws.
void ReadChannelInfo(CServerInfo& info, StopSignal& stop, const std::string& channel, const std::string& host);
