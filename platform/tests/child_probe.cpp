// A child for the process tests: child_probe EXIT_CODE SLEEP_MS [MARKER]
// sleeps, appends "pid flags show" to MARKER (how it was asked to show its
// window) and ends with EXIT_CODE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 99;
  Sleep(DWORD(atoi(argv[2])));
  if (argc > 3) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    if (FILE* marker = fopen(argv[3], "a")) {
      fprintf(marker, "%lu %lu %u\n", GetCurrentProcessId(), startup.dwFlags, startup.wShowWindow);
      fclose(marker);
    }
  }
  return atoi(argv[1]);
}
