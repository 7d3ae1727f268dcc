#include "pages/finished_view.h"

#include <shellapi.h>

#include <iterator>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "pages/prompt_frame.h"
#include "ui/layout_resource.h"
#include "ui/palette.h"
#include "ui/widget_table.h"

namespace {

enum FinishedId : int {
  kIdBackground = 0,
  kIdClose = 1,
  kIdStart = 2,
  kIdLogo = 3,
  kIdText = 4,
  kIdLayout = 5,
  kIdSpacer = 6,
};

const WidgetStyle kPage = PageGroundStyle();
const WidgetStyle kClose = ClearButtonStyle();
const WidgetStyle kHeading = TextStyle(0xFF1A1A1A, 24, 1);
const WidgetStyle kSecondLine = TextStyle(0xFF666666, 16, 1);
const WidgetStyle kStart = PrimaryButtonStyle();

// The second line is made after the spacer below the brand column but
// belongs to the column, under the heading.
const WidgetRow kRows[] = {
    /* 0 */ LayoutRow(kIdLayout, -1, 0, kVertical, {20, 24, 20, 24}),
    /* 1 */ {kKindBackground, kIdBackground, 0, 0, nullptr, &kPage, {L"main_bg.png"}},
    /* 2 */ LayoutRow(kIdLayout, 0, 4, kHorizontal, {}),
    /* 3 */ SpacerRow(kIdSpacer, 2, 27),
    /* 4 */ {kKindButton, kIdClose, 2, 1, nullptr, &kClose, kCloseButtonImages, 1.0},
    /* 5 */ SpacerRow(kIdSpacer, 0, 3),
    /* 6 */ LayoutRow(kIdLayout, 0, 42, kVertical, {}),
    /* 7 */ {kKindImage, kIdLogo, 6, 15, nullptr, nullptr, {L"logo.png"}},
    /* 8 */ {kKindText, kIdText, 6, 4, L"恭喜，安装成功", &kHeading},
    /* 9 */ SpacerRow(kIdSpacer, 0, 2),
    /* 10 */ {kKindText, kIdText, 6, 4, L"", &kSecondLine},
    /* 11 */ SpacerRow(kIdSpacer, 0, 6),
    /* 12 */ LayoutRow(kIdLayout, 0, 24, kHorizontal, {}),
    /* 13 */ SpacerRow(kIdSpacer, 12, 25),
    /* 14 */ {kKindButton, kIdStart, 12, 21, L"立即体验", &kStart, {}, 3.5},
    /* 15 */ SpacerRow(kIdSpacer, 12, 25),
};

}  // namespace

CFinishedView::CFinishedView(HWND mainWindow, IResourceMgr* resources) : CPageView(mainWindow, resources) {
  BuildPage(kRows, static_cast<int>(std::size(kRows)));
}

LRESULT CFinishedView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // Ends the installer without a report of the close.
    PostQuitMessage(0);
    return DefWindowProcW(window_, message, wParam, lParam);
  }
  return MainPageProc(message, wParam, lParam);
}

void CFinishedView::OnWidgetClick(int index, LPARAM) {
  const IBaseResource* widget = Widget(index);
  if (!widget || widget->kind != kKindButton) return;
  ILoggerServer* logger = GetLogger();
  switch (widget->id) {
    case kIdClose:
      logger->ClearProperties();
      logger->WriteEvent(event::kCloseStartPage);
      WriteClickRecord(page::kFinished, action::kFinishedClose);
      break;
    case kIdStart:
      logger->ClearProperties();
      logger->WriteEvent(event::kImmediateUse);
      WriteClickRecord(page::kFinished, action::kFinishedStart);
      ShellExecuteW(nullptr, L"open", productPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    default: break;
  }
  ShowWindow(window_, SW_HIDE);
  PostQuitMessage(0);
}
