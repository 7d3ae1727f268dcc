#pragma once
#include <windows.h>

#include <cstddef>

// The system's process information (one record per process with its threads),
// as ntdll's query gives it.
class cProcInfo {
 public:
  cProcInfo();
  cProcInfo(const cProcInfo&) = delete;
  cProcInfo& operator=(const cProcInfo&) = delete;
  virtual ~cProcInfo();

  // Takes a fresh snapshot, growing the buffer until it fits. 0 on success;
  // otherwise the query's status, or the system error code when ntdll has no
  // such query.
  LONG Query();
  // The records of the last successful query.
  const void* Records() const { return buffer_; }
  size_t RecordsSize() const { return length_; }

 private:
  using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

  QueryFn query_;
  void* buffer_ = nullptr;
  ULONG size_ = 1000;
  ULONG length_ = 0;
};

// Looks the process up in `size` bytes of process records; false when it is
// not there. `suspended` is true when its first thread waits because it is
// suspended.
bool FindProcessSuspension(const void* records, size_t size, DWORD processId, bool* suspended);

// Whether the process is suspended, from a fresh snapshot. False when the
// snapshot fails or the process is not in it.
bool IsProcessSuspended(DWORD processId, bool* suspended);
