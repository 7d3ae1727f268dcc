#include "app/launch_context.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/tests/probe.h"
#include "common/product.h"
#include "platform/file_stream.h"
#include "platform/text.h"

namespace {

TEST(LaunchContext, PackageNameAndChannelFromFileName) {
  const struct {
    const wchar_t* path;
    const char* package;
    const char* channel;
  } cases[] = {
      {L"C:\\Downloads\\setup_ab12cd34ef.exe", "setup_ab12cd34ef", "ab12cd34"},
      {L"C:\\Downloads\\setup_Uxyz.exe", "setup_Uxyz", "xyz"},
      {L"C:\\Downloads\\setup_.exe", "setup_", ""},
      {L"C:\\Downloads\\setup.exe", "setup", ""},
      {L"C:\\Downloads\\setup_U.exe", "setup_U", ""},
      {L"C:\\Downloads\\setup_u1.exe", "setup_u1", "u1"},  // only an upper-case U is skipped
      {L"C:\\d\\velora_setup_ab12cd34ef.exe", "velora_setup_ab12cd34ef", "setup_ab"},  // the first underscore counts
      {L"C:\\d\\setup_abcdefgh.exe", "setup_abcdefgh", "abcdefgh"},
      {L"C:\\d\\setup_Uabcdefghij.exe", "setup_Uabcdefghij", "abcdefgh"},
      {L"C:\\d.x\\setup_a.bin", "setup_a", "a"},
      {L"C:\\d\\\u5b89\u88c5_q.exe", "\xe5\xae\x89\xe8\xa3\x85_q", "q"},
  };
  for (const auto& c : cases) {
    std::string package = PackageNameFromPath(c.path);
    EXPECT_EQ(package, c.package) << WideToUtf8(c.path);
    EXPECT_EQ(ChannelFromPackageName(package), c.channel) << WideToUtf8(c.path);
  }
}

TEST(LaunchContext, ChannelFromProductVersion) {
  const struct {
    const wchar_t* version;
    const char* channel;
  } cases[] = {
      {L"3.96.0.1", "redidez0"}, {L"3.97.0.1", "duva3600"}, {L"3.98.7.7", "rirudor0"},  {L"1.99.0.0", "voziro00"},
      {L"3.97.1", "file"},       {L"3.95.0.1", "file"},     {L"3.100.0.1", "file"},     {L"", "file"},
      {L"3.x.0.1", "file"},      {L"3.97.0.1.5", "file"},   {L"3..97.0.1", "duva3600"},  // empty pieces vanish
  };
  for (const auto& c : cases)
    EXPECT_EQ(ChannelFromProductVersion(c.version, "file"), c.channel) << WideToUtf8(c.version);
}

TEST(LaunchContext, DownloadTimeFromTimes) {
  EXPECT_EQ(DownloadTimeFromTimes(1000, 1042), 42u);
  EXPECT_EQ(DownloadTimeFromTimes(1042, 1042), 0u);
  EXPECT_EQ(DownloadTimeFromTimes(1042, 1000), 0u);
  EXPECT_EQ(DownloadTimeFromTimes(0, (int64_t(1) << 32) + 5), 5u);  // only the low 32 bits
}

FILETIME UnixToFileTime(int64_t seconds) {
  uint64_t ticks = uint64_t(seconds) * 10000000 + 116444736000000000ULL;
  return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

void SetTimes(const std::wstring& path, int64_t creation, int64_t lastWrite) {
  HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  FILETIME c = UnixToFileTime(creation), w = UnixToFileTime(lastWrite);
  ASSERT_TRUE(SetFileTime(file, &c, nullptr, &w));
  CloseHandle(file);
}

// Wine cannot keep a creation time on a Linux file system: it reports the
// earlier of the change and modification times, so a file there is never
// last written after its creation and its download time is 0. The positive
// case is covered by DownloadTimeFromTimes; here the real times are read and
// converted.
TEST(LaunchContext, DownloadTimeOfFilesWithSetTimes) {
  probe::TempFolder folder;
  std::wstring path = folder.Path() + L"setup.exe";
  CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  SetTimes(path, 1700000000, 1700000093);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  FILETIME creation, access, write;
  ASSERT_TRUE(GetFileTime(file, &creation, &access, &write));
  EXPECT_EQ(FileTimeToUnixSeconds(write), 1700000093);
  EXPECT_EQ(DownloadTimeOfFile(file),
            DownloadTimeFromTimes(FileTimeToUnixSeconds(creation), FileTimeToUnixSeconds(write)));
  CloseHandle(file);
  SetTimes(path, 1700000093, 1700000000);  // last written before its creation
  file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(DownloadTimeOfFile(file), 0u);
  CloseHandle(file);
  EXPECT_EQ(DownloadTimeOfFile(INVALID_HANDLE_VALUE), 0u);
}

// Copies a probe under another name into a temp folder, runs it there and
// returns what it saw.
std::map<std::string, std::string> RunProbeAs(const probe::TempFolder& folder, const wchar_t* probeName,
                                              const wchar_t* fileName) {
  std::wstring copy = folder.Path() + fileName;
  EXPECT_TRUE(CopyFileW((probe::OwnFolder() + probeName).c_str(), copy.c_str(), FALSE));
  return probe::Run(copy);
}

TEST(LaunchContext, RealExecutableUnderOtherNames) {
  probe::TempFolder folder;
  const struct {
    const wchar_t* name;
    const char* package;
    const char* channel;
  } cases[] = {{L"setup_ab12cd34ef.exe", "setup_ab12cd34ef", "ab12cd34"},
               {L"setup_Uxyz.exe", "setup_Uxyz", "xyz"},
               {L"setup_.exe", "setup_", ""},
               {L"setup.exe", "setup", ""}};
  for (const auto& c : cases) {
    auto seen = RunProbeAs(folder, L"launch_probe_3_5_0_2.exe", c.name);
    EXPECT_EQ(seen["exit"], "0");
    EXPECT_EQ(seen["package"], c.package);
    EXPECT_EQ(seen["channel"], c.channel);
    EXPECT_EQ(seen["version"], "3.5.0.2");
  }
}

TEST(LaunchContext, ProductVersionOverridesTheFileNameChannel) {
  probe::TempFolder folder;
  const struct {
    const wchar_t* probe;
    const char* version;
    const char* channel;
  } cases[] = {
      {L"launch_probe_3_96_0_1.exe", "3.96.0.1", "redidez0"}, {L"launch_probe_3_97_0_1.exe", "3.97.0.1", "duva3600"},
      {L"launch_probe_3_98_0_1.exe", "3.98.0.1", "rirudor0"}, {L"launch_probe_3_99_0_1.exe", "3.99.0.1", "voziro00"},
      {L"launch_probe_3_97_1.exe", "3.97.1", "ab12cd34"},     {L"launch_probe_3_95_0_1.exe", "3.95.0.1", "ab12cd34"},
      {L"launch_probe_3_x_0_1.exe", "3.x.0.1", "ab12cd34"},   {L"launch_probe_none.exe", "", "ab12cd34"}};
  for (const auto& c : cases) {
    auto seen = RunProbeAs(folder, c.probe, L"setup_ab12cd34ef.exe");
    EXPECT_EQ(seen["version"], c.version) << WideToUtf8(c.probe);
    EXPECT_EQ(seen["channel"], c.channel) << WideToUtf8(c.probe);
  }
}

TEST(LaunchContext, ParentOfTheRealExecutable) {
  probe::TempFolder folder;
  std::wstring copy = folder.Path() + L"setup_dl.exe";
  ASSERT_TRUE(CopyFileW((probe::OwnFolder() + L"launch_probe_3_5_0_2.exe").c_str(), copy.c_str(), FALSE));
  SetTimes(copy, 1700000000, 1700000125);
  auto seen = probe::Run(copy);
  EXPECT_EQ(seen["download_time"], "0");  // see DownloadTimeOfFilesWithSetTimes

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(CompareStringOrdinal(Utf8ToWide(seen["parent"]).c_str(), -1, self, -1, TRUE), CSTR_EQUAL)
      << seen["parent"] << " vs " << WideToUtf8(self);
  EXPECT_EQ(seen["parent_name"], "app_tests.exe");
}

TEST(LaunchContext, FirstInstallFollowsTheUninstallEntry) {
  probe::TempFolder folder;
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, product::kUninstallKey);
  EXPECT_EQ(RunProbeAs(folder, L"launch_probe_3_5_0_2.exe", L"setup.exe")["first_install"], "1");
  HKEY key;
  ASSERT_EQ(
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kUninstallKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RunProbeAs(folder, L"launch_probe_3_5_0_2.exe", L"setup.exe")["first_install"], "0");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, product::kUninstallKey);
}

}  // namespace
