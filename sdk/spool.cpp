#include "sdk/spool.h"

#include <windows.h>

#include <cstdint>

#include "platform/handle.h"

namespace {

constexpr char kMagic[4] = {'Q', 'S', 'P', '1'};
constexpr uint32_t kMaxPayload = 1 << 20;
constexpr size_t kHeader = 12;
constexpr DWORD kMaxFile = 64u << 20;

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutU32(std::string* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t GetU32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
}

std::string Encode(const std::vector<std::string>& payloads) {
  std::string bytes;
  for (const std::string& p : payloads) bytes += EncodeSpoolEntry(p);
  return bytes;
}

}  // namespace

std::string EncodeSpoolEntry(const std::string& payload) {
  std::string entry(kMagic, sizeof kMagic);
  PutU32(&entry, static_cast<uint32_t>(payload.size()));
  PutU32(&entry, Crc32(payload));
  return entry + payload;
}

std::vector<std::string> ParseSpool(const std::string& bytes) {
  std::vector<std::string> entries;
  size_t at = 0;
  while (bytes.size() - at >= kHeader && bytes.compare(at, sizeof kMagic, kMagic, sizeof kMagic) == 0) {
    uint32_t size = GetU32(bytes, at + 4);
    if (size > kMaxPayload || size > bytes.size() - at - kHeader) break;
    std::string payload = bytes.substr(at + kHeader, size);
    if (Crc32(payload) != GetU32(bytes, at + 8)) break;
    entries.push_back(std::move(payload));
    at += kHeader + size;
  }
  return entries;
}

std::vector<std::string> ReadSpool(const std::wstring& path) {
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxFile) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
  bytes.resize(read);
  return ParseSpool(bytes);
}

bool AppendSpool(const std::wstring& path, const std::vector<std::string>& payloads) {
  if (payloads.empty()) return true;
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && WriteAll(file.Get(), Encode(payloads));
}

bool RewriteSpool(const std::wstring& path, const std::vector<std::string>& payloads) {
  if (payloads.empty()) return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  const std::wstring temporary = path + L".tmp";
  {
    UniqueHandle file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !WriteAll(file.Get(), Encode(payloads))) return false;
    FlushFileBuffers(file.Get());
  }
  return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
