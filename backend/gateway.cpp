#include "backend/gateway.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "backend/sqlite_util.h"

namespace {

constexpr char kSuccess[] = "server.success";

// The answer a fault makes of the normal one; kCodeOne gives the gateway's
// own failure code.
Gateway::Answer Faulted(Fault fault, const Json::Value& normal) {
  if (fault == Fault::kNotFound) return {404, "not found"};
  if (fault == Fault::kNotJson) return {200, "<html>the gateway is resting</html>"};
  if (fault == Fault::kCodeOne) {
    Json::Value v;
    v["code"] = 1;
    return {200, Compact(v)};
  }
  return {200, Compact(normal)};
}

}  // namespace

Gateway::Gateway(const std::string& channelsPath, std::string gifUrl) : gifUrl_(std::move(gifUrl)) {
  std::ifstream in(channelsPath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in || !ParseJson(text.str(), &channels_) || !channels_.isObject())
    throw std::runtime_error("channel table unreadable: " + channelsPath);
}

Gateway::Answer Gateway::Welcome(const std::string& channel, Fault fault) const {
  Json::Value v;
  if (channels_.isMember(channel)) {
    v["code"] = kSuccess;
    v["data"] = channels_[channel];
  } else {
    v["code"] = "server.channel.unknown";
    v["message"] = "no such channel";
  }
  return Faulted(fault, v);
}

Gateway::Answer Gateway::InstallerConfig(const std::string& appId, Fault fault) const {
  Json::Value v;
  v["code"] = kSuccess;
  v["data"]["appId"] = appId;
  v["data"]["ProductsShow"]["gif_url"] = gifUrl_;
  return Faulted(fault, v);
}
