#include "platform/process.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::ReadFileBytes;
using testing_files::TempFolder;

std::wstring ChildCommand(int code, int sleepMs, const std::wstring& marker = L"") {
  std::wstring line = L"\"" + testing_files::OwnFolder() + L"child_probe.exe\" " + std::to_wstring(code) + L" " +
                      std::to_wstring(sleepMs);
  if (!marker.empty()) line += L" \"" + marker + L"\"";
  return line;
}

DWORD WaitForExit(const CCorvixBasedProcess& process) {
  while (process.IsRunning()) Sleep(10);
  DWORD code = 12345;
  GetExitCodeProcess(process.ProcessHandle(), &code);
  return code;
}

std::vector<std::string> Lines(const std::wstring& path) {
  std::vector<std::string> lines;
  std::istringstream text(ReadFileBytes(path));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

TEST(Process, ExitCodesOfTheChild) {
  for (int code : {0, 3, 250}) {
    CCorvixBasedProcess process(ChildCommand(code, 0));
    EXPECT_FALSE(process.IsRunning());
    ASSERT_TRUE(process.Launch());
    EXPECT_EQ(WaitForExit(process), DWORD(code));
  }
}

TEST(Process, LaunchTwiceStartsOneHiddenChild) {
  TempFolder folder;
  std::wstring marker = folder.Path() + L"marker.txt";
  {
    CCorvixBasedProcess process(ChildCommand(5, 200, marker));
    EXPECT_TRUE(process.Launch());
    HANDLE first = process.ProcessHandle();
    EXPECT_TRUE(process.IsRunning());
    EXPECT_TRUE(process.Launch());
    EXPECT_EQ(process.ProcessHandle(), first);
    EXPECT_EQ(WaitForExit(process), 5u);
    EXPECT_TRUE(process.Launch());  // still the same, finished child
  }
  std::vector<std::string> lines = Lines(marker);
  ASSERT_EQ(lines.size(), 1u);
  std::istringstream fields(lines[0]);
  unsigned long pid = 0, flags = 0;
  unsigned show = 99;
  fields >> pid >> flags >> show;
  EXPECT_EQ(flags, static_cast<unsigned long>(STARTF_USESHOWWINDOW));
  EXPECT_EQ(show, unsigned(SW_HIDE));
}

TEST(Process, DestroyingWaitsForARunningChild) {
  TempFolder folder;
  std::wstring marker = folder.Path() + L"late.txt";
  auto* process = new CCorvixBasedProcess(ChildCommand(0, 700, marker));
  ASSERT_TRUE(process->Launch());
  delete process;
  EXPECT_EQ(Lines(marker).size(), 1u);  // written just before the child ended

  auto* finished = new CCorvixBasedProcess(ChildCommand(0, 0));
  ASSERT_TRUE(finished->Launch());
  WaitForExit(*finished);
  delete finished;  // returns at once
}

TEST(Process, ALaunchThatFailsKeepsNoHandles) {
  TempFolder folder;
  CCorvixBasedProcess process(L"\"" + folder.Path() + L"no_such_program.exe\" 1");
  EXPECT_FALSE(process.Launch());
  EXPECT_EQ(process.ProcessHandle(), nullptr);
  EXPECT_FALSE(process.IsRunning());
}

}  // namespace
