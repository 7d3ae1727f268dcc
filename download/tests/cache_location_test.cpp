#include "download/cache_location.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "download/work_folder.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"

namespace {

// Drives D: to G: are there only when drives_test.sh made them.
bool HaveTestDrives() { return getenv("VELORA_TEST_DRIVES") != nullptr; }

#define REQUIRE_TEST_DRIVES() \
  if (!HaveTestDrives()) GTEST_SKIP() << "run through drives_test.sh"

std::wstring AppData() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
  return path;
}

TEST(CacheLocation, CacheFolderIsMadeUnderTheRoamingAppData) {
  const std::wstring& folder = GetCacheFolder();
  EXPECT_EQ(folder, AppData() + L"\\VeloraPkg\\");
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_EQ(&GetCacheFolder(), &folder);
}

TEST(CacheLocation, FreeSpaceCountsOnlyFixedAndRemovableDrives) {
  REQUIRE_TEST_DRIVES();
  const uint64_t tib = uint64_t(1) << 40;
  EXPECT_GT(FreeSpaceOfPath(L"C:\\"), 0u);
  const uint64_t d = FreeSpaceOfPath(L"D:\\");
  EXPECT_GT(d, tib - (1 << 20));  // less the file on it
  EXPECT_LT(d, tib);
  EXPECT_EQ(FreeSpaceOfPath(L"E:\\"), d);
  EXPECT_EQ(FreeSpaceOfPath(L"D:\\not\\there\\yet"), d);
  EXPECT_EQ(FreeSpaceOfPath(L"D:"), d);
  EXPECT_EQ(FreeSpaceOfPath(L"F:\\"), 4 * tib);  // read-only, but room is room
  EXPECT_EQ(FreeSpaceOfPath(L"G:\\"), 0u);       // a CD-ROM drive
  EXPECT_EQ(FreeSpaceOfPath(L"Q:\\"), 0u);       // no such drive
  EXPECT_EQ(FreeSpaceOfPath(L"\\\\server\\share\\x"), 0u);
  EXPECT_EQ(FreeSpaceOfPath(L""), 0u);
  EXPECT_EQ(FreeSpaceOfPath(L"\\"), 0u);
}

TEST(CacheLocation, BestVolumeRootIsTheRoomiestWritableOne) {
  REQUIRE_TEST_DRIVES();
  // F: has more room but takes no folder; E: has as much as D: but comes
  // later.
  EXPECT_EQ(BestVolumeRoot(), L"D:\\");
  EXPECT_EQ(BestVolumeRootOf({L"E:\\", L"D:\\"}), L"E:\\");
  EXPECT_EQ(BestVolumeRootOf({L"C:\\", L"G:\\"}), L"C:\\");
  // Nothing qualifies: the cache folder.
  EXPECT_EQ(BestVolumeRootOf({L"F:\\", L"G:\\"}), GetCacheFolder());
  EXPECT_EQ(BestVolumeRootOf({}), GetCacheFolder());
  // The probe leaves no folder behind, and D:'s own VeloraPkg (checked by the
  // script) stays.
  EXPECT_FALSE(DirectoryExists(L"E:\\VeloraPkg"));
  EXPECT_FALSE(DirectoryExists(L"F:\\VeloraPkg"));
  EXPECT_TRUE(FileExists(L"D:\\VeloraPkg\\keep.txt"));
}

// Stand-ins for the system call that lists a volume's mount paths.
struct Fake {
  static BOOL WINAPI Fits(LPCWSTR, LPWCH buffer, DWORD, PDWORD needed) {
    ++calls;
    wmemcpy(buffer, L"C:\\\0D:\\mnt\\\0", 12);
    *needed = 12;
    return TRUE;
  }
  // Names a size that is larger than the first buffer, then fits it.
  static BOOL WINAPI FitsTheSecondTime(LPCWSTR, LPWCH buffer, DWORD size, PDWORD needed) {
    ++calls;
    *needed = 600;
    if (size < 600) {
      SetLastError(ERROR_MORE_DATA);
      return FALSE;
    }
    std::wstring list = std::wstring(280, L'x') + L'\0' + L"E:\\" + L'\0' + L'\0';
    wmemcpy(buffer, list.data(), list.size());
    return TRUE;
  }
  static BOOL WINAPI NeverFits(LPCWSTR, LPWCH, DWORD size, PDWORD needed) {
    ++calls;
    *needed = size + 100;
    SetLastError(ERROR_MORE_DATA);
    return FALSE;
  }
  // Claims more data but names no larger size.
  static BOOL WINAPI SameSize(LPCWSTR, LPWCH, DWORD size, PDWORD needed) {
    ++calls;
    *needed = size;
    SetLastError(ERROR_MORE_DATA);
    return FALSE;
  }
  static BOOL WINAPI Fails(LPCWSTR, LPWCH, DWORD, PDWORD) {
    ++calls;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  static inline int calls = 0;
};

TEST(CacheLocation, MountPathListsThatDoNotFit) {
  const struct {
    VolumePathNamesFn query;
    std::vector<std::wstring> paths;
    int calls;
  } cases[] = {
      {&Fake::Fits, {L"C:\\", L"D:\\mnt\\"}, 1},
      {&Fake::FitsTheSecondTime, {std::wstring(280, L'x'), L"E:\\"}, 2},
      {&Fake::NeverFits, {}, 2},
      {&Fake::SameSize, {}, 1},
      {&Fake::Fails, {}, 1},
  };
  for (const auto& c : cases) {
    Fake::calls = 0;
    EXPECT_EQ(MountPathsOf(L"\\\\?\\Volume{x}\\", c.query), c.paths);
    EXPECT_EQ(Fake::calls, c.calls);
  }
}

TEST(CacheLocation, RealVolumesListTheirDrives) {
  std::vector<std::wstring> paths = AllMountPaths();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front(), L"C:\\");
  if (HaveTestDrives()) {
    std::vector<std::wstring> letters(paths.begin(), paths.begin() + 5);
    EXPECT_EQ(letters, (std::vector<std::wstring>{L"C:\\", L"D:\\", L"E:\\", L"F:\\", L"G:\\"}));
  }
}

