// A stand-in for a package's setup: writes its command line (UTF-16) to its
// own path plus ".cmdline" and exits with the number that follows "exit" in
// its own file name, 0 when there is none.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain() {
  wchar_t own[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  const std::wstring path(own, length);
  const std::wstring record = path + L".cmdline";
  HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const wchar_t* line = GetCommandLineW();
    DWORD written = 0;
    WriteFile(file, line, DWORD(wcslen(line) * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  const size_t at = path.rfind(L"exit");
  return at == std::wstring::npos ? 0 : _wtoi(path.c_str() + at + 4);
}
