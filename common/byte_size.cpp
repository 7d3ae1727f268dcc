#include "common/byte_size.h"

#include <cstdio>

std::wstring FormatByteSize(int64_t bytes) {
  static const struct {
    double unit;
    const char* name;
  } kUnits[] = {{1099511627776.0, "TB"}, {1073741824.0, "GB"}, {1048576.0, "MB"}};
  const double size = static_cast<double>(bytes);
  double unit = 1;
  const char* name = "B";
  for (const auto& candidate : kUnits) {
    if (size >= candidate.unit) {
      unit = candidate.unit;
      name = candidate.name;
      break;
    }
  }
  // Kilobytes begin only above 1024, so that 1024 bytes read "1024.0 B".
  if (unit == 1 && size > 1024) {
    unit = 1024;
    name = "KB";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", size / unit, name);
  return std::wstring(text, text + std::char_traits<char>::length(text));
}
