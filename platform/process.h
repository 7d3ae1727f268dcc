#pragma once
#include <windows.h>

#include <string>

#include "platform/handle.h"

// A child process started hidden from a full command line (the quoted
// executable path first). Destroying the wrapper while the child runs waits
// until the child has exited.
class CCorvixBasedProcess {
 public:
  explicit CCorvixBasedProcess(const std::wstring& commandLine) : commandLine_(commandLine) {}
  CCorvixBasedProcess(const CCorvixBasedProcess&) = delete;
  CCorvixBasedProcess& operator=(const CCorvixBasedProcess&) = delete;
  virtual ~CCorvixBasedProcess();

  // Starts the child once; true when it runs or ran. A second call starts
  // nothing and returns true.
  bool Launch();
  // The system's error code of the last Launch that failed, 0 otherwise.
  DWORD LaunchError() const { return launchError_; }
  // Null until launched. Its exit code can be read once IsRunning is false.
  HANDLE ProcessHandle() const { return process_.Get(); }
  // Launched, and a 1 ms wait on the child times out.
  bool IsRunning() const;

 private:
  bool waitOnDestroy_ = true;
  DWORD launchError_ = 0;
  UniqueHandle process_;
  UniqueHandle thread_;
  std::wstring commandLine_;
};
