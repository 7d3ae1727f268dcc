// Stands in for a browser in the browser-choice tests. Copied under a
// browser's executable name. "--stay" keeps it running (at most ten minutes)
// as a browser the user has open; any other start appends its arguments to
// "<own path>.args", one per line, then a line "--".
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/text.h"

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wstring(argv[1]) == L"--stay") {
    Sleep(600000);
    return 0;
  }
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::string lines;
  for (int i = 1; i < argc; ++i) lines += WideToUtf8(argv[i]) + "\n";
  lines += "--\n";
  HANDLE file = CreateFileW((std::wstring(own) + L".args").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
