#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Where the installer keeps its files, and how much room a drive has.

// The per-user cache folder: the roaming application-data folder plus
// "VeloraPkg\", made on first use and kept for the run; "" (and asked again
// next time) when the application-data folder is unknown.
const std::wstring& GetCacheFolder();

// The folders inside a cache folder: the product's data folder
// ("VELORADATA\", with config.ini and the package) and the SDK folder
// ("Qmx\"); "" for an empty cache folder.
std::wstring DataFolderIn(const std::wstring& cacheFolder);
std::wstring SdkFolderIn(const std::wstring& cacheFolder);

// Gives the logger the run's work folder and the SDK folder of the cache
// folder. Called at the start of a process, before the first GetLogger.
void HandFoldersToLogger();

// Bytes available to this user on the removable or fixed drive that holds the
// path; 0 for any other kind of drive or when it cannot be read.
uint64_t FreeSpaceOfPath(const std::wstring& path);

// The writable volume root (ending in '\') with the most free space; else the
// cache folder; else the system drive's root; else "".
std::wstring BestVolumeRoot();

// The same choice among the given mount paths, in their order; the first of
// equally roomy roots wins.
std::wstring BestVolumeRootOf(const std::vector<std::wstring>& mountPaths);

// The mount paths of every volume, in enumeration order.
std::vector<std::wstring> AllMountPaths();

// The mount paths of one volume ("\\?\Volume{...}\"). A list that does not fit
// the first buffer is asked for once more with the size the system names;
// when that fails too the volume is skipped. `query` is the system call.
using VolumePathNamesFn = BOOL(WINAPI*)(LPCWSTR, LPWCH, DWORD, PDWORD);
std::vector<std::wstring> MountPathsOf(const std::wstring& volume,
                                       VolumePathNamesFn query = GetVolumePathNamesForVolumeNameW);
