#include "analytics/sdk_files.h"

#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "platform/text.h"
#include "unzip.h"
// iowin32.h needs unzip.h's declarations first.
#include "iowin32.h"

namespace {

std::wstring WithBackslash(std::wstring path) {
  if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
  return path;
}

// One entry, by name, into path; false when it cannot be read or written.
bool UnpackEntry(unzFile zip, const std::string& name, const std::wstring& path) {
  unz_file_info64 info;
  if (unzLocateFile(zip, name.c_str(), 0) != UNZ_OK ||
      unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK || info.uncompressed_size == 0)
    return false;
  if (unzOpenCurrentFile(zip) != UNZ_OK) return false;
  bool ok = false;
  if (FILE* out = _wfopen(path.c_str(), L"wb")) {
    char buffer[2048];
    ZPOS64_T left = info.uncompressed_size;
    ok = true;
    while (left > 0) {
      int n = unzReadCurrentFile(zip, buffer, static_cast<unsigned>(left < sizeof buffer ? left : sizeof buffer));
      if (n <= 0 || fwrite(buffer, 1, static_cast<size_t>(n), out) != static_cast<size_t>(n)) {
        ok = false;
        break;
      }
      left -= static_cast<ZPOS64_T>(n);
    }
    fclose(out);
  }
  unzCloseCurrentFile(zip);
  return ok;
}

}  // namespace

std::wstring SdkWorkFolder() {
  static std::wstring folder = [] {
    wchar_t temp[MAX_PATH] = {};
    if (!GetTempPathW(MAX_PATH, temp)) return std::wstring();
    std::wstring path = WithBackslash(temp) + L"VeloraPkg_" + AnsiToWide(Int64ToString(CurrentUnixTime())) + L"\\";
    return SHCreateDirectoryExW(nullptr, path.c_str(), nullptr) == ERROR_SUCCESS ||
                   GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES
               ? path
               : std::wstring();
  }();
  return folder;
}

std::wstring SdkCacheFolder() {
  wchar_t appData[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData))) return std::wstring();
  std::wstring folder = WithBackslash(appData) + L"VeloraPkg\\";
  if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return folder;
}

void ExtractSdkArchive(const std::wstring& folder, const std::wstring& archive) {
  if (folder.empty() || archive.empty()) return;
  zlib_filefunc64_def files;
  fill_win32_filefunc64W(&files);
  unzFile zip = unzOpen2_64(archive.c_str(), &files);
  if (!zip) return;
  std::vector<std::string> names;
  for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
    char name[260] = {};
    if (unzGetCurrentFileInfo64(zip, nullptr, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    names.push_back(name);
  }
  for (const std::string& name : names) UnpackEntry(zip, name, folder + AnsiToWide(name));
  unzClose(zip);
}
