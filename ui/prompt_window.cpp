#include "ui/prompt_window.h"

CPromptWindow::CPromptWindow(const wchar_t* className, HWND owner, unsigned width, unsigned height)
    : IBaseWindow(className, owner, width, height) {}

LRESULT CPromptWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 0;
  if (view_) return view_->WindowProc(message, wParam, lParam);
  return DefWindowProcW(window_, message, wParam, lParam);
}
