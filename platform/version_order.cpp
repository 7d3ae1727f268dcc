#include "platform/version_order.h"

#include <vector>

#include "platform/text.h"

bool NotOlderAtFirstDifference(const std::string& version, const std::string& reference) {
  std::vector<std::string> have = SplitByAny(version, ".");
  std::vector<std::string> offered = SplitByAny(reference, ".");
  for (size_t i = 0; i < have.size() && i < offered.size(); ++i) {
    int64_t a = StringToInt64(have[i]), b = StringToInt64(offered[i]);
    if (a != b) return a > b;
  }
  return true;
}

bool NoPartOlder(const std::string& version, const std::string& reference) {
  std::vector<std::string> c = SplitByAny(version, ".");
  std::vector<std::string> r = SplitByAny(reference, ".");
  if (c.empty() || c.size() != r.size()) return false;
  for (size_t i = 0; i < c.size(); ++i)
    if (StringToInt64(c[i]) < StringToInt64(r[i])) return false;
  return true;
}
