#include "ui/banner_source.h"

#include <json/json.h>

#include <memory>

#include "platform/text.h"

std::string BannerGifAddress(const std::string& configuration) {
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  if (!reader->parse(configuration.data(), configuration.data() + configuration.size(), &root, &errors) ||
      !root.isObject())
    return "";
  const Json::Value& code = root["code"];
  if (!code.isString() || code.asString() != "server.success") return "";
  const Json::Value& data = root["data"];
  if (!data.isObject() || !data["ProductsShow"].isObject()) return "";
  const Json::Value& gif = data["ProductsShow"]["gif_url"];
  return gif.isString() ? gif.asString() : "";
}

bool SplitGifAddress(const std::string& address, std::string* host, uint16_t* port, std::string* path) {
  const std::vector<std::string> pieces = SplitByAny(address, "/");
  if (pieces.size() < 3) return false;
  const std::vector<std::string> hostAndPort = SplitByAny(pieces[1], ":");
  int64_t number = 80;
  if (hostAndPort.size() == 2) {
    number = StringToInt64(hostAndPort[1]);
  } else if (hostAndPort.size() != 1) {
    return false;
  }
  // A port the socket cannot take would otherwise wrap to another one.
  if (number < 1 || number > 65535) return false;
  *host = hostAndPort[0];
  *port = static_cast<uint16_t>(number);
  path->clear();
  for (size_t i = 2; i < pieces.size(); ++i) *path += "/" + pieces[i];
  return true;
}
