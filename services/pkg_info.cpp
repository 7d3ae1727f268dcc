#include "services/pkg_info.h"

#include <utility>

void SortUrlsByRank(std::vector<PackageUrl>& urls) {
  for (size_t pass = 0; pass + 1 < urls.size(); ++pass)
    for (size_t i = 0; i + 1 < urls.size() - pass; ++i)
      if (urls[i].rank < urls[i + 1].rank) std::swap(urls[i], urls[i + 1]);
}

const char* CPkgInfo::GetVersion() {
  lock_.Lock();
  const char* version = record_.version.empty() ? nullptr : record_.version.c_str();
  lock_.Unlock();
  return version;
}

int CPkgInfo::GetUrlCount() {
  lock_.Lock();
  int count = static_cast<int>(record_.urls.size());
  lock_.Unlock();
  return count;
}

const char* CPkgInfo::GetUrl(int index) {
  lock_.Lock();
  const char* url =
      index >= 0 && index < static_cast<int>(record_.urls.size()) ? record_.urls[index].url.c_str() : nullptr;
  lock_.Unlock();
  return url;
}

const char* CPkgInfo::GetMd5() {
  lock_.Lock();
  const char* md5 = record_.md5.empty() ? nullptr : record_.md5.c_str();
  lock_.Unlock();
  return md5;
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
  lock_.Lock();
  record_ = std::move(record);
  SortUrlsByRank(record_.urls);
  lock_.Unlock();
  status_ = 1;
}
