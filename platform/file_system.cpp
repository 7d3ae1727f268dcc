#include "platform/file_system.h"

#include <sys/stat.h>

#include <vector>

#include "platform/handle.h"
#include "platform/text.h"

namespace {

bool StatOf(const std::wstring& path, struct _stat64& status) { return _wstat64(path.c_str(), &status) == 0; }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Error codes that mean the path itself cannot lead anywhere.
bool IsHopeless(DWORD error) { return error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME; }

std::wstring FullPathOf(const std::wstring& path) {
  if (path.empty()) return std::wstring();
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return std::wstring();
  std::vector<wchar_t> buffer(length + 1);
  DWORD written = GetFullPathNameW(path.c_str(), length + 1, buffer.data(), nullptr);
  if (written == 0 || written > length) return std::wstring();
  return std::wstring(buffer.data(), written);
}

size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

}  // namespace

bool FileExists(const std::wstring& path) {
  struct _stat64 status;
  return !path.empty() && StatOf(path, status) && !(status.st_mode & _S_IFDIR);
}

int64_t FileSizeOf(const std::wstring& path) {
  struct _stat64 status;
  return !path.empty() && StatOf(path, status) ? int64_t(status.st_size) : 0;
}

bool DirectoryExists(const std::wstring& path) {
  if (path.empty()) return false;
  // Testing "dir/." makes a file of that name fail: it has no "." inside.
  std::wstring probe = path;
  if (!IsSeparator(probe.back())) probe += L'/';
  probe += L'.';
  UniqueHandle handle(CreateFileW(probe.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle && IsHopeless(GetLastError())) return false;
  handle.Reset();
  DWORD attributes = GetFileAttributesW(probe.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirectories(const std::wstring& path) {
  std::vector<std::wstring> pieces = SplitByAny(path, L"\\/");
  std::wstring built;
  for (size_t i = 0; i < pieces.size(); ++i) {
    built += pieces[i] + L'/';
    if (i == 0) continue;  // the drive
    if (!CreateDirectoryW(built.c_str(), nullptr) && IsHopeless(GetLastError())) break;
  }
  return DirectoryExists(path);
}

bool DeleteFileAt(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

bool RemoveTree(const std::wstring& path) {
  if (path.empty()) return false;
  if (DirectoryFinder* finder = DirectoryFinder::Open(path, L"*")) {
    do {
      if (finder->IsDirectory())
        RemoveTree(finder->FullPath());
      else
        DeleteFileAt(finder->FullPath());
    } while (finder->Next());
    finder->Close();
    return RemoveDirectoryW(path.c_str()) != FALSE;
  }
  if (DirectoryExists(path)) return RemoveDirectoryW(path.c_str()) != FALSE;
  if (FileExists(path)) DeleteFileAt(path);
  return true;
}

std::wstring EnsureTrailingSlash(const std::wstring& path) {
  if (path.empty() || IsSeparator(path.back())) return path;
  return path + L'\\';
}

std::wstring FullPathDirectory(const std::wstring& path) {
  std::wstring full = FullPathOf(path);
  size_t cut = LastSeparator(full);
  return cut == std::wstring::npos ? std::wstring() : full.substr(0, cut + 1);
}

std::wstring FullPathFileName(const std::wstring& path) {
  std::wstring full = FullPathOf(path);
  size_t cut = LastSeparator(full);
  return cut == std::wstring::npos ? std::wstring() : full.substr(cut + 1);
}

std::wstring FileExtension(const std::wstring& path) {
  size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos) return std::wstring();
  size_t separator = LastSeparator(path);
  if (separator != std::wstring::npos && separator > dot) return std::wstring();
  return path.substr(dot);
}

bool IsValidInstallPath(const std::wstring& path) {
  if (path.find(L"\\\\") != std::wstring::npos) return false;
  std::vector<std::wstring> pieces = SplitByAny(path, L"\\");
  if (pieces.empty()) return false;
  const std::wstring& drive = pieces[0];
  if (drive.size() != 2 || drive.find(L':') == std::wstring::npos) return false;
  if (!((drive[0] >= L'A' && drive[0] <= L'Z') || (drive[0] >= L'a' && drive[0] <= L'z'))) return false;
  for (size_t i = 1; i < pieces.size(); ++i)
    if (pieces[i].empty() || pieces[i].find_first_of(L"/:*?\"<>|") != std::wstring::npos) return false;
  return true;
}

DirectoryFinder* DirectoryFinder::Open(const std::wstring& directory, const std::wstring& pattern) {
  auto* finder = new DirectoryFinder;
  finder->directory_ = EnsureTrailingSlash(directory);
  finder->search_ = FindFirstFileW((finder->directory_ + pattern).c_str(), &finder->entry_);
  if (finder->search_ == INVALID_HANDLE_VALUE) {
    delete finder;
    return nullptr;
  }
  for (int skipped = 0; skipped < 2; ++skipped) {
    std::wstring name = finder->entry_.cFileName;
    if (name != L"." && name != L"..") break;
    if (!finder->Next()) {
      finder->Close();
      return nullptr;
    }
  }
  return finder;
}

bool DirectoryFinder::IsDirectory() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

std::wstring DirectoryFinder::FullPath() const { return directory_ + entry_.cFileName; }

bool DirectoryFinder::Next() { return FindNextFileW(search_, &entry_) != FALSE; }

void DirectoryFinder::Close() { delete this; }

DirectoryFinder::~DirectoryFinder() {
  if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
}
