#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Paths and directories. None of these throws; each reports failure by false,
// 0 or an empty text.

// An existing entry that is not a directory.
bool FileExists(const std::wstring& path);
// The file's size, or 0 when its status cannot be read.
int64_t FileSizeOf(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// Creates every missing directory of a drive-letter path, parents first;
// whether the directory exists afterwards.
bool CreateDirectories(const std::wstring& path);
bool DeleteFileAt(const std::wstring& path);
// Deletes a directory with everything in it, or a single file. A path that
// names nothing counts as removed (true); false for an empty path or when the
// directory itself could not be removed.
bool RemoveTree(const std::wstring& path);

// The path with a '\' appended unless it is empty or already ends in '\' or '/'.
std::wstring EnsureTrailingSlash(const std::wstring& path);
// The full path's folder, with its trailing separator; "" on failure.
std::wstring FullPathDirectory(const std::wstring& path);
// The full path's file name; "" when it ends in a separator or on failure.
std::wstring FullPathFileName(const std::wstring& path);
// From the last '.' (included) when it follows every separator; else "".
std::wstring FileExtension(const std::wstring& path);
// A drive-letter path ("C:", "C:\", "D:\Velora\x") whose pieces hold none of
// / : * ? " < > | and no doubled backslash.
bool IsValidInstallPath(const std::wstring& path);

// One directory listing, without "." and "..". Open gives null when the
// directory has no other entry or cannot be listed; Close frees the finder.
class DirectoryFinder {
 public:
  static DirectoryFinder* Open(const std::wstring& directory, const std::wstring& pattern);
  bool IsDirectory() const;
  // The directory (with a trailing separator) plus the entry's name.
  std::wstring FullPath() const;
  const wchar_t* Name() const { return entry_.cFileName; }
  // Moves to the next entry; false at the end.
  bool Next();
  void Close();

 private:
  DirectoryFinder() = default;
  ~DirectoryFinder();
  DirectoryFinder(const DirectoryFinder&) = delete;
  DirectoryFinder& operator=(const DirectoryFinder&) = delete;

  std::wstring directory_;
  HANDLE search_ = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW entry_ = {};
};
