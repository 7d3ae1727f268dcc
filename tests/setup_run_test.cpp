// Runs the finished installer the way a user's browser would start it and
// looks at what it leaves: the settings file and the run's work folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/product.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include "download/cache_location.h"
#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/handle.h"
#include "platform/process.h"
#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::OwnFolder;
using testing_files::ReadFileBytes;
using testing_files::TempFolder;
using testing_files::WriteFileBytes;

// Folders added to and removed from one directory while it is watched.
class FolderWatch {
 public:
  explicit FolderWatch(const std::wstring& directory)
      : directory_(directory),
        handle_(CreateFileW(directory.c_str(), FILE_LIST_DIRECTORY,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
        event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    Arm();
  }
  ~FolderWatch() {
    if (handle_) CancelIo(handle_.Get());
  }
  bool Watching() const { return armed_; }

  // Collects what was reported until nothing more comes for a while.
  void Drain() {
    while (armed_ && WaitForSingleObject(event_.Get(), 500) == WAIT_OBJECT_0) {
      DWORD got = 0;
      if (!GetOverlappedResult(handle_.Get(), &overlapped_, &got, FALSE)) break;
      for (size_t at = 0; got > 0;) {
        auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(buffer_ + at);
        std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (info->Action == FILE_ACTION_ADDED) added.insert(name);
        if (info->Action == FILE_ACTION_REMOVED) removed.insert(name);
        if (!info->NextEntryOffset) break;
        at += info->NextEntryOffset;
      }
      Arm();
    }
  }

  std::set<std::wstring> added, removed;

 private:
  void Arm() {
    ResetEvent(event_.Get());
    overlapped_ = {};
    overlapped_.hEvent = event_.Get();
    armed_ = handle_ && ReadDirectoryChangesW(handle_.Get(), buffer_, sizeof buffer_, FALSE,
                                              FILE_NOTIFY_CHANGE_DIR_NAME, nullptr, &overlapped_, nullptr);
  }

  std::wstring directory_;
  UniqueHandle handle_;
  UniqueHandle event_;
  OVERLAPPED overlapped_ = {};
  alignas(DWORD) char buffer_[16384];
  bool armed_ = false;
};

std::wstring SetupExe() { return OwnFolder() + L"..\\velora_setup.exe"; }

std::wstring ConfigFile() { return GetCacheFolder() + L"VELORADATA\\config.ini"; }

// The keys of section "General" with their values.
std::map<std::wstring, std::wstring> GeneralSection(const std::wstring& file) {
  std::vector<wchar_t> text(32768);
  DWORD length = GetPrivateProfileSectionW(L"General", text.data(), DWORD(text.size()), file.c_str());
  std::map<std::wstring, std::wstring> keys;
  for (const wchar_t* at = text.data(); at < text.data() + length && *at; at += wcslen(at) + 1) {
    std::wstring line(at);
    size_t eq = line.find(L'=');
    keys[line.substr(0, eq)] = eq == std::wstring::npos ? L"" : line.substr(eq + 1);
  }
  return keys;
}

DWORD RunToEnd(const std::wstring& commandLine) {
  CCorvixBasedProcess process(commandLine);
  if (!process.Launch()) return DWORD(-1);
  while (process.IsRunning()) Sleep(20);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(process.ProcessHandle(), &code);
  return code;
}

// Runs the installer and ends it as its user would: a close of its window,
// then "确认" on the cancel-confirm prompt, clicked at the button's centre
// (tests/window_test.sh clicks the same with the real mouse).
DWORD RunInstallerToEnd(const std::wstring& exe) {
  // This test program has a work folder of its own (it links the logger),
  // named after the second it started in; a copy started in that same second
  // would rightly refuse to share it and run without one, so without its skin.
  for (int64_t now = CurrentUnixTime(); CurrentUnixTime() == now;) Sleep(20);
  CCorvixBasedProcess process(L"\"" + exe + L"\"");
  if (!process.Launch()) return DWORD(-1);
  // Every second until the installer has ended: a close of the visible
  // window, or the click on the open prompt. The bound only catches a hang
  // (a message box nobody answers, say).
  for (int tick = 0; process.IsRunning(); ++tick, Sleep(20)) {
    if (tick == 6000) {
      TerminateProcess(process.ProcessHandle(), 1);
      ADD_FAILURE() << "the installer did not end within two minutes";
      break;
    }
    if (tick % 50 != 49) continue;
    HWND prompt = FindWindowW(L"BeginChildCloseWnd", nullptr);
    if (prompt && IsWindowVisible(prompt)) {
      RECT client;
      GetClientRect(prompt, &client);
      // "确认": the centre of the first button, 250 x 164 of the 400 x 200 prompt.
      const LPARAM at = MAKELPARAM(client.right * 250 / 400, client.bottom * 164 / 200);
      PostMessageW(prompt, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(prompt, WM_LBUTTONUP, 0, at);
      continue;
    }
    HWND main = FindWindowW(product::kMainWindowClass, nullptr);
    if (main && IsWindowVisible(main)) PostMessageW(main, WM_CLOSE, 0, 0);
  }
  DWORD code = DWORD(-1);
  GetExitCodeProcess(process.ProcessHandle(), &code);
  return code;
}

std::map<std::string, std::string> RunSettingsProbe() {
  std::wstring output = L"C:\\settings_probe.txt";
  DeleteFileW(output.c_str());
  EXPECT_EQ(RunToEnd(L"\"" + OwnFolder() + L"settings_probe.exe\" " + output), 0u);
  std::map<std::string, std::string> values;
  std::string text = ReadFileBytes(output);
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    at = end == std::string::npos ? text.size() : end + 1;
  }
  DeleteFileW(output.c_str());
  return values;
}

TEST(SetupRun, FirstRunWritesTheSettingsAndCleansItsWorkFolder) {
  RemoveTree(GetCacheFolder() + L"VELORADATA");
  TempFolder downloads;
  std::wstring exe = downloads.Path() + L"velora_setup_ab12cd34ef.exe";
  ASSERT_TRUE(CopyFileW(SetupExe().c_str(), exe.c_str(), FALSE));

  std::vector<std::unique_ptr<FolderWatch>> watches;
  for (const std::wstring& root : AllMountPaths())
    if (FreeSpaceOfPath(root) > 0) watches.push_back(std::make_unique<FolderWatch>(root));
  ASSERT_FALSE(watches.empty());
  for (const auto& watch : watches) ASSERT_TRUE(watch->Watching());

  int64_t before = CurrentUnixTime();
  EXPECT_EQ(RunInstallerToEnd(exe), 0u);
  int64_t after = CurrentUnixTime();

  // The work folder: made on one root during the run, gone after it.
  std::vector<std::wstring> made;
  for (size_t i = 0; i < watches.size(); ++i) {
    watches[i]->Drain();
    for (const std::wstring& name : watches[i]->added) {
      if (name.compare(0, 10, L"VeloraPkg_") != 0) continue;
      made.push_back(name);
      int64_t stamp = StringToInt64(WideToUtf8(name.substr(10)));
      EXPECT_GE(stamp, before - 1);
      EXPECT_LE(stamp, after);
      EXPECT_EQ(watches[i]->removed.count(name), 1u) << WideToUtf8(name);
    }
    // A root's writability probe leaves nothing either.
    if (watches[i]->added.count(L"VeloraPkg")) {
      EXPECT_EQ(watches[i]->removed.count(L"VeloraPkg"), 1u);
    }
  }
  ASSERT_EQ(made.size(), 1u);
  for (const std::wstring& root : AllMountPaths()) EXPECT_FALSE(DirectoryExists(root + made[0]));

  ASSERT_TRUE(FileExists(ConfigFile()));
  auto general = GeneralSection(ConfigFile());
  EXPECT_EQ(general.count(L"md5"), 1u);
  EXPECT_EQ(general[L"md5"], L"");
  EXPECT_EQ(general.count(L"path"), 1u);
  EXPECT_EQ(general[L"path"], L"");
  int64_t begin = StringToInt64(WideToUtf8(general[L"begin_timestamp"]));
  EXPECT_GE(begin, before);
  EXPECT_LE(begin, after);
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(CompareStringOrdinal(general[L"launch_appname"].c_str(), -1, self, -1, TRUE), CSTR_EQUAL)
      << WideToUtf8(general[L"launch_appname"]);
  EXPECT_EQ(general.size(), 4u);
}

TEST(SetupRun, ALaterRunTakesBackOnlyAnUnchangedPackage) {
  // A first run makes the file; then a package is "downloaded" and recorded.
  TempFolder downloads;
  ASSERT_EQ(RunInstallerToEnd(SetupExe()), 0u);
  std::wstring package = GetCacheFolder() + L"VELORADATA\\install.exe";
  std::string bytes(300000, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + i / 251);
  ASSERT_TRUE(WriteFileBytes(package, bytes));
  std::wstring md5 = AnsiToWide(Md5OfFile(package));
  WritePrivateProfileStringW(L"General", L"md5", md5.c_str(), ConfigFile().c_str());
  WritePrivateProfileStringW(L"General", L"path", package.c_str(), ConfigFile().c_str());
  const std::string recorded = ReadFileBytes(ConfigFile());

  auto seen = RunSettingsProbe();
  EXPECT_EQ(seen["md5"], WideToUtf8(md5));
  EXPECT_EQ(seen["path"], WideToUtf8(package));
  EXPECT_EQ(Utf8ToWide(seen["file"]), ConfigFile());
  EXPECT_EQ(ReadFileBytes(ConfigFile()), recorded);

  bytes[123456] ^= 1;
  ASSERT_TRUE(WriteFileBytes(package, bytes));
  seen = RunSettingsProbe();
  EXPECT_EQ(seen["md5"], "");
  EXPECT_EQ(seen["path"], "");
  EXPECT_EQ(ReadFileBytes(ConfigFile()), recorded);
  // The installer itself leaves the stale pair alone too.
  ASSERT_EQ(RunInstallerToEnd(SetupExe()), 0u);
  auto general = GeneralSection(ConfigFile());
  EXPECT_EQ(general[L"md5"], md5);
  EXPECT_EQ(general[L"path"], package);
  DeleteFileW(package.c_str());
}

}  // namespace
