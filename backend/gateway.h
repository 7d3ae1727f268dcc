#pragma once
#include <string>

#include <json/json.h>

#include "backend/faults.h"

// The gateway: the channel welcome answers from a table of channels, and the
// installer configuration that points the banner at the stack's GIF.
class Gateway {
 public:
  // channelsPath: JSON object channel -> {appId, appName, orvaneOcpc,
  // welcomeUrl, advertisingAccountName}; any member may be left out.
  // Throws std::runtime_error when it cannot be read.
  Gateway(const std::string& channelsPath, std::string gifUrl);

  struct Answer {
    int status;
    std::string body;
  };
  // An unknown channel gets a JSON answer with another "code" and no "data".
  Answer Welcome(const std::string& channel, Fault fault) const;
  Answer InstallerConfig(const std::string& appId, Fault fault) const;

 private:
  Json::Value channels_;
  std::string gifUrl_;
};
