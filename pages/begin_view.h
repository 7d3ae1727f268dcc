#pragma once
#include <windows.h>

#include "pages/cancel_confirm.h"
#include "pages/page_view.h"

// The welcome page (page 1): logo and name, "立即安装", the agreement
// checkbox with its link and hint, and the way to the custom install page.
class CBeginView : public CPageView {
 public:
  // Builds the page over the main window and reports its view.
  CBeginView(HWND mainWindow, IResourceMgr* resources);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Whether the install folder's drive has room; the install button follows.
  void SetInstallAllowed(bool allowed);

  bool agreed = true;
  bool installAllowed = true;

 protected:
  void OnWidgetClick(int index, LPARAM position) override;

 private:
  void ToggleAgreement();
  void SetButtonState(int id, int state);
  void OpenAgreement();

  CCancelConfirm closeHandler_;
};
