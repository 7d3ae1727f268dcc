#pragma once
#include <windows.h>

#include <string>

#include "pages/page_view.h"

// The already-installed page (page 0): the prompt frame drawn into the main
// window at 400 x 200. "打开" starts the installed product and ends the
// installer, "安装" goes on to the welcome page, the close button (and a
// close of the window) ends the installer.
class CReminderView : public CPageView {
 public:
  // Builds the page over the main window and reports its view.
  CReminderView(HWND mainWindow, IResourceMgr* resources);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  std::wstring productPath;  // the installed program file

 protected:
  void OnWidgetClick(int index, LPARAM position) override;

 private:
  void OnButton(int id);
};
