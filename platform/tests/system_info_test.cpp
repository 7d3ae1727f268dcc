#include "platform/system_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace {

const wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Writes a string value (created with its key); `bytes` overrides the stored
// length, for values without a terminator.
void WriteValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text, REGSAM view = 0,
                DWORD bytes = DWORD(-1)) {
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  if (bytes == DWORD(-1)) bytes = DWORD((text.size() + 1) * sizeof(wchar_t));
  ASSERT_EQ(RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes), ERROR_SUCCESS);
  RegCloseKey(handle);
}

// The 64-bit view where there is one, as the code under test reads it.
REGSAM UninstallView() { return IsWindows64() ? KEY_WOW64_64KEY : 0; }

TEST(SystemInfo, IsWindows64AgreesWithWow64) {
  // A 32-bit process runs under WOW64 exactly on 64-bit Windows; Wine's
  // 32-bit prefix is 32-bit Windows.
  BOOL wow64 = FALSE;
  ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
  EXPECT_EQ(IsWindows64(), wow64 != FALSE);
}

TEST(SystemInfo, ReadRegistryStringInBothViews) {
  const std::wstring key = L"SOFTWARE\\VeloraTest\\Views";
  WriteValue(HKEY_LOCAL_MACHINE, key, L"Bits", L"64", KEY_WOW64_64KEY);
  WriteValue(HKEY_LOCAL_MACHINE, key, L"Bits", L"32", KEY_WOW64_32KEY);
  EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, key, L"Bits", false), L"32");
  // On 32-bit Windows there is one view and the last write holds.
  EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, key, L"Bits", true), IsWindows64() ? L"64" : L"32");
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_32KEY, 0);
}

TEST(SystemInfo, ReadRegistryStringLimits) {
  const std::wstring key = L"Software\\VeloraTest\\Limits";
  // Stored without a terminator. (A value of 260 characters without one
  // fits Windows' buffer; Wine wants room for a terminator and refuses it.)
  std::wstring full(259, L'f');
  WriteValue(HKEY_CURRENT_USER, key, L"Fills", full, 0, 259 * sizeof(wchar_t));
  WriteValue(HKEY_CURRENT_USER, key, L"TooLong", std::wstring(261, L't'));
  WriteValue(HKEY_CURRENT_USER, key, L"Cut", std::wstring(L"before\0after", 12));
  const struct {
    const wchar_t* key;
    const wchar_t* name;
    std::wstring expected;
  } cases[] = {
      {L"Software\\VeloraTest\\Limits", L"Fills", full},    {L"Software\\VeloraTest\\Limits", L"TooLong", L""},
      {L"Software\\VeloraTest\\Limits", L"Cut", L"before"}, {L"Software\\VeloraTest\\Limits", L"Missing", L""},
      {L"Software\\VeloraTest\\NoSuchKey", L"Fills", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, c.key, c.name, false), c.expected) << WideToUtf8(c.name);
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

TEST(SystemInfo, UninstallLocation) {
  const struct {
    const wchar_t* key;
    const wchar_t* userLocation;  // null: not written
    const wchar_t* machineLocation;
    const wchar_t* userIcon;
    const wchar_t* machineIcon;
    const wchar_t* expected;  // null: none found
  } cases[] = {
      {L"VeloraTestA", L"C:\\User\\A", L"C:\\Machine\\A", nullptr, nullptr, L"C:\\User\\A"},
      {L"VeloraTestB", nullptr, nullptr, nullptr, L"C:\\Apps\\B\\b.exe,0", L"C:\\Apps\\B"},
      {L"VeloraTestC", L"", L"C:\\Machine\\C", L"C:\\Icon\\C\\c.exe", nullptr, L"C:\\Machine\\C"},
      {L"VeloraTestD", nullptr, L"", L"", L"C:\\Apps\\D\\d.exe", L"C:\\Apps\\D"},
      {L"VeloraTestE", nullptr, nullptr, L"\"C:\\Program Files\\E\\e.exe\",0", nullptr, L"C:\\Program Files\\E"},
      {L"VeloraTestF", nullptr, nullptr, L"f.exe,0", nullptr, L"f.exe,0"},
      {L"VeloraTestG", L"", L"", L"", L"", nullptr},
      {L"VeloraTestMissing", nullptr, nullptr, nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    std::wstring key = kUninstall + std::wstring(c.key);
    if (c.userLocation) WriteValue(HKEY_CURRENT_USER, key, L"InstallLocation", c.userLocation);
    if (c.machineLocation) WriteValue(HKEY_LOCAL_MACHINE, key, L"InstallLocation", c.machineLocation, UninstallView());
    if (c.userIcon) WriteValue(HKEY_CURRENT_USER, key, L"DisplayIcon", c.userIcon);
    if (c.machineIcon) WriteValue(HKEY_LOCAL_MACHINE, key, L"DisplayIcon", c.machineIcon, UninstallView());
    std::wstring folder = L"unchanged";
    EXPECT_EQ(UninstallLocation(c.key, &folder), c.expected != nullptr) << WideToUtf8(c.key);
    EXPECT_EQ(folder, c.expected ? c.expected : L"unchanged") << WideToUtf8(c.key);
    RegDeleteKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), UninstallView(), 0);
  }
}

}  // namespace
