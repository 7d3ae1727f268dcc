#include "common/byte_size.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Each unit's edges: 1024 bytes stay in bytes, and exactly 1 MB, 1 GB and 1 TB
// take the larger unit rather than reading "1024.0 KB" and so on.
TEST(FormatByteSize, UnitsAndEdges) {
  const struct {
    int64_t bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0.0 B"},
      {1, L"1.0 B"},
      {1024, L"1024.0 B"},
      {1025, L"1.0 KB"},
      {1536, L"1.5 KB"},
      {1048575, L"1024.0 KB"},
      {1048576, L"1.0 MB"},
      {1048577, L"1.0 MB"},
      {157286400, L"150.0 MB"},
      {1073741823, L"1024.0 MB"},
      {1073741824, L"1.0 GB"},
      {int64_t(1) << 31, L"2.0 GB"},
      {1099511627775, L"1024.0 GB"},
      {1099511627776, L"1.0 TB"},
      {int64_t(1) << 41, L"2.0 TB"},
      {INT64_MAX, L"8388608.0 TB"},
      {-5, L"-5.0 B"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatByteSize(c.bytes), c.text) << c.bytes;
}

}  // namespace
