#include "pages/custome_view.h"

// shlobj.h needs windows.h first.
#include <shlobj.h>

#include <iterator>
#include <memory>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "common/byte_size.h"
#include "download/cache_location.h"
#include "download/install_location.h"
#include "pages/page_messages.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "ui/checkbox_resource.h"
#include "ui/edit_resource.h"
#include "ui/layout_resource.h"
#include "ui/palette.h"
#include "ui/text_resource.h"

namespace {

constexpr wchar_t kPromptClass[] = L"CustomeChildCloseWnd";
constexpr wchar_t kProductFolder[] = L"Velora\\Velora视频模板";
constexpr int kPathChars = 260;

enum CustomeId : int {
  kIdBackground = 0,
  kIdBack = 1,
  kIdBrowse = 2,
  kIdInstall = 3,
  kIdPathBox = CEditResource::kControlId,
  kIdRequired = 6,
  kIdFree = 7,
  kIdHint = 8,
  kIdJoinPlan = 9,
  kIdText = 10,
  kIdLayout = 11,
  kIdSpacer = 12,
};

WidgetStyle BackButtonStyle() {
  WidgetStyle style;
  const uint32_t texts[4] = {0xFF4D4D4D, 0xFF535FFF, 0xFF4652F3, 0xFF4D4D4D};
  for (int i = 0; i < 4; ++i) {
    style.states[i].textColour = texts[i];
    style.states[i].backgroundColour = 0x00FFFFFF;
  }
  return style;
}

const WidgetStyle kPage = PageGroundStyle();
const WidgetStyle kBack = BackButtonStyle();
const WidgetStyle kHeading = TextStyle(0xFF1A1A1A, 24);
const WidgetStyle kLabel = TextStyle(0xFF4D4D4D, 14);
const WidgetStyle kValue = TextStyle(0xFF1A1A1A, 14);
const WidgetStyle kBrowse = LinkStyle(true, 0, 0);
const WidgetStyle kHint = TextStyle(0xFFFF4D4F, 12);
const WidgetStyle kBox = CheckboxStyle();
const WidgetStyle kInstall = PrimaryButtonStyle();
const WidgetStyle kMessage = TextStyle(0xFFFF4D4F, 13, 1);

WidgetRow Layout(int parent, unsigned weight, int orientation, std::array<unsigned, 4> padding) {
  return LayoutRow(kIdLayout, parent, weight, orientation, padding);
}

WidgetRow Spacer(int parent, unsigned weight) { return SpacerRow(kIdSpacer, parent, weight); }

WidgetRow Text(int id, int parent, unsigned weight, const wchar_t* text, const WidgetStyle* style) {
  return WidgetRow{kKindText, id, parent, weight, text, style};
}

WidgetRow Hidden(WidgetRow row) {
  row.hidden = true;
  return row;
}

WidgetRow WithMargins(WidgetRow row, int x, int y) {
  row.margins = {x, y};
  return row;
}

const WidgetRow kRows[] = {
    /* 0 */ Layout(-1, 0, kVertical, {20, 24, 20, 0}),
    /* 1 */ {kKindBackground, kIdBackground, 0, 0, nullptr, &kPage, {L"main_bg.png"}},
    /* 2 */ Layout(0, 4, kHorizontal, {}),
    /* 3 */
    {kKindButton,
     kIdBack,
     2,
     5,
     L"返回",
     &kBack,
     {L"custom_btn_back_normal.png", L"custom_btn_back_hover.png", L"custom_btn_back_press.png"}},
    /* 4 */ Spacer(2, 23),
    /* 5 */ Layout(0, 88, kVertical, {24, 30, 24, 30}),
    /* 6 */ Text(kIdText, 5, 8, L"自定义安装", &kHeading),
    /* 7 */ Spacer(5, 3),
    /* 8 */ Layout(5, 4, kHorizontal, {}),
    /* 9 */ Text(kIdText, 8, 8, L"安装路径: ", &kLabel),
    /* 10 */ WithMargins({kKindEdit, kIdPathBox, 8, 38, nullptr, &kValue}, 0, 4),
    /* 11 */ {kKindButton, kIdBrowse, 8, 4, L"浏览", &kBrowse},
    /* 12 */ Spacer(5, 3),
    /* 13 */ Layout(5, 4, kHorizontal, {}),
    /* 14 */ Text(kIdText, 13, 8, L"所需空间: ", &kLabel),
    /* 15 */ Text(kIdRequired, 13, 8, L"", &kValue),
    /* 16 */ Text(kIdText, 13, 8, L"可用空间: ", &kLabel),
    /* 17 */ Text(kIdFree, 13, 8, L"", &kValue),
    /* 18 */ Hidden(Text(kIdHint, 13, 18, L"（该磁盘分区可用空间不足）", &kHint)),
    /* 19 */ Spacer(5, 3),
    /* 20 */ Layout(5, 4, kHorizontal, {}),
    /* 21 */ Text(kIdText, 20, 8, L"其它选项: ", &kLabel),
    /* 22 */
    WithMargins({kKindCheckbox,
                 kIdJoinPlan,
                 20,
                 42,
                 L"同意并参加用户体验改善计划",
                 &kBox,
                 {L"main_checkbox_select.png", L"main_checkbox_deselect.png"}},
                0, -4),
    /* 23 */ Spacer(5, 2),
    /* 24 */ Layout(5, 18, kHorizontal, {}),
    /* 25 */ Spacer(24, 24),
    /* 26 */ {kKindButton, kIdInstall, 24, 23, L"立即安装", &kInstall, {}, 3.5},
    /* 27 */ Spacer(24, 24),
    /* 28 */ Text(kIdText, 5, 1, L"", &kMessage),
};

struct ItemListFree {
  void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

}  // namespace

CCustomeView::CCustomeView(HWND mainWindow, IResourceMgr* resources) : CPageView(mainWindow, resources) {
  BuildPage(kRows, static_cast<int>(std::size(kRows)));
  pathBox_ = static_cast<CEditResource*>(FindWidgetById(kIdPathBox));
  ReportPageView(value::kWindowCustom);
}

LRESULT CCustomeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: closeHandler_.Run(*this, kPromptClass, 2, value::kWindowCustom); return 0;
    case WM_LBUTTONDOWN:
      // Leaving the box applies a path being typed before the press counts.
      if (Widget(HitTest(lParam)) != pathBox_) SetFocus(window_);
      break;
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_CTLCOLOREDIT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0x1A, 0x1A, 0x1A));
      SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
      // The page leaves the box's area to the box, which fills its own
      // background.
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    default: break;
  }
  return MainPageProc(message, wParam, lParam);
}

