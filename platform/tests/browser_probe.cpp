// Opens an address the way the installer does at the end of an install, and
// writes the reported choice to a file:
//   browser_probe.exe URL-FILE PREFERRED-BROWSER RESULT-FILE
// URL-FILE holds the address in UTF-8, so that any text reaches the opener
// unchanged by command-line parsing.
// The result is "<launch type> <browser count> <browser names>" (UTF-8), or
// "-1 0 " when nothing was reported.
#include <windows.h>

#include <string>

#include "platform/browser.h"
#include "platform/text.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  BrowserReport seen;
  bool reported = false;
  std::string url;
  HANDLE urlFile = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (urlFile == INVALID_HANDLE_VALUE) return 1;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(urlFile, buffer, sizeof buffer, &read, nullptr) && read > 0) url.append(buffer, read);
  CloseHandle(urlFile);
  const int launch = OpenUrlInBrowser(Utf8ToWide(url), argv[2], [&](const BrowserReport& report) {
    seen = report;
    reported = true;
  });
  const std::string result = std::to_string(reported ? static_cast<int>(seen.launch) : launch) + " " +
                             std::to_string(seen.browserCount) + " " + WideToUtf8(seen.browserNames);
  HANDLE file = CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, result.data(), static_cast<DWORD>(result.size()), &written, nullptr);
  CloseHandle(file);
  return launch == -1 ? 3 : 0;
}
