#pragma once
#include <windows.h>

#include <cstdint>

// A FILETIME (100-ns units since 1601-01-01 UTC) as whole seconds since
// 1970-01-01 UTC.
inline int64_t FileTimeToUnix(const FILETIME& time) {
  int64_t ticks = int64_t(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
  return (ticks - 116444736000000000LL) / 10000000;
}
