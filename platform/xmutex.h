#pragma once
#include <windows.h>

// An unnamed Win32 mutex guarding the data of the one object that embeds it.
// Lock and Unlock are paired by hand at each access. If the mutex could not
// be created the handle is null, waits fail at once and the code runs
// unguarded.
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

// Holds a CXMutex for one scope.
class XMutexLock {
 public:
  explicit XMutexLock(CXMutex& mutex) : mutex_(mutex) { mutex_.Lock(); }
  XMutexLock(const XMutexLock&) = delete;
  XMutexLock& operator=(const XMutexLock&) = delete;
  ~XMutexLock() { mutex_.Unlock(); }

 private:
  CXMutex& mutex_;
};
