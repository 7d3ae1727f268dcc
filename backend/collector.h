#pragma once
#include <string>

#include "backend/event_store.h"

// The analytics collector: takes the SDK's sealed batches at the sensor path
// and stores their records (docs/analytics-wire.md).
class Collector {
 public:
  Collector(EventStore& store, std::string servicePrivateKey, std::string appKey);

  struct Answer {
    int status;
    std::string body;  // JSON
  };
  // One sensor POST body; the answer the SDK gets back.
  Answer HandleBatch(const std::string& body);

 private:
  EventStore& store_;
  std::string servicePrivateKey_;
  std::string appKey_;
};
