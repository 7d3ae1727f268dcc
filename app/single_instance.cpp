#include "app/single_instance.h"

#include <windows.h>

#include <cstdlib>

#include "common/product.h"
#include "pages/page_messages.h"
#include "ui/base_window.h"

namespace {

BOOL CALLBACK FindInstallerWindow(HWND window, LPARAM found) {
  wchar_t name[259] = {};
  GetClassNameW(window, name, 259);
  if (wcscmp(name, product::kMainWindowClass) != 0) return TRUE;
  // Class names are atoms of a table that ignores case: once the installer
  // has registered its class, a window of another program whose class
  // differs only in case reports the installer's spelling. Only the
  // installer's own windows carry the framework's property.
  if (!GetPropW(window, kWindowObjectProperty)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

SingleInstance::SingleInstance() {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, product::kInstanceMutex);
  const DWORD error = GetLastError();
  mutex_.Reset(mutex);
  if (error != ERROR_ALREADY_EXISTS) return;
  mutex_.Reset();
  HWND first = nullptr;
  EnumWindows(FindInstallerWindow, reinterpret_cast<LPARAM>(&first));
  if (first) PostMessageW(first, WM_ACTIVATE_INSTANCE, 0, 0);
  exit(0);
}
