#pragma once
#include <windows.h>

#include <string>

#include "pages/page_view.h"

// The finished page (page 4): "恭喜，安装成功" and "立即体验". Every way out
// of it ends the installer: "立即体验" starts the product first, the close
// button reports the close, a WM_CLOSE of the window reports nothing.
class CFinishedView : public CPageView {
 public:
  CFinishedView(HWND mainWindow, IResourceMgr* resources);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // What "立即体验" opens; the main window fills it when it shows the page.
  std::wstring productPath;

 protected:
  void OnWidgetClick(int index, LPARAM position) override;
};
