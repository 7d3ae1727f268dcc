#include "pages/cancel_confirm.h"

#include "analytics/events.h"
#include "analytics/logger.h"
#include "pages/install_flags.h"
#include "pages/page_messages.h"
#include "pages/prompt_host.h"
#include "pages/prompt_views.h"

void CCancelConfirm::Run(IBaseView& page, const wchar_t* className, int mode, const char* windowsName) {
  if (promptWindow_) {
    page.ShowAndActivate(promptWindow_, true);
    SetWindowPos(promptWindow_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return;
  }
  HWND main = page.Window();
  WarnWindow prompt(className, main, page.Resources());
  prompt.TypedView().mode = mode;
  promptWindow_ = prompt.Handle();
  PlacePrompt(prompt, main);
  const bool confirmed = RunPromptLoop(promptWindow_, WM_CONFIRM_QUIT);
  if (confirmed) {
    ILoggerServer* logger = GetLogger();
    logger->ClearProperties();
    logger->SetBoolProperty(prop::kIsReinstall, is_reinstall != 0);
    logger->SetStringProperty(prop::kWindowsName, windowsName);
    logger->WriteEvent(event::kCancelInstall);
    ShowWindow(main, SW_HIDE);
    // The prompt's own WM_QUIT ended the nested loop; this one ends the main loop.
    PostQuitMessage(0);
  }
  promptWindow_ = nullptr;
}
