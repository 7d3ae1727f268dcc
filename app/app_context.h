#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "net/route.h"
#include "pages/install_flags.h"
#include "platform/xmutex.h"
#include "services/channel.h"
#include "ui/display_scale.h"

// The one process-wide context. Every reader and writer of the network route
// and the channel holds `lock` for the duration of the copy; the layers below
// reach them only through the two small interfaces it implements.
struct AppContext final : INetworkRoute, IChannelSource {
  DisplayScale display;  // uiScale and dpiScale; start-up binds it for the UI
  int32_t proxyType = 0;
  std::string proxyHost;
  int32_t proxyPort = 0;
  int32_t dnsMode = 0;
  std::string dnsServer;
  std::string channel;  // at most 8 characters
  CXMutex lock;

  void UseRoute(const std::function<void(NetworkRoute& route)>& use) override;
  std::string Channel() override;
  void SetChannel(const std::string& value);
};

// Null before start-up creates the context and after shut-down deletes it.
// Setting it also hands it down as the process's network route and channel
// source.
AppContext* GetAppContext();
void SetAppContext(AppContext* context);

HINSTANCE GetAppInstance();
void SetAppInstance(HINSTANCE instance);
