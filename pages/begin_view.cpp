#include "pages/begin_view.h"

#include <shellapi.h>

#include <iterator>
#include <string>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "pages/page_messages.h"
#include "pages/prompt_frame.h"
#include "platform/text.h"
#include "ui/checkbox_resource.h"
#include "ui/layout_resource.h"
#include "ui/palette.h"
#include "velora_profile.h"

namespace {

constexpr wchar_t kPromptClass[] = L"BeginChildCloseWnd";
constexpr wchar_t kAgreementPath[] = L"/terms/user-agreement?_mid=";

enum BeginId : int {
  kIdBackground = 0,
  kIdLogo = 1,
  kIdClose = 2,
  kIdInstall = 3,
  kIdCustom = 4,
  kIdAgreementLink = 5,
  kIdAgreementBox = 6,
  kIdHint = 7,
  kIdText = 8,
  kIdLayout = 9,
  kIdSpacer = 10,
};

const WidgetStyle kPage = PageGroundStyle();
const WidgetStyle kClose = ClearButtonStyle();
const WidgetStyle kTitle = TextStyle(0xFF1A1A1A, 24, 1);
const WidgetStyle kMessage = TextStyle(0xFFFF4D4F, 14, 1);
const WidgetStyle kInstall = PrimaryButtonStyle();
const WidgetStyle kBox = CheckboxStyle();
const WidgetStyle kAgreementLink = LinkStyle(true, 0, 0);
const WidgetStyle kHint = TextStyle(0xFFFF4D4F, 12, 0);
const WidgetStyle kCustomLink = LinkStyle(false, 2, 1);

WidgetRow Layout(int parent, unsigned weight, int orientation, std::array<unsigned, 4> padding) {
  return LayoutRow(kIdLayout, parent, weight, orientation, padding);
}

WidgetRow Spacer(int parent, unsigned weight) { return SpacerRow(kIdSpacer, parent, weight); }

WidgetRow Hidden(WidgetRow row) {
  row.hidden = true;
  return row;
}

const WidgetRow kRows[] = {
    /* 0 */ Layout(-1, 0, kVertical, {20, 24, 20, 24}),
    /* 1 */ {kKindBackground, kIdBackground, 0, 0, nullptr, &kPage, {L"main_bg.png"}},
    /* 2 */ Layout(0, 4, kHorizontal, {}),
    /* 3 */ Spacer(2, 27),
    /* 4 */ {kKindButton, kIdClose, 2, 1, nullptr, &kClose, kCloseButtonImages, 1.0},
    /* 5 */ Spacer(0, 3),
    /* 6 */ Layout(0, 42, kVertical, {}),
    /* 7 */ {kKindImage, kIdLogo, 6, 15, nullptr, nullptr, {L"logo.png"}},
    /* 8 */ {kKindText, kIdText, 6, 4, L"Velora视频模板", &kTitle},
    /* 9 */ {kKindText, kIdText, 0, 6, L"", &kMessage},
    /* 10 */ Layout(0, 16, kHorizontal, {}),
    /* 11 */ Spacer(10, 25),
    /* 12 */ {kKindButton, kIdInstall, 10, 21, L"立即安装", &kInstall, {}, 3.5},
    /* 13 */ Spacer(10, 25),
    /* 14 */ Spacer(0, 10),
    /* 15 */ Layout(0, 6, kHorizontal, {0, 10, 0, 0}),
    /* 16 */
    {kKindCheckbox,
     kIdAgreementBox,
     15,
     12,
     L"我已阅读并同意",
     &kBox,
     {L"main_checkbox_select.png", L"main_checkbox_deselect.png"}},
    /* 17 */ {kKindButton, kIdAgreementLink, 15, 10, L"用户使用协议", &kAgreementLink},
    /* 18 */ Hidden({kKindText, kIdHint, 15, 20, L"（勾选已阅读用户协议后才能安装）", &kHint}),
    /* 19 */
    {kKindButton,
     kIdCustom,
     15,
     10,
     L"自定义安装",
     &kCustomLink,
     {L"main_word_custom_normal.png", L"main_word_custom_hover.png", L"main_word_custom_press.png",
      L"main_word_custom_normal.png"}},
};

}  // namespace

CBeginView::CBeginView(HWND mainWindow, IResourceMgr* resources) : CPageView(mainWindow, resources) {
  BuildPage(kRows, static_cast<int>(std::size(kRows)));
  ReportPageView(value::kWindowInstallNow);
}

LRESULT CBeginView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    closeHandler_.Run(*this, kPromptClass, 1, value::kWindowInstallNow);
    return 0;
  }
  return MainPageProc(message, wParam, lParam);
}

void CBeginView::SetInstallAllowed(bool allowed) {
  if (allowed == installAllowed) return;
  installAllowed = allowed;
  SetButtonState(kIdInstall, allowed ? kStateNormal : kStateDisabled);
  Redraw();
}

void CBeginView::OnWidgetClick(int index, LPARAM) {
  const IBaseResource* widget = Widget(index);
  if (!widget) return;
  switch (widget->id) {
    case kIdClose:
      WriteClickRecord(page::kWelcome, action::kWelcomeClose);
      closeHandler_.Run(*this, kPromptClass, 1, value::kWindowInstallNow);
      break;
    case kIdInstall: {
      ILoggerServer* logger = GetLogger();
      logger->ClearProperties();
      logger->SetStringProperty(prop::kConfirmEntrance, value::kWindowInstallNow);
      logger->WriteEvent(event::kConfirmInstall);
      WriteClickRecord(page::kWelcome, action::kWelcomeInstallNow);
      PostMessageW(window_, WM_SWITCH_PAGE, kPageProgress, 0);
      break;
    }
    case kIdCustom:
      WriteClickRecord(page::kWelcome, action::kWelcomeCustom);
      PostMessageW(window_, WM_SWITCH_PAGE, kPageCustom, 0);
      break;
    case kIdAgreementLink:
      WriteClickRecord(page::kWelcome, action::kWelcomeAgreementLink);
      OpenAgreement();
      break;
    case kIdAgreementBox: WriteClickRecord(page::kWelcome, action::kWelcomeAgreementBox); break;
    default: break;
  }
  bool changed = SettleClicked(index);
  if (widget->kind == kKindCheckbox && widget->id == kIdAgreementBox) {
    ToggleAgreement();
    changed = true;
  }
  if (changed) Redraw();
}

void CBeginView::ToggleAgreement() {
  auto* box = static_cast<CCheckboxResource*>(FindWidgetById(kIdAgreementBox));
  box->Toggle();
  agreed = box->checked != 0;
  FindWidgetById(kIdHint)->visible = !agreed;
  const int state = agreed ? kStateNormal : kStateDisabled;
  SetButtonState(kIdCustom, state);
  if (installAllowed) SetButtonState(kIdInstall, state);
}

void CBeginView::SetButtonState(int id, int state) {
  auto* button = static_cast<CImageResource*>(FindWidgetById(id));
  button->state = state;
  // The icon of the new state is placed where the old one was.
  button->SetRect(button->rect.left, button->rect.top, button->rect.right, button->rect.bottom);
}

void CBeginView::OpenAgreement() {
  std::wstring site = profile::kWebRoot;
  while (!site.empty() && site.back() == L'/') site.pop_back();
  const std::wstring address = site + kAgreementPath + AnsiToWide(GetLogger()->GetMachineId());
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
