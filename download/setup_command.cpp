#include "download/setup_command.h"

std::wstring SilentSetupCommand(const std::wstring& package, const std::wstring& folder, bool joinPlan) {
  return L"\"" + package + L"\"" + L" /SILENT /VERYSILENT /SP- /noicons " + (joinPlan ? L"" : L"-noexperience ") +
         L"-nowelcome " + L"/DIR=\"" + folder + L"\"";
}
