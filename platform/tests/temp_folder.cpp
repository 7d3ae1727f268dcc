#include "platform/tests/temp_folder.h"

#include <windows.h>

#include <cstdio>

#include "platform/file_system.h"

namespace testing_files {

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  wchar_t name[MAX_PATH];
  GetTempFileNameW(base, L"vlt", 0, name);
  DeleteFileW(name);
  CreateDirectoryW(name, nullptr);
  path_ = std::wstring(name) + L"\\";
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (!file) return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

std::string ReadFileBytes(const std::wstring& path) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return std::string();
  std::string bytes;
  char block[4096];
  for (size_t got; (got = fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, got);
  fclose(file);
  return bytes;
}

}  // namespace testing_files
