#include "download/url_parts.h"

#include "platform/text.h"

namespace {

constexpr size_t kMaxPortDigits = 5;

}  // namespace

UrlParts SplitUrl(const std::string& url) {
  std::vector<std::string> pieces = SplitByAny(url, "/");
  if (pieces.size() < 3 || ToUpperAscii(pieces[0]) != "HTTP:") throw "invalid url";
  std::vector<std::string> hostPort = SplitByAny(pieces[1], ":");
  UrlParts parts;
  if (hostPort.size() == 1) {
    parts.host = hostPort[0];
  } else if (hostPort.size() == 2) {
    parts.host = hostPort[0];
    const std::string& port = hostPort[1];
    // A port that does not fit 16 bits would otherwise wrap to another one.
    if (port.size() > kMaxPortDigits || port.find_first_not_of("0123456789") != std::string::npos) throw "invalid host";
    int64_t number = StringToInt64(port);
    if (number < 1 || number > 65535) throw "invalid host";
    parts.port = uint16_t(number);
  } else {
    throw "invalid host";
  }
  for (size_t i = 2; i < pieces.size(); ++i) parts.path += "/" + pieces[i];
  return parts;
}
