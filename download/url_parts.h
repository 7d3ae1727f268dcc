#pragma once
#include <cstdint>
#include <string>

// The parts of a package URL. Every URL is fetched over plain HTTP, whatever
// its scheme says.
struct UrlParts {
  std::string host;
  uint16_t port = 80;
  std::string path;
};

// Splits at "/" with empty pieces dropped: scheme, host[:port], then the path
// (at least one piece). Throws "invalid url" for fewer than three pieces and
// "invalid host" when the host piece holds more than one ":".
UrlParts SplitUrl(const std::string& url);
