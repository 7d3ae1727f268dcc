#pragma once
#include <cstdint>
#include <string>

// The parts of a package URL. Only plain HTTP is spoken, so only "http:"
// URLs are valid.
struct UrlParts {
  std::string host;
  uint16_t port = 80;
  std::string path;
};

// Splits at "/" with empty pieces dropped: scheme, host[:port], then the path
// (at least one piece). Throws "invalid url" for fewer than three pieces or a
// scheme other than "http:" (in any case), and "invalid host" when the host
// piece holds more than one ":" or a port that is not a decimal number from 1
// to 65535.
UrlParts SplitUrl(const std::string& url);
