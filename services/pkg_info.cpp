#include "services/pkg_info.h"

#include <utility>

void SortUrlsByRank(std::vector<PackageUrl>& urls) {
  for (size_t pass = 0; pass + 1 < urls.size(); ++pass)
    for (size_t i = 0; i + 1 < urls.size() - pass; ++i)
      if (urls[i].rank < urls[i + 1].rank) std::swap(urls[i], urls[i + 1]);
}

const char* CPkgInfo::GetVersion() {
  CXMutexGuard hold(lock_);
  return record_.version.empty() ? nullptr : record_.version.c_str();
}

int CPkgInfo::GetUrlCount() {
  CXMutexGuard hold(lock_);
  return static_cast<int>(record_.urls.size());
}

const char* CPkgInfo::GetUrl(int index) {
  CXMutexGuard hold(lock_);
  return index >= 0 && index < static_cast<int>(record_.urls.size()) ? record_.urls[index].url.c_str() : nullptr;
}

const char* CPkgInfo::GetMd5() {
  CXMutexGuard hold(lock_);
  return record_.md5.empty() ? nullptr : record_.md5.c_str();
}

void CPkgInfo::Reset() {
  record_.packageName.clear();
  record_.version.clear();
  record_.md5.clear();
  record_.urls.clear();
  record_.size = 0;
  record_.originSize = 0;
}

void CPkgInfo::Complete(PackageRecord record) {
  {
    CXMutexGuard hold(lock_);
    record_ = std::move(record);
    SortUrlsByRank(record_.urls);
  }
  status_ = 1;
}
