#include "services/channel.h"

namespace {
IChannelSource* g_source = nullptr;
}  // namespace

void SetChannelSource(IChannelSource* source) { g_source = source; }

std::string CurrentChannel() { return g_source ? g_source->Channel() : std::string(); }
