#include "pages/reminder_view.h"

#include <shellapi.h>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "pages/page_messages.h"
#include "pages/prompt_frame.h"

namespace {

void ReportChoice(const char* choice) {
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetStringProperty(prop::kEventName, choice);
  logger->WriteEvent(event::kReInstallOpera);
}

}  // namespace

CReminderView::CReminderView(HWND mainWindow, IResourceMgr* resources) : CPageView(mainWindow, resources) {
  PromptRows frame;
  MakePromptRows(LookOf(PromptKind::kReminder), frame);
  BuildPage(frame.rows.data(), static_cast<int>(frame.rows.size()));
  ReportPageView(value::kWindowReinstall);
}

LRESULT CReminderView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // A close of the window ends the installer as the close button does, so
  // that the process never lingers without a window.
  if (message == WM_CLOSE) {
    OnButton(kPromptClose);
    return 0;
  }
  return MainPageProc(message, wParam, lParam);
}

void CReminderView::OnWidgetClick(int index, LPARAM) {
  const IBaseResource* widget = Widget(index);
  if (widget && widget->kind == kKindButton) OnButton(widget->id);
}

void CReminderView::OnButton(int id) {
  switch (id) {
    case kPromptFirst:
      ReportChoice(value::kOperaOpen);
      ShellExecuteW(nullptr, L"open", productPath.c_str(), nullptr, nullptr, SW_HIDE);
      ShowWindow(window_, SW_HIDE);
      PostQuitMessage(0);
      break;
    case kPromptSecond:
      ReportChoice(value::kOperaInstall);
      PostMessageW(window_, WM_SWITCH_PAGE, kPageWelcome, 0);
      Redraw();
      break;
    case kPromptClose:
      ReportChoice(value::kOperaClose);
      ShowWindow(window_, SW_HIDE);
      PostQuitMessage(0);
      break;
    default: break;
  }
}
