#pragma once
#include <windows.h>

#include <string>

// Queries about the running Windows and its registry. None of them throws: a
// failure gives false or the empty result.

// Coarse Windows versions; the numbers are the codes the reports use.
enum class WindowsVersion {
  kXp = 0,     // 5.1
  kVista = 1,  // 6.0
  k7 = 2,      // 6.1 without a service pack
  k7Sp1 = 3,   // 6.1 with service pack 1 or later
  k8 = 4,      // 6.2 or 6.3 (8, 8.1)
  k10 = 5,     // true major version 10 (10 and 11)
  kOther = 6,  // anything else, or unreadable
};

// The version of the running Windows, worked out once per process. The version
// query answers 6.2 for 8.1 and later unless the program's manifest claims
// support for them, so from 6.2 on the true numbers of ntdll decide.
WindowsVersion WindowsVersionCode();

// True on 64-bit Windows (x64 or Itanium), also for this 32-bit process.
bool IsWindows64();

// The value `name` of root\subKey as text (whatever its type, at most 260
// characters, up to its first terminator); the 64-bit view of the registry
// when `view64` is set. Empty when the key or value cannot be read or the
// value is longer than 260 characters.
std::wstring ReadRegistryString(HKEY root, const std::wstring& subKey, const std::wstring& name, bool view64);

// The install folder that the uninstall entry `keyName` records: its
// "InstallLocation" (current user first, then the machine), else the folder
// of its "DisplayIcon". False when none of them is set.
bool UninstallLocation(const std::wstring& keyName, std::wstring* folder);
