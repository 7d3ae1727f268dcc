#include "platform/process_list.h"

#include <tlhelp32.h>

#include "platform/file_time.h"
#include "platform/handle.h"

namespace {

using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);

constexpr DWORD kPathChars = 260;

// Calls `visit` for each entry of a fresh process snapshot until it returns
// false. False when no snapshot can be taken.
template <typename Visit>
bool WalkProcesses(Visit visit) {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
    if (!visit(entry)) break;
  return true;
}

UniqueHandle OpenForQuery(DWORD processId) {
  return UniqueHandle(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
}

}  // namespace

bool ListProcesses(const ProcessNamePredicate& accept, std::map<DWORD, std::wstring>* processes) {
  return WalkProcesses([&](const PROCESSENTRY32W& entry) {
    if (accept(entry.szExeFile)) (*processes)[entry.th32ProcessID] = entry.szExeFile;
    return true;
  });
}

bool ParentProcessId(DWORD processId, DWORD* parentId) {
  bool found = false;
  bool walked = WalkProcesses([&](const PROCESSENTRY32W& entry) {
    if (entry.th32ProcessID != processId) return true;
    *parentId = entry.th32ParentProcessID;
    found = true;
    return false;
  });
  return walked && found;
}

bool ProcessImagePath(DWORD processId, std::wstring* path) {
  UniqueHandle process = OpenForQuery(processId);
  if (!process) return false;
  // The extra character keeps the text terminated whatever a function writes.
  wchar_t text[kPathChars + 1] = {};
  LoadedLibrary kernel(L"kernel32");
  if (auto query = kernel.Find<QueryFullProcessImageNameFn>("QueryFullProcessImageNameW")) {
    DWORD size = kPathChars;
    if (!query(process.Get(), 0, text, &size)) return false;
  } else {
    auto moduleName = kernel.Find<GetModuleFileNameExFn>("K32GetModuleFileNameExW");
    LoadedLibrary psapi(L"Psapi");
    if (!moduleName) moduleName = psapi.Find<GetModuleFileNameExFn>("GetModuleFileNameExW");
    if (moduleName && !moduleName(process.Get(), nullptr, text, kPathChars)) return false;
  }
  *path = text;
  return true;
}

int64_t ProcessCreationTime(DWORD processId) {
  UniqueHandle process = OpenForQuery(processId);
  FILETIME creation, exit, kernel, user;
  if (!process || !GetProcessTimes(process.Get(), &creation, &exit, &kernel, &user)) return -1;
  return FileTimeToUnix(creation);
}
