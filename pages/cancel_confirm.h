#pragma once
#include <windows.h>

class IBaseView;

// The close handler of the welcome and custom install pages: the
// cancel-confirm prompt over the main window in a nested modal loop; when the
// user confirms, "pCancelInstall", the main window hidden and the main loop
// ended. At most one prompt is open: a close while it is open only brings it
// to the front.
class CCancelConfirm {
 public:
  // `className` is the prompt's window class, `mode` its view's mode (1 the
  // welcome page, 2 the custom install page), `windowsName` the event's
  // "windows_name". Returns once the prompt is gone, or at once when it was
  // already open. Throws "create window error" when the prompt cannot be made.
  void Run(IBaseView& page, const wchar_t* className, int mode, const char* windowsName);

  HWND PromptWindow() const { return promptWindow_; }

 private:
  HWND promptWindow_ = nullptr;
};
