#pragma once
#include <string>

// What is known about an installed copy of the product.
class IAppInfo {
 public:
  virtual ~IAppInfo() = default;
  // Reads the uninstall entry again; false only if that failed unexpectedly.
  virtual bool RefreshInstalled() = 0;
  // The installed program file, or "" when the product is not installed.
  virtual const std::wstring& GetInstalledPath() = 0;
  virtual const std::wstring& GetInstalledVersion() = 0;
  // ProductVersion of the file at path, or of the running executable when
  // path is empty; "" when the file has none.
  virtual std::wstring GetProductVersion(const std::wstring& path) = 0;
};

class CAppInfo : public IAppInfo {
 public:
  bool RefreshInstalled() override;
  const std::wstring& GetInstalledPath() override { return installedPath_; }
  const std::wstring& GetInstalledVersion() override { return installedVersion_; }
  std::wstring GetProductVersion(const std::wstring& path) override;

 private:
  std::wstring installedPath_;
  std::wstring installedVersion_;
};

// The process-wide instance; the first call reads the uninstall entry.
IAppInfo* GetAppInfo();
