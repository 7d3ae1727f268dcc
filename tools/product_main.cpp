// The demo product: a Velora program file that carries the package version.
// Started, it leaves "Velora.started" beside itself, so that a test sees that
// it ran, and ends.
#include <windows.h>

#include <string>

#include "platform/handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t own[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::wstring marker(own, length);
  const size_t dot = marker.find_last_of(L'.');
  if (dot == std::wstring::npos) return 0;
  marker = marker.substr(0, dot) + L".started";
  UniqueHandle file(
      CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return 0;
}
