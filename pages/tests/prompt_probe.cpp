// The prompts of the progress page, opened as their owner opens them, for the
// window test: a plain 600 x 400 owner window, the prompt centred over it,
// the modal loop until the user answers.
//   prompt_probe error MODE              prints "retry" or "no retry"
//   prompt_probe download URL            the manual download prompt
//   prompt_probe install PATH            the manual install prompt
// Exit 0 once the prompt is answered.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "download/cache_location.h"
#include "pages/page_messages.h"
#include "pages/prompt_host.h"
#include "pages/prompt_views.h"
#include "platform/text.h"
#include "ui/base_window.h"
#include "ui/resource_mgr.h"

namespace {

class OwnerWindow : public IBaseWindow {
 public:
  OwnerWindow() : IBaseWindow(L"VeloraPromptOwner", nullptr, 600, 400) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return DefWindowProcW(window_, message, wParam, lParam);
  }
};

template <class Window>
bool Ask(Window& prompt, HWND owner, UINT watched) {
  PlacePrompt(prompt, owner);
  return RunPromptLoop(prompt.Handle(), watched);
}

int Run(const std::wstring& kind, const std::wstring& value, IResourceMgr* resources) {
  OwnerWindow owner;
  ShowWindow(owner.Handle(), SW_SHOW);
  UpdateWindow(owner.Handle());
  if (kind == L"error") {
    ErrorWindow prompt(kErrorWindowClass, owner.Handle(), resources);
    prompt.TypedView().mode = _wtoi(value.c_str());
    std::puts(Ask(prompt, owner.Handle(), WM_RETRY_DOWNLOAD) ? "retry" : "no retry");
  } else if (kind == L"download") {
    DownloadReminderWindow prompt(kDownloadReminderClass, owner.Handle(), resources);
    prompt.TypedView().packageUrl = WideToUtf8(value);
    Ask(prompt, owner.Handle(), 0);
  } else if (kind == L"install") {
    InstallReminderWindow prompt(kInstallReminderClass, owner.Handle(), resources);
    prompt.TypedView().packagePath = value;
    Ask(prompt, owner.Handle(), 0);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  HandFoldersToLogger();
  SetProcessDPIAware();
  IResourceMgr* resources = CreateResourceManager();
  if (!resources) return 1;
  int code = 1;
  try {
    code = Run(argv[1], argv[2], resources);
  } catch (const char*) {
  }
  resources->Release();
  return code;
}
