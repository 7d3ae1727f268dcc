#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What the URL resolution learnt about the package.
struct UrlInfo {
  int64_t size = 0;               // "Content-Length:" of the first answer; 0 = unknown
  std::wstring fileName;          // local file name of the package
  std::vector<std::string> urls;  // final URL of every candidate that answered, in order
};

// The side of the orchestrator that the resolution thread and the download
// workers talk to.
class IUrlInfoReceiver {
 public:
  virtual ~IUrlInfoReceiver() = default;
  // The resolution's result, delivered once at the end of its run, whether it
  // succeeded or not. The caller ignores the result.
  virtual bool OnUrlInfo(const UrlInfo& info) = 0;
};

class IBlockWriter {
 public:
  virtual ~IBlockWriter() = default;
  // Writes n bytes of block `block` at the package offset; false when the
  // file could not be written.
  virtual bool WriteBlock(const char* data, int32_t n, int32_t block, int64_t offset) = 0;
};
