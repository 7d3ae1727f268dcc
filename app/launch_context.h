#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// What the installer learns about its own launch: its package name, the
// distribution channel, the program that started it and how long its own
// download took.
struct LaunchContext {
  std::string packageName;  // UTF-8
  std::string channel;      // at most 8 characters, may be empty
  std::wstring parentImagePath;
  std::string parentFileName;  // UTF-8
  uint32_t downloadTime = 0;   // seconds
};

// The file name of a full executable path, without its last four characters,
// as UTF-8.
std::string PackageNameFromPath(const std::wstring& exePath);

// The text after the first "_" (and after a "U" right behind it), cut to 8
// characters; empty when there is nothing after it.
std::string ChannelFromPackageName(const std::string& packageName);

// The channel that a four-part product version with 96..99 as its second part
// imposes; otherwise `channel` unchanged.
std::string ChannelFromProductVersion(const std::wstring& productVersion, const std::string& channel);

// The full image path of the process that started this one, or "".
std::wstring ParentProcessImagePath();

// The part of a path after its last backslash.
std::wstring FileNameOf(const std::wstring& path);

// Last write minus creation when the last write is later, else 0; the low 32
// bits of the difference.
uint32_t DownloadTimeFromTimes(int64_t creation, int64_t lastWrite);

// The download time of an open file; 0 when its times cannot be read.
uint32_t DownloadTimeOfFile(HANDLE file);

// The running executable's full path (up to 1023 characters).
std::wstring OwnExecutablePath();

// Whether the product's uninstall entry can be opened (only probed).
bool ProductUninstallEntryExists();

// The whole launch context of the running executable; `ownFile` is its own
// file opened for reading (its times give the download time).
LaunchContext ReadLaunchContext(HANDLE ownFile);
