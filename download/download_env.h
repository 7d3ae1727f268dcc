#pragma once
#include <functional>
#include <string>
#include <vector>

class ILoggerServer;
class IPkgInfo;
class IAppInfo;

// The package that config.ini records: its "path" and "md5" (held only while
// the file still has that digest), and the record of a newly verified one,
// given the digest the download computed over its held handle (the pair is
// kept only when that digest is md5).
struct PackageRecordAccess {
  std::function<std::wstring()> path;
  std::function<std::wstring()> md5;
  std::function<void(const std::wstring& md5, const std::wstring& path, const std::wstring& fileDigest)> record;
};

// What the download needs from the rest of the installer. The installer's
// own comes from InstallerDownloadEnv; tests put their own pieces in.
struct DownloadEnv {
  ILoggerServer* logger = nullptr;
  IPkgInfo* pkgInfo = nullptr;  // null: the package index does not exist
  IAppInfo* appInfo = nullptr;
  PackageRecordAccess settings;
  std::wstring cacheFolder;  // with a trailing backslash
  std::wstring ownFileName;  // the running executable's file name, without folder
  std::wstring ownVersion;   // the running executable's product version
  std::string defaultUrl;    // used when the index names no URL
  std::vector<std::string> reachabilityHosts;
};

// "http://" + the CDN host + the package path of the application id.
std::string DefaultPackageUrl();
