#include "sdk/crash_report.h"

#include <windows.h>
// dbghelp.h needs windows.h first.
#include <dbghelp.h>

#include <atomic>

#include "platform/handle.h"
#include "sdk/config.h"

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

std::atomic<QmxCrashCallback> g_callback{nullptr};
std::atomic<void*> g_context{nullptr};
std::atomic<void (*)(unsigned)> g_flush{nullptr};
std::atomic<bool> g_inFilter{false};

std::wstring WriteDump(EXCEPTION_POINTERS* info) {
  std::wstring path = LibraryFolder() + L"crash_" + std::to_wstring(GetTickCount()) + L"_" +
                      std::to_wstring(GetCurrentProcessId()) + L".dmp";
  HMODULE dbghelp = LoadLibraryW(L"dbghelp.dll");
  auto write =
      dbghelp
          ? reinterpret_cast<MiniDumpWriteDumpFn>(reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")))
          : nullptr;
  UniqueHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::wstring();
  if (write) {
    MINIDUMP_EXCEPTION_INFORMATION exception{GetCurrentThreadId(), info, FALSE};
    write(GetCurrentProcess(), GetCurrentProcessId(), file.Get(), MiniDumpNormal, &exception, nullptr, nullptr);
  }
  return path;
}

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
  // A second fault inside the report itself ends the process plainly.
  if (g_inFilter.exchange(true)) return EXCEPTION_EXECUTE_HANDLER;
  std::wstring path = WriteDump(info);
  if (QmxCrashCallback callback = g_callback.load()) callback(g_context.load(), path.c_str());
  if (auto flush = g_flush.load()) flush(2000);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void EnableCrashReport(QmxCrashCallback callback, void* context) {
  g_context = context;
  g_callback = callback;
  SetUnhandledExceptionFilter(CrashFilter);
}

void SetCrashFlush(void (*flush)(unsigned waitMs)) { g_flush = flush; }
