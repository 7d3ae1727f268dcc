#include "tools/setup_options.h"

#include <windows.h>

#include <shellapi.h>

SetupOptions ParseSetupOptions(const wchar_t* commandLine) {
  SetupOptions options;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(commandLine, &count);
  if (!args) return options;
  for (int i = 1; i < count; ++i) {
    std::wstring arg = args[i];
    if (_wcsicmp(arg.c_str(), L"/SILENT") == 0) options.silent = true;
    if (_wcsicmp(arg.c_str(), L"/VERYSILENT") == 0) options.verySilent = true;
    if (_wcsicmp(arg.c_str(), L"-noexperience") == 0) options.noExperience = true;
    if (_wcsicmp(arg.c_str(), L"-nowelcome") == 0) options.noWelcome = true;
    // The quotes around the folder are gone once the line is split.
    if (arg.size() > 5 && _wcsnicmp(arg.c_str(), L"/DIR=", 5) == 0) options.dir = arg.substr(5);
  }
  LocalFree(args);
  return options;
}
