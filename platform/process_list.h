#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// Queries about running processes. None of them throws: a failure gives false
// or the sentinel named below.

// Decides on an executable file name (no path) whether a process counts.
using ProcessNamePredicate = std::function<bool(const std::wstring& exeName)>;

// Every running process whose executable file name satisfies `accept`, as
// process id to file name (as the process snapshot gives it). False when no
// snapshot can be taken.
bool ListProcesses(const ProcessNamePredicate& accept, std::map<DWORD, std::wstring>* processes);

// The id of the process that started `processId`. False when there is no such
// process or no snapshot.
bool ParentProcessId(DWORD processId, DWORD* parentId);

// The full image path of the process, at most 259 characters (a longer path
// fails). False when the process cannot be opened for query and read or the
// path cannot be read.
bool ProcessImagePath(DWORD processId, std::wstring* path);

// When the process was started, in seconds since 1970-01-01 UTC; -1 when it
// cannot be opened or its times read.
int64_t ProcessCreationTime(DWORD processId);
