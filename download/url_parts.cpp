#include "download/url_parts.h"

#include "platform/text.h"

UrlParts SplitUrl(const std::string& url) {
  std::vector<std::string> pieces = SplitByAny(url, "/");
  if (pieces.size() < 3) throw "invalid url";
  std::vector<std::string> hostPort = SplitByAny(pieces[1], ":");
  UrlParts parts;
  if (hostPort.size() == 1) {
    parts.host = hostPort[0];
  } else if (hostPort.size() == 2) {
    parts.host = hostPort[0];
    parts.port = uint16_t(StringToInt64(hostPort[1]));
  } else {
    throw "invalid host";
  }
  for (size_t i = 2; i < pieces.size(); ++i) parts.path += "/" + pieces[i];
  return parts;
}
