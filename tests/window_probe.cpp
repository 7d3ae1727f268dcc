// A second program on the installer's desktop, for the window tests.
//   window_probe close CLASS
//     sends WM_CLOSE to the first top-level window of exactly that class and
//     waits until it is handled (at most 10 s); exit 1 when there is none.
//   window_probe post CLASS MESSAGE WPARAM LPARAM
//     posts the message (decimal numbers) to the first top-level window of
//     exactly that class, shown or hidden, as the shell posts the
//     notification-area icon's message; exit 1 when there is none.
//   window_probe text CLASS ID
//     prints the window text of the control ID of that window, in UTF-8.
//   window_probe settext CLASS ID TEXT
//     sets that control's text, as a paste into it would.
//   window_probe cover CLASS MARKER SECONDS
//     shows a white window of that class over the whole screen for SECONDS;
//     writes MARKER when it receives the installer's activation message.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr UINT kActivateInstance = WM_APP + 255;
std::wstring g_marker;

struct Search {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK FindExact(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t name[260] = {};
  GetClassNameW(window, name, 259);
  if (wcscmp(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

LRESULT CALLBACK CoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kActivateInstance) {
    if (FILE* marker = _wfopen(g_marker.c_str(), L"w")) {
      std::fputs("activated\n", marker);
      std::fclose(marker);
    }
    return 0;
  }
  if (message == WM_TIMER) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int Close(const wchar_t* className) {
  Search search{className, nullptr};
  EnumWindows(FindExact, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return 1;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(search.found, WM_CLOSE, 0, 0, SMTO_NORMAL, 10000, &result) ? 0 : 2;
}

int Post(const wchar_t* className, UINT message, WPARAM wParam, LPARAM lParam) {
  Search search{className, nullptr};
  EnumWindows(FindExact, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return 1;
  return PostMessageW(search.found, message, wParam, lParam) ? 0 : 2;
}

HWND ControlOf(const wchar_t* className, int id) {
  Search search{className, nullptr};
  EnumWindows(FindExact, reinterpret_cast<LPARAM>(&search));
  return search.found ? GetDlgItem(search.found, id) : nullptr;
}

int Text(const wchar_t* className, int id) {
  HWND control = ControlOf(className, id);
  if (!control) return 1;
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &copied))
    return 2;
  char utf8[4096] = {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
  if (size > 1) std::fwrite(utf8, 1, size - 1, stdout);
  std::fputs("\n", stdout);
  return 0;
}

int SetText(const wchar_t* className, int id, const wchar_t* text) {
  HWND control = ControlOf(className, id);
  if (!control) return 1;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &result) ? 0
                                                                                                                  : 2;
}

int Cover(const wchar_t* className, const wchar_t* marker, int seconds) {
  g_marker = marker;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = CoverProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = className;
  if (!RegisterClassW(&wc)) return 1;
  HWND window = CreateWindowExW(0, className, L"cover", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 1;
  UpdateWindow(window);
  SetTimer(window, 1, seconds * 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  DestroyWindow(window);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && wcscmp(argv[1], L"close") == 0) return Close(argv[2]);
  if (argc == 6 && wcscmp(argv[1], L"post") == 0) return Post(argv[2], _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
  if (argc == 4 && wcscmp(argv[1], L"text") == 0) return Text(argv[2], _wtoi(argv[3]));
  if (argc == 5 && wcscmp(argv[1], L"settext") == 0) return SetText(argv[2], _wtoi(argv[3]), argv[4]);
  if (argc == 5 && wcscmp(argv[1], L"cover") == 0) return Cover(argv[2], argv[3], _wtoi(argv[4]));
  std::fputs(
      "usage: window_probe close CLASS | post CLASS MESSAGE WPARAM LPARAM | text CLASS ID | settext CLASS ID TEXT\n"
      "       | cover CLASS MARKER SECONDS\n",
      stderr);
  return 2;
}
