#pragma once
#include <cstdint>
#include <string>

// The installed size assumed while the package index has not answered.
inline constexpr uint64_t kDefaultOriginSize = 178917376;

// The package's installed size as the package index gives it, the assumed
// size before it has answered; 0 for a negative size.
uint64_t RequiredInstallSize();

// Program Files when it has more than `required` bytes free, else the best
// volume root when that has; else "" after reporting "vInstallPathError".
std::wstring DefaultInstallLocation(uint64_t required);
