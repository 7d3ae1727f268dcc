#pragma once
#include <string>

// The command line that runs a package's setup silently into folder:
// "\"package\" /SILENT /VERYSILENT /SP- /noicons [-noexperience ]-nowelcome /DIR=\"folder\"",
// with -noexperience only when the user did not join the experience plan.
std::wstring SilentSetupCommand(const std::wstring& package, const std::wstring& folder, bool joinPlan);
