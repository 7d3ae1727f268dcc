#include "app/session_settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::ReadFileBytes;
using testing_files::TempFolder;
using testing_files::WriteFileBytes;

std::wstring Key(const std::wstring& file, const wchar_t* key, const wchar_t* absent = L"<absent>") {
  wchar_t value[1024] = {};
  GetPrivateProfileStringW(L"General", key, absent, value, 1024, file.c_str());
  return value;
}

void WriteKey(const std::wstring& file, const wchar_t* key, const std::wstring& value) {
  WritePrivateProfileStringW(L"General", key, value.c_str(), file.c_str());
}

TEST(SessionSettings, FirstCreationMakesTheFolderAndTheEmptyPair) {
  TempFolder folder;
  std::wstring file = folder.Path() + L"VELORADATA\\config.ini";
  CSessionSettings settings(file);
  EXPECT_EQ(settings.filePath, file);
  ASSERT_TRUE(FileExists(file));
  EXPECT_EQ(Key(file, L"md5"), L"");
  EXPECT_EQ(Key(file, L"path"), L"");
  // UTF-16 with its mark, so that any path can be kept.
  EXPECT_EQ(ReadFileBytes(file).substr(0, 4), std::string("\xff\xfe[\0", 4));

  CSessionSettings memoryOnly(L"");
  SetBeginTimestamp(L"1700000000", memoryOnly);
  EXPECT_EQ(memoryOnly.beginTimestamp, L"1700000000");
}

TEST(SessionSettings, SettersWriteThroughAndNeverEraseWithEmptyValues) {
  TempFolder folder;
  std::wstring file = folder.Path() + L"config.ini";
  CSessionSettings settings(file);
  const struct {
    void (*set)(const std::wstring&, CSessionSettings&);
    std::wstring CSessionSettings::*member;
    const wchar_t* key;
  } setters[] = {
      {&SetLaunchAppname, &CSessionSettings::launchAppname, L"launch_appname"},
      {&SetAppId, &CSessionSettings::appId, L"app_id"},
      {&SetChannelId, &CSessionSettings::channelId, L"channel_id"},
      {&SetMid, &CSessionSettings::mid, L"mid"},
      {&SetWelcomeUrl, &CSessionSettings::welcomeUrl, L"welcome_url"},
      {&SetBeginTimestamp, &CSessionSettings::beginTimestamp, L"begin_timestamp"},
      {&SetEndTimestamp, &CSessionSettings::endTimestamp, L"end_timestamp"},
      {&SetCam, &CSessionSettings::cam, L"cam"},
      {&SetSessionId, &CSessionSettings::sessionId, L"session_id"},
      {&SetAppVersion, &CSessionSettings::appVersion, L"app_version"},
      {&SetAdvertisingAccountName, &CSessionSettings::advertisingAccountName, L"advertising_account_name"},
  };
  for (const auto& s : setters) {
    s.set(L"", settings);
    EXPECT_EQ(Key(file, s.key), L"<absent>") << WideToUtf8(s.key);
    std::wstring value = std::wstring(L"v-") + s.key + L"-\u89c6\u9891";
    s.set(value, settings);
    EXPECT_EQ(settings.*s.member, value);
    EXPECT_EQ(Key(file, s.key), value) << WideToUtf8(s.key);
    s.set(L"", settings);
    EXPECT_EQ(settings.*s.member, value);
    EXPECT_EQ(Key(file, s.key), value) << WideToUtf8(s.key);
  }
  SetIsSem(false, settings);
  EXPECT_EQ(Key(file, L"is_sem"), L"0");
  SetIsSem(true, settings);
  EXPECT_EQ(Key(file, L"is_sem"), L"1");
  EXPECT_EQ(settings.isSem, L"1");
  SetInstall(settings);
  EXPECT_EQ(Key(file, L"install"), L"1");
  EXPECT_EQ(settings.install, L"1");
}

