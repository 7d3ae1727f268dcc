#pragma once
#include <functional>
#include <memory>
#include <string>

#include "sdk/seal.h"

// The library's process-wide configuration, set by the qmxSet* exports and
// read by the sender and the data exports.
struct SdkConfig {
  std::string appId;
  std::string appKey;
  std::string appName;
  std::string host;
  int port = 0;
  std::string sensorPath;
  int midVersion = 1;
  std::shared_ptr<SealingKey> sealing;  // the service's public key
  std::shared_ptr<OpeningKey> opening;  // the client's private key
};

// A copy of the current configuration.
SdkConfig CurrentConfig();
// Changes the configuration under its lock.
void UpdateConfig(const std::function<void(SdkConfig&)>& change);

// The folder of Qmx.dll with a trailing backslash: the spool and crash dumps
// live there.
std::wstring LibraryFolder();
