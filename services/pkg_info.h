#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/xmutex.h"

struct PackageUrl {
  int id = 0;
  std::string url;
  int rank = 0;
};

// The package service's answer.
struct PackageRecord {
  static constexpr int64_t kDefaultSize = 72011776;
  static constexpr int64_t kDefaultOriginSize = 178917376;

  std::string packageName;
  std::string version;
  int64_t size = kDefaultSize;
  int64_t originSize = kDefaultOriginSize;
  std::string md5;
  std::vector<PackageUrl> urls;
};

// What the package service said about the package to fetch. Status: 0
// pending, 1 done, 2 failed; it changes once.
class IPkgInfo {
 public:
  virtual ~IPkgInfo() = default;
  virtual int GetStatus() = 0;
  virtual int64_t GetSize() = 0;
  virtual int64_t GetOriginSize() = 0;
  // Null when empty.
  virtual const char* GetVersion() = 0;
  virtual int GetUrlCount() = 0;
  // Null when index is out of range.
  virtual const char* GetUrl(int index) = 0;
  // Null when empty.
  virtual const char* GetMd5() = 0;
  // Clears name, version, md5 and URLs and sets both sizes to 0.
  virtual void Reset() = 0;
};

class CPkgInfo : public IPkgInfo {
 public:
  int GetStatus() override { return status_; }
  int64_t GetSize() override { return record_.size; }
  int64_t GetOriginSize() override { return record_.originSize; }
  const char* GetVersion() override;
  int GetUrlCount() override;
  const char* GetUrl(int index) override;
  const char* GetMd5() override;
  void Reset() override;

  // The fetch thread's side: the decoded record goes in under the lock with
  // its URLs sorted by rank, then the status becomes 1. Fail sets 2.
  void Complete(PackageRecord record);
  void Fail() { status_ = 2; }

 private:
  volatile int status_ = 0;
  CXMutex lock_;
  PackageRecord record_;
};

// Highest rank first; equal ranks keep the server's order (a bubble sort
// that swaps neighbours only when the earlier rank is strictly smaller).
void SortUrlsByRank(std::vector<PackageUrl>& urls);
