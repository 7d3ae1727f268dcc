#include "platform/process_info.h"

#include <winternl.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kProcessInformationClass = 5;
constexpr ULONG kThreadWaiting = 5;
constexpr ULONG kWaitSuspended = 5;
// The query keeps growing with the process list; a few rounds always catch up.
constexpr int kQueryRounds = 16;

static_assert(sizeof(SYSTEM_PROCESS_INFORMATION) == (sizeof(void*) == 4 ? 184 : 256), "process record layout");
static_assert(sizeof(SYSTEM_THREAD_INFORMATION) == (sizeof(void*) == 4 ? 64 : 80), "thread record layout");

}  // namespace

cProcInfo::cProcInfo()
    : query_(reinterpret_cast<QueryFn>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"NtDll.dll"), "NtQuerySystemInformation")))) {}

cProcInfo::~cProcInfo() {
  if (buffer_) LocalFree(buffer_);
}

LONG cProcInfo::Query() {
  length_ = 0;
  if (!query_) return static_cast<LONG>(ERROR_PROC_NOT_FOUND);
  LONG status = kInfoLengthMismatch;
  for (int round = 0; round < kQueryRounds && status == kInfoLengthMismatch; ++round) {
    if (!buffer_) buffer_ = LocalAlloc(LMEM_FIXED, size_);
    if (!buffer_) return static_cast<LONG>(ERROR_NOT_ENOUGH_MEMORY);
    ULONG needed = 0;
    status = query_(kProcessInformationClass, buffer_, size_, &needed);
    if (status == kInfoLengthMismatch) {
      LocalFree(buffer_);
      buffer_ = nullptr;
      size_ = needed + 4000;
    } else if (status == 0) {
      length_ = needed && needed < size_ ? needed : size_;
    }
  }
  return status;
}

bool FindProcessSuspension(const void* records, size_t size, DWORD processId, bool* suspended) {
  const auto* bytes = static_cast<const uint8_t*>(records);
  // Every record must lie wholly inside the buffer before it is read.
  for (size_t offset = 0; offset + sizeof(SYSTEM_PROCESS_INFORMATION) <= size;) {
    SYSTEM_PROCESS_INFORMATION process;
    memcpy(&process, bytes + offset, sizeof process);
    if (static_cast<DWORD>(reinterpret_cast<uintptr_t>(process.UniqueProcessId)) == processId) {
      SYSTEM_THREAD_INFORMATION thread = {};
      size_t first = offset + sizeof process;
      bool hasThread = process.NumberOfThreads > 0 && first + sizeof thread <= size;
      if (hasThread) memcpy(&thread, bytes + first, sizeof thread);
      *suspended = hasThread && thread.ThreadState == kThreadWaiting && thread.WaitReason == kWaitSuspended;
      return true;
    }
    if (process.NextEntryOffset == 0) break;
    offset += process.NextEntryOffset;
  }
  return false;
}

bool IsProcessSuspended(DWORD processId, bool* suspended) {
  cProcInfo info;
  if (info.Query() != 0) return false;
  return FindProcessSuspension(info.Records(), info.RecordsSize(), processId, suspended);
}
