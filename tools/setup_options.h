#pragma once
#include <string>

// The switches the installer passes to the product's setup program:
// "/SILENT /VERYSILENT /SP- /noicons [-noexperience ]-nowelcome /DIR="folder"".
struct SetupOptions {
  bool silent = false;
  bool verySilent = false;
  bool noExperience = false;
  bool noWelcome = false;
  std::wstring dir;
};

// Reads a whole command line (the program's own path first); switches are
// matched without regard to case, unknown ones are ignored.
SetupOptions ParseSetupOptions(const wchar_t* commandLine);
