#pragma once
#include <cstdint>
#include <string>

// A byte count as the custom install page shows it: one decimal and the
// largest unit the size reaches ("1024.0 B", "1.5 KB", "1.0 MB", "2.0 TB").
// Up to 1024 bytes the count stays in bytes; from exactly 1 MB, 1 GB and 1 TB
// on the larger unit is used. Negative counts are shown in bytes.
std::wstring FormatByteSize(int64_t bytes);
