#include "pages/page_view.h"

#include "analytics/events.h"
#include "analytics/logger.h"
#include "pages/install_flags.h"
#include "pages/page_messages.h"
#include "ui/image_resource.h"

void CPageView::BuildPage(const WidgetRow* rows, int count, const BannerRequest* banner) {
  IBaseResource* root = BuildWidgets(*this, rows, count, banner);
  RECT client;
  GetClientRect(window_, &client);
  if (root) root->SetRect(0, 0, client.right, client.bottom);
}

LRESULT CPageView::MainPageProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE_INSTANCE: return ShowAndActivate(window_, true);
    case WM_LBUTTONDOWN:
      SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      return OnLButtonDown(message, wParam, lParam);
    default: return PageProc(message, wParam, lParam, false);
  }
}

bool CPageView::SettleClicked(int index) {
  IBaseResource* widget = Widget(index);
  if (!widget || widget->kind != kKindButton) return false;
  auto& button = static_cast<CImageResource&>(*widget);
  if (button.state == kStateDisabled || button.state == kStateNormal) return false;
  button.state = kStateNormal;
  return true;
}

void WriteClickRecord(const char* pageCode, const char* actionCode) {
  GetLogger()->WriteActionRecord(pageCode, actionCode, "");
}

void ReportPageView(const char* windowsName) {
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetBoolProperty(prop::kIsReinstall, is_reinstall != 0);
  logger->SetStringProperty(prop::kWindowsName, windowsName);
  logger->WriteEvent(event::kInstallPage);
}
