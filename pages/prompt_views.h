#pragma once
#include <windows.h>

#include <string>

#include "pages/page_view.h"
#include "pages/prompt_frame.h"
#include "ui/prompt_window.h"

// The view of a prompt window: the shared frame in a layered window that
// cannot be dragged; a click on one of its buttons goes to OnButton.
class CPromptView : public CPageView {
 public:
  CPromptView(HWND window, IResourceMgr* resources, PromptKind kind);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  void OnWidgetClick(int index, LPARAM position) override;
  virtual void OnButton(int id) = 0;
  // Writes the record, posts `choice` (when not 0) to the prompt, hides it
  // and ends the owner's loop through WM_CLOSE and WM_QUIT.
  void Answer(const char* pageCode, const char* actionCode, UINT choice);
};

// The cancel confirmation of the welcome and custom install pages.
class WarnView : public CPromptView {
 public:
  WarnView(HWND window, IResourceMgr* resources) : CPromptView(window, resources, PromptKind::kWarn) {}
  int mode = 1;  // 1: opened from the welcome page, 2: from the custom install page

 protected:
  void OnButton(int id) override;
};

// A network or install failure, with a retry.
class ErrorView : public CPromptView {
 public:
  ErrorView(HWND window, IResourceMgr* resources) : CPromptView(window, resources, PromptKind::kError) {}
  int mode = 1;  // 1: the download failed, 2: the install failed

 protected:
  void OnButton(int id) override;
};

// The manual download of the package.
class DownloadReminderView : public CPromptView {
 public:
  DownloadReminderView(HWND window, IResourceMgr* resources)
      : CPromptView(window, resources, PromptKind::kDownloadReminder) {}
  std::string packageUrl;

 protected:
  void OnButton(int id) override;
};

// The manual install of the downloaded package.
class InstallReminderView : public CPromptView {
 public:
  InstallReminderView(HWND window, IResourceMgr* resources)
      : CPromptView(window, resources, PromptKind::kInstallReminder) {}
  std::wstring packagePath;

 protected:
  void OnButton(int id) override;
};

// A 400 x 200 prompt window owned by `owner`, hosting its view; created
// hidden, the owner places and shows it. Throws "create window error".
template <class ViewType>
class TPromptWindow : public CPromptWindow {
 public:
  TPromptWindow(const wchar_t* className, HWND owner, IResourceMgr* resources)
      : CPromptWindow(className, owner, 400, 200), typedView_(new ViewType(window_, resources)) {
    SetView(std::unique_ptr<IBaseView>(typedView_));
  }
  ViewType& TypedView() { return *typedView_; }

 private:
  ViewType* typedView_;
};

using WarnWindow = TPromptWindow<WarnView>;
using ErrorWindow = TPromptWindow<ErrorView>;
using DownloadReminderWindow = TPromptWindow<DownloadReminderView>;
using InstallReminderWindow = TPromptWindow<InstallReminderView>;

// The window class names of the prompts that have fixed ones.
inline constexpr wchar_t kErrorWindowClass[] = L"ProgressChildCloseWnd";
inline constexpr wchar_t kDownloadReminderClass[] = L"ProgressDReminderWnd";
inline constexpr wchar_t kInstallReminderClass[] = L"ProgressIReminderWnd";
