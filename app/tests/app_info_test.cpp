#include "services/app_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/tests/probe.h"
#include "common/product.h"
#include "platform/text.h"

namespace {

TEST(AppInfo, ProductVersionOfFiles) {
  CAppInfo info;
  EXPECT_EQ(info.GetProductVersion(probe::OwnFolder() + L"launch_probe_3_97_1.exe"), L"3.97.1");
  EXPECT_EQ(info.GetProductVersion(probe::OwnFolder() + L"launch_probe_none.exe"), L"");
  EXPECT_EQ(info.GetProductVersion(L"C:\\no\\such.exe"), L"");
}

void SetDisplayIcon(const std::wstring& value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kUninstallKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, L"DisplayIcon", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 DWORD((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

TEST(AppInfo, InstalledProductFromTheUninstallEntry) {
  probe::TempFolder folder;
  std::wstring program = folder.Path() + L"Velora.exe";
  ASSERT_TRUE(CopyFileW((probe::OwnFolder() + L"launch_probe_3_5_0_2.exe").c_str(), program.c_str(), FALSE));
  const struct {
    std::wstring displayIcon;
    std::wstring path, version;
  } cases[] = {
      {program, program, L"3.5.0.2"},
      {program + L",0", L"", L""},  // an icon index makes it no file name
      {folder.Path(), L"", L""},    // a folder is not the program
      {folder.Path() + L"gone.exe", L"", L""},
  };
  for (const auto& c : cases) {
    SetDisplayIcon(c.displayIcon);
    CAppInfo info;
    EXPECT_TRUE(info.RefreshInstalled());
    EXPECT_EQ(info.GetInstalledPath(), c.path) << WideToUtf8(c.displayIcon);
    EXPECT_EQ(info.GetInstalledVersion(), c.version) << WideToUtf8(c.displayIcon);
  }
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, product::kUninstallKey);
  CAppInfo none;
  EXPECT_TRUE(none.RefreshInstalled());
  EXPECT_EQ(none.GetInstalledPath(), L"");
}

}  // namespace
