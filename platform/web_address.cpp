#include "platform/web_address.h"

#include <cwctype>

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
  size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size() || std::towlower(text[i]) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsUnsafeInWebAddress(wchar_t c) {
  if (c <= 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) return true;
  if (c == L'"' || c == L'\'' || c == L'\\' || c == L'`') return true;
  // Unicode blanks such as the no-break and the ideographic space.
  return std::iswspace(c) || c == 0x00A0 || c == 0x3000 || c == 0xFEFF || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 ||
         c == 0x2029;
}

bool IsSafeWebAddress(const std::wstring& address) {
  size_t hostAt = 0;
  if (StartsWithNoCase(address, L"http://")) {
    hostAt = 7;
  } else if (StartsWithNoCase(address, L"https://")) {
    hostAt = 8;
  } else {
    return false;
  }
  for (wchar_t c : address) {
    if (IsUnsafeInWebAddress(c)) return false;
  }
  const size_t hostEnd = address.find_first_of(L"/?#", hostAt);
  const std::wstring authority =
      address.substr(hostAt, hostEnd == std::wstring::npos ? std::wstring::npos : hostEnd - hostAt);
  // A host is required; "user@" alone or ":port" alone is none.
  const size_t at = authority.rfind(L'@');
  const std::wstring host = at == std::wstring::npos ? authority : authority.substr(at + 1);
  return !host.empty() && host[0] != L':';
}