TEST(CacheLocation, DefaultInstallLocation) {
  REQUIRE_TEST_DRIVES();
  wchar_t programFiles[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programFiles);
  const uint64_t c = FreeSpaceOfPath(L"C:\\"), d = FreeSpaceOfPath(L"D:\\");
  ASSERT_LT(c, d / 2);
  const struct {
    uint64_t required;
    std::wstring location;
  } cases[] = {
      {kDefaultOriginSize, programFiles},
      {d / 2, L"D:\\"},  // Program Files' drive is too small
      {d - 1, L"D:\\"},
      {d, L""},  // exactly as much room is not enough
      {4 * d, L""},
  };
  for (const auto& k : cases) EXPECT_EQ(DefaultInstallLocation(k.required), k.location) << k.required;
}

std::map<std::string, std::string> RunProbe(const std::wstring& output) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.resize(folder.rfind(L'\\') + 1);
  std::wstring command = L"\"" + folder + L"work_folder_probe.exe\" " + output;
  {
    CCorvixBasedProcess probe(command);
    EXPECT_TRUE(probe.Launch());
  }
  std::map<std::string, std::string> values;
  FILE* file = _wfopen(output.c_str(), L"r");
  char text[512];
  while (file && fgets(text, sizeof text, file)) {
    std::string line(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  if (file) fclose(file);
  return values;
}

TEST(WorkFolder, MadeBeforeMainAndRemovedAtExit) {
  REQUIRE_TEST_DRIVES();
  const std::wstring& mine = GetWorkFolder();
  ASSERT_EQ(mine.compare(0, 13, L"D:\\VeloraPkg_"), 0) << WideToUtf8(mine);
  EXPECT_EQ(mine.back(), L'\\');
  int64_t started = StringToInt64(WideToUtf8(mine.substr(13)));
  EXPECT_LE(started, CurrentUnixTime());
  EXPECT_GT(started, CurrentUnixTime() - 600);
  EXPECT_TRUE(DirectoryExists(mine));

  // Another run, started in a later second, makes its own folder, has it
  // while it runs, and removes it with what it holds.
  while (CurrentUnixTime() <= started) Sleep(50);
  std::wstring output = L"C:\\work_folder_probe.txt";  // no spaces: one argument
  auto seen = RunProbe(output);
  std::wstring theirs = Utf8ToWide(seen["work"]);
  EXPECT_EQ(theirs.compare(0, 13, L"D:\\VeloraPkg_"), 0) << seen["work"];
  EXPECT_EQ(seen["exists"], "1");
  EXPECT_EQ(seen["filled"], "1");
  EXPECT_FALSE(DirectoryExists(theirs));
  EXPECT_TRUE(DirectoryExists(mine));
  DeleteFileW(output.c_str());
}

TEST(WorkFolder, NeverSharedWithACopyStartedInTheSameSecond) {
  REQUIRE_TEST_DRIVES();
  // Folders of "another copy" for the next seconds, with a file inside.
  int64_t now = CurrentUnixTime();
  std::vector<std::wstring> others;
  for (int64_t t = now; t < now + 8; ++t) {
    std::wstring folder = L"D:\\VeloraPkg_" + AnsiToWide(Int64ToString(t));
    if (DirectoryExists(folder)) continue;  // this test's own
    ASSERT_TRUE(CreateDirectories(folder));
    HANDLE file = CreateFileW((folder + L"\\in-use.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    others.push_back(folder);
  }
  std::wstring output = L"C:\\work_folder_probe_same.txt";
  auto seen = RunProbe(output);
  EXPECT_EQ(seen["work"], "");
  EXPECT_EQ(seen["exists"], "0");
  for (const std::wstring& folder : others) {
    EXPECT_TRUE(FileExists(folder + L"\\in-use.png")) << WideToUtf8(folder);
    RemoveTree(folder);
  }
  DeleteFileW(output.c_str());
}

}  // namespace
