#include "download/setup_command.h"

std::wstring SetupFolder(const std::wstring& folder) {
  if (folder.empty()) return folder;
  std::wstring trimmed = folder;
  while (!trimmed.empty() && (trimmed.back() == L'\\' || trimmed.back() == L'/')) trimmed.pop_back();
  // Nothing but separators, or a bare drive: the root, written so that no
  // separator ends it.
  if (trimmed.empty()) return L"\\.";
  if (trimmed.size() == 2 && trimmed[1] == L':') return trimmed + L"\\.";
  return trimmed;
}

std::wstring SilentSetupCommand(const std::wstring& package, const std::wstring& folder, bool joinPlan) {
  return L"\"" + package + L"\"" + L" /SILENT /VERYSILENT /SP- /noicons " + (joinPlan ? L"" : L"-noexperience ") +
         L"-nowelcome " + L"/DIR=\"" + SetupFolder(folder) + L"\"";
}
