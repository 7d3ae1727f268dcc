#pragma once
#include <string>

// The in-memory mirror of config.ini, section "General", in the cache
// folder's "VELORADATA\". Each setter updates the member and the file
// together. No lock: only the main thread writes after start-up, except for
// the package records from the download poll while the main thread writes
// nothing.
class CSessionSettings {
 public:
  // Opens the file at filePath: reads back a "md5"/"path" pair whose package
  // still has that digest, or, when there is no file yet, makes its folder
  // and writes the empty pair. An empty filePath keeps everything in memory.
  explicit CSessionSettings(const std::wstring& filePath);
  CSessionSettings(const CSessionSettings&) = delete;
  CSessionSettings& operator=(const CSessionSettings&) = delete;

  std::wstring md5;
  std::wstring path;
  std::wstring launchAppname;
  std::wstring filePath;
  std::wstring isSem;
  std::wstring appId;
  std::wstring channelId;
  std::wstring mid;
  std::wstring install;
  std::wstring welcomeUrl;
  std::wstring beginTimestamp;
  std::wstring endTimestamp;
  std::wstring cam;
  std::wstring sessionId;
  std::wstring appVersion;
  std::wstring advertisingAccountName;
};

// The process-wide settings of the cache folder's config.ini, made on first
// use.
CSessionSettings& GetSessionSettings();

// Setters: an empty value changes nothing.
void SetLaunchAppname(const std::wstring& value, CSessionSettings& settings);
void SetAppId(const std::wstring& value, CSessionSettings& settings);
void SetChannelId(const std::wstring& value, CSessionSettings& settings);
void SetMid(const std::wstring& value, CSessionSettings& settings);
void SetWelcomeUrl(const std::wstring& value, CSessionSettings& settings);
void SetBeginTimestamp(const std::wstring& value, CSessionSettings& settings);
void SetEndTimestamp(const std::wstring& value, CSessionSettings& settings);
void SetCam(const std::wstring& value, CSessionSettings& settings);
void SetSessionId(const std::wstring& value, CSessionSettings& settings);
void SetAppVersion(const std::wstring& value, CSessionSettings& settings);
void SetAdvertisingAccountName(const std::wstring& value, CSessionSettings& settings);
// Always written: "1" or "0".
void SetIsSem(bool value, CSessionSettings& settings);
// Always written: "1".
void SetInstall(CSessionSettings& settings);

// True when the file at packagePath has exactly the digest md5; the pair is
// then kept (and written unless memoryOnly). Otherwise a pair that was kept is
// cleared in memory and in the file. Empty arguments change nothing.
bool RecordDownloadedPackage(const std::wstring& md5, const std::wstring& packagePath, CSessionSettings& settings,
                             bool memoryOnly);
// The same record for a package whose digest the caller has just computed
// itself (fileDigest, "" when it could not), over a handle that keeps the
// file from changing: the file is not read again. Always written.
bool RecordVerifiedPackage(const std::wstring& md5, const std::wstring& packagePath, const std::wstring& fileDigest,
                           CSessionSettings& settings);
