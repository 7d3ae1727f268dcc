#pragma once
// Runs copies of the launch probe and reads what they print.
#include <windows.h>

#include <map>
#include <string>

namespace probe {

// The folder of the running test executable, with a trailing backslash.
std::wstring OwnFolder();

// A fresh empty folder under the temp folder, removed with its files.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

// Runs the executable and returns its "key=value" lines; "exit" holds the exit
// code and is missing when it could not be started.
std::map<std::string, std::string> Run(const std::wstring& exe);

}  // namespace probe
