#pragma once
#include <string>
#include <vector>

// The spool keeps the records the collector has not acknowledged yet, so that
// the next start sends them. Each entry: "QSP1", the payload's length and its
// CRC-32 (both 32-bit little-endian), then the payload (one record's JSON).

// The entries of a spool file's bytes, in order, up to the first one that is
// damaged (bad magic, impossible length, CRC mismatch); the rest is dropped.
std::vector<std::string> ParseSpool(const std::string& bytes);
std::string EncodeSpoolEntry(const std::string& payload);

// The entries of the file; none when it is missing or unreadable.
std::vector<std::string> ReadSpool(const std::wstring& path);
// Appends entries; false when the file cannot be written.
bool AppendSpool(const std::wstring& path, const std::vector<std::string>& payloads);
// Replaces the file by exactly these entries (removes it when there are none),
// through a temporary file so that a crash leaves the old or the new file.
bool RewriteSpool(const std::wstring& path, const std::vector<std::string>& payloads);
