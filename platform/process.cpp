#include "platform/process.h"

CCorvixBasedProcess::~CCorvixBasedProcess() {
  if (process_ && waitOnDestroy_) WaitForSingleObject(process_.Get(), INFINITE);
  process_.Reset();
  thread_.Reset();
}

bool CCorvixBasedProcess::Launch() {
  if (process_) return true;
  STARTUPINFOW startup = {};
  GetStartupInfoW(&startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  // CreateProcessW may write into the command line; it gets a copy.
  std::wstring writable = commandLine_;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    launchError_ = GetLastError();
    return false;
  }
  launchError_ = 0;
  process_.Reset(started.hProcess);
  thread_.Reset(started.hThread);
  return true;
}

bool CCorvixBasedProcess::IsRunning() const {
  return process_ && WaitForSingleObject(process_.Get(), 1) == WAIT_TIMEOUT;
}
