#pragma once
#include <windows.h>

// An unnamed Win32 mutex guarding the data of the one object that embeds it.
// It is taken through CXMutexGuard for one scope. If the mutex could not be
// created the handle is null, waits fail at once and the code runs unguarded.
class CXMutex {
 public:
  CXMutex() : handle_(CreateMutexW(nullptr, FALSE, nullptr)) {}
  CXMutex(const CXMutex&) = delete;
  CXMutex& operator=(const CXMutex&) = delete;
  virtual ~CXMutex() {
    if (handle_) CloseHandle(handle_);
    handle_ = nullptr;
  }

  void Lock() { WaitForSingleObject(handle_, INFINITE); }
  void Unlock() { ReleaseMutex(handle_); }

 private:
  HANDLE handle_;
};

// Holds a CXMutex from construction to the end of the scope.
class CXMutexGuard {
 public:
  explicit CXMutexGuard(CXMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
  CXMutexGuard(const CXMutexGuard&) = delete;
  CXMutexGuard& operator=(const CXMutexGuard&) = delete;
  ~CXMutexGuard() { mutex_.Unlock(); }

 private:
  CXMutex& mutex_;
};
