#include "pages/prompt_views.h"

#include <shellapi.h>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "pages/page_messages.h"

CPromptView::CPromptView(HWND window, IResourceMgr* resources, PromptKind kind) : CPageView(window, resources) {
  dragsWindow_ = false;
  PromptRows frame;
  MakePromptRows(LookOf(kind), frame);
  BuildPage(frame.rows.data(), static_cast<int>(frame.rows.size()));
}

LRESULT CPromptView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return PageProc(message, wParam, lParam, true);
}

void CPromptView::OnWidgetClick(int index, LPARAM) {
  const IBaseResource* widget = Widget(index);
  if (widget && widget->kind == kKindButton) OnButton(widget->id);
}

void CPromptView::Answer(const char* pageCode, const char* actionCode, UINT choice) {
  WriteClickRecord(pageCode, actionCode);
  if (choice) PostMessageW(window_, choice, 0, 0);
  ShowWindow(window_, SW_HIDE);
  PostMessageW(window_, WM_CLOSE, 0, 0);
  PostMessageW(window_, WM_QUIT, 0, 0);
}

void WarnView::OnButton(int id) {
  const char* pageCode = mode == 1 ? page::kCancelFromWelcome : page::kCancelFromCustom;
  if (id == kPromptFirst) Answer(pageCode, action::kDialogConfirm, WM_CONFIRM_QUIT);
  if (id == kPromptSecond || id == kPromptClose) Answer(pageCode, action::kDialogCancel, 0);
}

void ErrorView::OnButton(int id) {
  const char* pageCode = mode == 1 ? page::kNetworkErrorModeA : page::kNetworkErrorModeB;
  if (id == kPromptFirst) Answer(pageCode, action::kDialogConfirm, WM_RETRY_DOWNLOAD);
  if (id == kPromptSecond) Answer(pageCode, action::kDialogCancel, 0);
}

void DownloadReminderView::OnButton(int id) {
  if (id != kPromptFirst && id != kPromptSecond) return;
  WriteClickRecord(page::kManualDownload, id == kPromptFirst ? action::kDialogConfirm : action::kDialogCancel);
  if (id == kPromptFirst) GetLogger()->OpenUrl(packageUrl);
  PostQuitMessage(0);
}

void InstallReminderView::OnButton(int id) {
  if (id != kPromptFirst && id != kPromptSecond) return;
  WriteClickRecord(page::kManualInstall, id == kPromptFirst ? action::kDialogConfirm : action::kDialogCancel);
  if (id == kPromptFirst) ShellExecuteW(nullptr, L"open", packagePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  PostQuitMessage(0);
}
