#pragma once
#include <string>

namespace testing_files {

// A fresh empty folder under the temp folder (with a trailing backslash),
// removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

// The folder of the running test executable, with a trailing backslash.
std::wstring OwnFolder();

// Writes bytes to a new file; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The whole file, or "" when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

}  // namespace testing_files