TEST(SessionSettings, APackagePairIsReadBackOnlyWhileItsFileIsUnchanged) {
  TempFolder folder;
  std::wstring file = folder.Path() + L"config.ini";
  std::wstring package = folder.Path() + L"install.exe";
  ASSERT_TRUE(WriteFileBytes(package, std::string(70000, 'p') + "end"));
  std::wstring md5 = AnsiToWide(Md5OfFile(package));
  { CSessionSettings first(file); }
  WriteKey(file, L"md5", md5);
  WriteKey(file, L"path", package);
  WriteKey(file, L"begin_timestamp", L"1700000000");
  const std::string before = ReadFileBytes(file);

  {
    CSessionSettings matching(file);
    EXPECT_EQ(matching.md5, md5);
    EXPECT_EQ(matching.path, package);
    EXPECT_EQ(matching.beginTimestamp, L"");  // only the pair is read back
  }
  EXPECT_EQ(ReadFileBytes(file), before);

  std::string changed = ReadFileBytes(package);
  changed[1234] = 'q';
  ASSERT_TRUE(WriteFileBytes(package, changed));
  {
    CSessionSettings stale(file);
    EXPECT_EQ(stale.md5, L"");
    EXPECT_EQ(stale.path, L"");
  }
  EXPECT_EQ(ReadFileBytes(file), before);  // the stale pair stays

  DeleteFileW(package.c_str());
  CSessionSettings missing(file);
  EXPECT_EQ(missing.md5, L"");
  EXPECT_EQ(ReadFileBytes(file), before);
}

TEST(SessionSettings, RecordDownloadedPackage) {
  TempFolder folder;
  std::wstring file = folder.Path() + L"config.ini";
  std::wstring package = folder.Path() + L"pkg.exe";
  ASSERT_TRUE(WriteFileBytes(package, "package bytes"));
  std::wstring md5 = AnsiToWide(Md5OfFile(package));
  CSessionSettings settings(file);

  EXPECT_FALSE(RecordDownloadedPackage(L"", package, settings, false));
  EXPECT_FALSE(RecordDownloadedPackage(md5, L"", settings, false));
  EXPECT_EQ(Key(file, L"md5"), L"");

  EXPECT_TRUE(RecordDownloadedPackage(md5, package, settings, true));  // memory only
  EXPECT_EQ(settings.md5, md5);
  EXPECT_EQ(Key(file, L"md5"), L"");
  settings.md5.clear();
  EXPECT_TRUE(RecordDownloadedPackage(md5, package, settings, false));
  EXPECT_EQ(Key(file, L"md5"), md5);
  EXPECT_EQ(Key(file, L"path"), package);

  // The digest must match exactly: upper case is another text.
  std::wstring upper = AnsiToWide(ToUpperAscii(WideToAnsi(md5)));
  EXPECT_FALSE(RecordDownloadedPackage(upper, package, settings, true));
  EXPECT_EQ(settings.md5, L"");
  EXPECT_EQ(settings.path, L"");
  EXPECT_EQ(Key(file, L"md5"), L"");  // cleared in the file too, memory-only or not
  EXPECT_EQ(Key(file, L"path"), L"");

  ASSERT_TRUE(WriteFileBytes(package, ""));
  EXPECT_FALSE(RecordDownloadedPackage(L"d41d8cd98f00b204e9800998ecf8427e", package, settings, false));
}

// The download's record takes the digest it computed over its held handle;
// the rules are those of the record above.
TEST(SessionSettings, RecordVerifiedPackage) {
  TempFolder folder;
  std::wstring file = folder.Path() + L"config.ini";
  std::wstring package = folder.Path() + L"pkg.exe";
  const std::wstring md5 = L"0123456789abcdef0123456789abcdef";
  CSessionSettings settings(file);

  EXPECT_FALSE(RecordVerifiedPackage(L"", package, md5, settings));
  EXPECT_FALSE(RecordVerifiedPackage(md5, L"", md5, settings));
  EXPECT_TRUE(RecordVerifiedPackage(md5, package, md5, settings));
  EXPECT_EQ(Key(file, L"md5"), md5);
  EXPECT_EQ(Key(file, L"path"), package);

  EXPECT_FALSE(RecordVerifiedPackage(md5, package, L"", settings)) << "no digest could be computed";
  EXPECT_EQ(settings.path, L"");
  EXPECT_EQ(Key(file, L"md5"), L"");
  EXPECT_EQ(Key(file, L"path"), L"");
}

}  // namespace