LRESULT CCustomeView::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kIdPathBox && HIWORD(wParam) == EN_KILLFOCUS) {
    wchar_t typed[kPathChars] = {};
    GetWindowTextW(pathBox_->Control(), typed, kPathChars);
    SetInstallPath(typed);
  }
  return DefWindowProcW(window_, WM_COMMAND, wParam, lParam);
}

void CCustomeView::SetInstallPath(const std::wstring& folder) {
  if (folder == installPath) return;
  if (!IsValidInstallPath(folder)) {
    SetWindowTextW(pathBox_->Control(), installPath.c_str());
    return;
  }
  const uint64_t required = RequiredInstallSize();
  const uint64_t free = FreeSpaceOfPath(folder);
  spaceOK = required < free;
  if (!appendProductFolder) {
    appendProductFolder = true;
    installPath = folder;
  } else if (FindText(folder, kProductFolder) != kNotFound) {
    installPath = folder;
  } else {
    installPath = EnsureTrailingSlash(folder) + kProductFolder;
  }
  pathBox_->text = installPath;
  SetText(kIdRequired, FormatByteSize(static_cast<int64_t>(required)));
  SetText(kIdFree, FormatByteSize(static_cast<int64_t>(free)));
  SetWindowTextW(pathBox_->Control(), installPath.c_str());
  // The button and the hint follow the new drive at once, not only at the
  // next move of the mouse.
  ApplySpace();
  Redraw();
}

void CCustomeView::OnWidgetClick(int index, LPARAM) {
  IBaseResource* widget = Widget(index);
  if (!widget) return;
  bool changed = false;
  switch (widget->id) {
    case kIdBack:
      ShowWindow(pathBox_->Control(), SW_HIDE);
      PostMessageW(window_, WM_SWITCH_PAGE, kPageWelcome, 0);
      break;
    case kIdBrowse: Browse(); break;
    case kIdInstall: StartInstall(); break;
    case kIdJoinPlan:
      if (widget->kind == kKindCheckbox) {
        auto* box = static_cast<CCheckboxResource*>(widget);
        box->Toggle();
        joinPlan = box->checked != 0;
        changed = true;
      }
      break;
    default: break;
  }
  changed = SettleClicked(index) || changed;
  changed = ApplySpace() || changed;
  if (changed) Redraw();
}

bool CCustomeView::UpdateStates(int target) {
  const bool changed = CPageView::UpdateStates(target);
  return ApplySpace() || changed;
}

bool CCustomeView::ApplySpace() {
  auto* install = static_cast<CImageResource*>(FindWidgetById(kIdInstall));
  IBaseResource* hint = FindWidgetById(kIdHint);
  bool changed = false;
  if (spaceOK && install->state == kStateDisabled) {
    install->state = kStateNormal;
    changed = true;
  } else if (!spaceOK && install->state != kStateDisabled) {
    install->state = kStateDisabled;
    changed = true;
  }
  if (hint->visible == spaceOK) {
    hint->visible = !spaceOK;
    changed = true;
  }
  return changed;
}

void CCustomeView::Browse() {
  BROWSEINFOW info = {};
  info.hwndOwner = window_;
  info.lpszTitle = L"安装路径选择：";
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  std::unique_ptr<ITEMIDLIST, ItemListFree> chosen(SHBrowseForFolderW(&info));
  if (!chosen) return;
  wchar_t folder[1024] = {};
  if (SHGetPathFromIDListW(chosen.get(), folder))
    SetInstallPath(folder);
  else
    MessageBoxW(window_, L"请选择正确的安装路径！", L"路径选择错误", MB_OK);
}

void CCustomeView::StartInstall() {
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetStringProperty(prop::kConfirmEntrance, value::kEntranceStart);
  logger->WriteEvent(event::kConfirmInstall);
  WriteClickRecord(page::kCustom, action::kCustomStart);
  ShowWindow(pathBox_->Control(), SW_HIDE);
  PostMessageW(window_, WM_SWITCH_PAGE, kPageProgress, 0);
}

void CCustomeView::SetText(int id, const std::wstring& text) {
  static_cast<CTextResource*>(FindWidgetById(id))->text = text;
}
