#pragma once
#include <string>

// The distribution channel as the service threads read it. Its holder lives
// above this layer (start-up's context, which copies it under its lock) and
// is handed down before any service thread starts.
class IChannelSource {
 public:
  virtual std::string Channel() = 0;

 protected:
  ~IChannelSource() = default;
};

void SetChannelSource(IChannelSource* source);
// The channel, or "" without a source.
std::string CurrentChannel();
