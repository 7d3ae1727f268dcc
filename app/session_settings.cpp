#include "app/session_settings.h"

#include <windows.h>

#include "download/cache_location.h"
#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/handle.h"
#include "platform/text.h"

namespace {

const wchar_t kSection[] = L"General";

void WriteKey(const CSessionSettings& settings, const wchar_t* key, const std::wstring& value) {
  if (settings.filePath.empty()) return;
  WritePrivateProfileStringW(kSection, key, value.c_str(), settings.filePath.c_str());
}

std::wstring ReadKey(const std::wstring& file, const wchar_t* key) {
  wchar_t value[1024] = {};
  GetPrivateProfileStringW(kSection, key, L"", value, 1024, file.c_str());
  return value;
}

void SetIfNotEmpty(std::wstring CSessionSettings::*member, const wchar_t* key, const std::wstring& value,
                   CSessionSettings& settings) {
  if (value.empty()) return;
  settings.*member = value;
  WriteKey(settings, key, value);
}

// The profile functions keep a file in the encoding it has, and write a new
// one in the ANSI code page, where paths and names outside that code page
// would turn into '?'. A file that begins with the UTF-16 mark is kept in
// UTF-16.
void CreateUnicodeFile(const std::wstring& file) {
  UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return;
  const unsigned char mark[] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(handle.Get(), mark, sizeof mark, &written, nullptr);
}

void WritePackage(const CSessionSettings& settings) {
  WriteKey(settings, L"md5", settings.md5);
  WriteKey(settings, L"path", settings.path);
}

}  // namespace

CSessionSettings::CSessionSettings(const std::wstring& file) : filePath(file) {
  if (filePath.empty()) return;
  if (FileExists(filePath)) {
    RecordDownloadedPackage(ReadKey(filePath, L"md5"), ReadKey(filePath, L"path"), *this, true);
    return;
  }
  // The profile functions make no folders: on a first run the data folder
  // does not exist yet.
  CreateDirectories(FullPathDirectory(filePath));
  CreateUnicodeFile(filePath);
  WritePackage(*this);
}

CSessionSettings& GetSessionSettings() {
  // Without a cache folder there is no file to write, only memory.
  static CSessionSettings settings(GetCacheFolder().empty() ? std::wstring()
                                                            : DataFolderIn(GetCacheFolder()) + L"config.ini");
  return settings;
}

void SetLaunchAppname(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::launchAppname, L"launch_appname", value, settings);
}
void SetAppId(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::appId, L"app_id", value, settings);
}
void SetChannelId(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::channelId, L"channel_id", value, settings);
}
void SetMid(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::mid, L"mid", value, settings);
}
void SetWelcomeUrl(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::welcomeUrl, L"welcome_url", value, settings);
}
void SetBeginTimestamp(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::beginTimestamp, L"begin_timestamp", value, settings);
}
void SetEndTimestamp(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::endTimestamp, L"end_timestamp", value, settings);
}
void SetCam(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::cam, L"cam", value, settings);
}
void SetSessionId(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::sessionId, L"session_id", value, settings);
}
void SetAppVersion(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::appVersion, L"app_version", value, settings);
}
void SetAdvertisingAccountName(const std::wstring& value, CSessionSettings& settings) {
  SetIfNotEmpty(&CSessionSettings::advertisingAccountName, L"advertising_account_name", value, settings);
}

void SetIsSem(bool value, CSessionSettings& settings) {
  settings.isSem = value ? L"1" : L"0";
  WriteKey(settings, L"is_sem", settings.isSem);
}

void SetInstall(CSessionSettings& settings) {
  settings.install = L"1";
  WriteKey(settings, L"install", settings.install);
}

namespace {

// Keeps the pair when the file's digest is md5, else clears a kept one.
bool KeepPackageIfDigestMatches(const std::wstring& md5, const std::wstring& packagePath,
                                const std::wstring& fileDigest, CSessionSettings& settings, bool memoryOnly) {
  if (fileDigest == md5) {
    if (settings.md5 != md5 || settings.path != packagePath) {
      settings.md5 = md5;
      settings.path = packagePath;
      if (!memoryOnly) WritePackage(settings);
    }
    return true;
  }
  if (!settings.md5.empty() || !settings.path.empty()) {
    settings.md5.clear();
    settings.path.clear();
    WritePackage(settings);
  }
  return false;
}

}  // namespace

bool RecordDownloadedPackage(const std::wstring& md5, const std::wstring& packagePath, CSessionSettings& settings,
                             bool memoryOnly) {
  if (md5.empty() || packagePath.empty()) return false;
  return KeepPackageIfDigestMatches(md5, packagePath, AnsiToWide(Md5OfFile(packagePath)), settings, memoryOnly);
}

bool RecordVerifiedPackage(const std::wstring& md5, const std::wstring& packagePath, const std::wstring& fileDigest,
                           CSessionSettings& settings) {
  if (md5.empty() || packagePath.empty()) return false;
  return KeepPackageIfDigestMatches(md5, packagePath, fileDigest, settings, false);
}
