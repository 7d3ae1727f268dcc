#pragma once

// The product's fixed identity.
namespace product {

inline constexpr char kAppId[] = "57203816";
#define VELORA_PRODUCT_GUID_BARE L"5D0E9A21-7C4B-4F83-A6E2-3B9C1D7F0E54"
#define VELORA_PRODUCT_GUID L"{" VELORA_PRODUCT_GUID_BARE L"}"
inline constexpr wchar_t kGuid[] = VELORA_PRODUCT_GUID;
// The product's uninstall entry, in HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" VELORA_PRODUCT_GUID L"_is1";
// What a second start looks for.
inline constexpr wchar_t kInstanceMutex[] = L"CorvixPkg-Event-" VELORA_PRODUCT_GUID_BARE;
inline constexpr wchar_t kMainWindowClass[] = L"CorvixPkg-Window-" VELORA_PRODUCT_GUID_BARE;

}  // namespace product
