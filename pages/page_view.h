#pragma once
#include <windows.h>

#include "ui/base_view.h"
#include "ui/widget_table.h"

// What every page of the main window and every prompt shares: the widgets
// built from a table and laid out over the window's client area, the input
// conventions of the framework, and the reports of clicks and page views.
class CPageView : public IBaseView {
 public:
  CPageView(HWND window, IResourceMgr* resources) : IBaseView(window, resources) {}

 protected:
  // Builds the rows and lays the root out over the client rectangle; an
  // animated image asks `banner` for its animation.
  void BuildPage(const WidgetRow* rows, int count, const BannerRequest* banner = nullptr);
  // A page hosted by the main window: opaque painting, a press first takes
  // the window out of the topmost band (where a second start put it), and
  // WM_ACTIVATE_INSTANCE brings the window to the front.
  LRESULT MainPageProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The button's look after its click: normal, unless it is disabled; whether
  // it changed.
  bool SettleClicked(int index);
};

// The action record of a click: page code, action code, an empty text.
void WriteClickRecord(const char* pageCode, const char* actionCode);
// "vInstallPage" with "is_reinstall" and the page's "windows_name".
void ReportPageView(const char* windowsName);
