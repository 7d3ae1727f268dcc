#pragma once
#include <string>

// The folder as the setup's /DIR switch takes it: without trailing
// separators, since a backslash before the closing quote would make the quote
// part of the path for the setup's command-line parser. A drive root keeps
// meaning the root ("D:\" becomes "D:\.", not "D:", which is the drive's
// current folder); an empty folder stays empty.
std::wstring SetupFolder(const std::wstring& folder);

// The command line that runs a package's setup silently into folder:
// "\"package\" /SILENT /VERYSILENT /SP- /noicons [-noexperience ]-nowelcome /DIR=\"folder\"",
// with -noexperience only when the user did not join the experience plan and
// the folder as SetupFolder gives it.
std::wstring SilentSetupCommand(const std::wstring& package, const std::wstring& folder, bool joinPlan);
