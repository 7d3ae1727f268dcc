// velora-gallery: every widget kind in every state on a 600 x 400 main-style
// window, and a 400 x 200 layered prompt-style window over it, drawn with the
// installer's framework and skin. Each window is its widget table plus its
// click dispatcher, as the installer's pages are. The banner plays the
// gateway's animation; the path box is the native edit box.
//   velora-gallery [MAP-FILE]
// Clicking the blue "立即安装" opens the prompt; its buttons close it; the close
// button of the main window ends the program. MAP-FILE receives the screen
// rectangles of the windows and of a few widgets, for the screenshot test.
#include <windows.h>
#include <winsock2.h>

#include <array>
#include <cstdio>
#include <functional>
#include <iterator>
#include <memory>

#include "common/product.h"
#include "download/cache_location.h"
#include "ui/base_view.h"
#include "ui/base_window.h"
#include "ui/button_resource.h"
#include "ui/checkbox_resource.h"
#include "ui/edit_resource.h"
#include "ui/layout_resource.h"
#include "ui/movie_resource.h"
#include "ui/palette.h"
#include "ui/progress_resource.h"
#include "ui/prompt_window.h"
#include "ui/resource_mgr.h"
#include "ui/ui_messages.h"
#include "ui/widget_table.h"
#include "velora_profile.h"

namespace {

constexpr wchar_t kMainClass[] = L"VeloraGalleryMain";
constexpr wchar_t kPromptClass[] = L"VeloraGalleryPrompt";

enum GalleryId { kIdClose = 100, kIdOpenPrompt = 101, kIdPromptClose = 102, kIdPromptCancel = 103, kIdPromptOk = 104 };

WidgetStyle Grey() {
  WidgetStyle style;
  const uint32_t backgrounds[4] = {0xFFF2F2F2, 0xFFE8E8E8, 0xFFDDDDDD, 0xFFF2F2F2};
  for (int i = 0; i < 4; ++i) {
    StateStyle& s = style.states[i];
    s.textColour = 0xFF4D4D4D;
    s.backgroundColour = backgrounds[i];
    s.borderColour = backgrounds[i];
    s.borderWidth = 1;
    s.cornerRadius = 2;
    s.alignX = 1;
  }
  return style;
}

WidgetStyle Panel(uint32_t background, uint32_t border, int radius) {
  WidgetStyle style;
  style.states[0].backgroundColour = background;
  style.states[0].borderColour = border;
  style.states[0].borderWidth = 1;
  style.states[0].cornerRadius = radius;
  return style;
}

const WidgetStyle kPage = PageCardStyle();
const WidgetStyle kTitle = PlainTextStyle(0xFF1A1A1A, 20, 0, true);
const WidgetStyle kBlue = MainButtonStyle();
const WidgetStyle kBack = LinkStyle(false, 0, 0);
const WidgetStyle kCustom = LinkStyle(false, 2, 1);
const WidgetStyle kAgreement = LinkStyle(true, 1, 0);
const WidgetStyle kBoxStyle = PlainTextStyle(0xFF4D4D4D, 14);
const WidgetStyle kWrapped = PlainTextStyle(0xFF4D4D4D, 12);
const WidgetStyle kCut = PlainTextStyle(0xFF1A1A1A, 14);
const WidgetStyle kNestPanel = Panel(0xFFF5F6FF, 0xFFDDE0FF, 10);
const WidgetStyle kNestTitle = PlainTextStyle(0xFF1A1A1A, 14, 0, true);
const WidgetStyle kNestNote = PlainTextStyle(0xFF8C8FA3, 12);
const WidgetStyle kWarning = PlainTextStyle(0xFFFF4D4F, 14, 2);
const WidgetStyle kPrompt = Panel(0xFFFFFFFF, 0xFFDDDDDD, 8);
const WidgetStyle kPromptTitle = PlainTextStyle(0xFF1A1A1A, 16, 0, true);
const WidgetStyle kPromptText = PlainTextStyle(0xFF4D4D4D, 14);
const WidgetStyle kGrey = Grey();
const WidgetStyle kPathBox = [] {
  WidgetStyle style;
  style.ForAll([](StateStyle& s) {
    s.textColour = 0xFF1A1A1A;
    s.fontSize = 14;
  });
  return style;
}();
const WidgetStyle kPathFrame = Panel(0xFFFFFFFF, 0xFFC0C0C0, 2);
const WidgetStyle kClear = [] {
  WidgetStyle style;
  style.ForAll([](StateStyle& s) { s.borderColour = 0x00FFFFFF; });
  return style;
}();

using Icons = std::array<const wchar_t*, 4>;
const Icons kCloseIcons = {L"global_btn_close_normal.png", L"global_btn_close_hover.png", L"global_btn_close_hover.png",
                           nullptr};
const Icons kBackIcons = {L"custom_btn_back_normal.png", L"custom_btn_back_hover.png", L"custom_btn_back_press.png",
                          nullptr};
const Icons kCustomIcons = {L"main_word_custom_normal.png", L"main_word_custom_hover.png",
                            L"main_word_custom_press.png", L"main_word_custom_normal.png"};
const Icons kBoxImages = {L"main_checkbox_select.png", L"main_checkbox_deselect.png", nullptr, nullptr};

// The main window: rows in paint order; "in" is the layout row and weight.
const WidgetRow kMainRows[] = {
    /* 0 */ {kKindLayout, 9, -1, 0, nullptr, nullptr, {}, 0, kVertical, {20, 14, 20, 14}, 8},
    /* 1 */ {kKindBackground, 0, 0, 0, nullptr, &kPage, {L"main_bg.png"}},
    /* 2 */ {kKindLayout, 9, 0, 4, nullptr, nullptr, {}, 0, kHorizontal, {}, 10},
    /* 3 */ {kKindImage, 1, 2, 1, nullptr, nullptr, {L"logo.png"}, 1.0},
    /* 4 */ {kKindText, 8, 2, 12, L"控件一览 · Velora视频模板", &kTitle},
    /* 5 */ {kKindButton, kIdClose, 2, 1, L"", &kClear, kCloseIcons, 1.0},
    /* 6 */ {kKindLayout, 9, 0, 3, nullptr, nullptr, {}, 0, kHorizontal, {}, 10},
    /* 7 */ {kKindButton, 1, 6, 1, L"正常"},
    /* 8 */ {kKindButton, 1, 6, 1, L"悬停"},
    /* 9 */ {kKindButton, 1, 6, 1, L"按下"},
    /* 10 */ {kKindButton, 1, 6, 1, L"禁用"},
    /* 11 */ {kKindLayout, 9, 0, 3, nullptr, nullptr, {}, 0, kHorizontal, {}, 10},
    /* 12 */ {kKindButton, kIdOpenPrompt, 11, 1, L"立即安装", &kBlue},
    /* 13 */ {kKindButton, 3, 11, 1, L"立即安装", &kBlue},
    /* 14 */ {kKindButton, 3, 11, 1, L"立即安装", &kBlue},
    /* 15 */ {kKindButton, 3, 11, 1, L"立即安装", &kBlue},
    /* 16 */ {kKindLayout, 9, 0, 3, nullptr, nullptr, {}, 0, kHorizontal, {}, 6},
    /* 17 */ {kKindButton, 4, 16, 4, L"返回", &kBack, kBackIcons},
    /* 18 */ {kKindButton, 4, 16, 4, L"返回", &kBack, kBackIcons},
    /* 19 */ {kKindButton, 4, 16, 6, L"自定义安装", &kCustom, kCustomIcons},
    /* 20 */ {kKindButton, 4, 16, 6, L"自定义安装", &kCustom, kCustomIcons},
    /* 21 */ {kKindButton, 5, 16, 6, L"用户使用协议", &kAgreement},
    /* 22 */ {kKindLayout, 9, 0, 4, nullptr, nullptr, {}, 0, kHorizontal, {}, 10},
    /* 23 */ {kKindLayout, 9, 22, 4, nullptr, nullptr, {}, 0, kVertical, {0, 2, 0, 2}, 6},
    /* 24 */ {kKindCheckbox, 6, 23, 1, L"我已阅读并同意", &kBoxStyle, kBoxImages},
    /* 25 */ {kKindCheckbox, 6, 23, 1, L"未勾选的选项", &kBoxStyle, kBoxImages},
    /* 26 */ {kKindText, 7, 22, 5, L"这是一段较长的说明文字，在控件的宽度内自动换行显示。", &kWrapped},
    /* 27 */
    {kKindText, 7, 22, 5, L"这段文字太长放不下时，以省略号结尾而不会越出控件的边界，后面的内容都不再显示出来", &kCut},
    /* 28 */ {kKindLayout, 9, 0, 2, nullptr, nullptr, {}, 0, kHorizontal, {0, 6, 0, 6}, 16},
    /* 29 */ {kKindProgress, 2, 28, 1},
    /* 30 */ {kKindProgress, 2, 28, 1},
    /* 31 */ {kKindProgress, 2, 28, 1},
    /* 32 */ {kKindLayout, 9, 0, 5, nullptr, nullptr, {}, 0, kHorizontal, {12, 10, 12, 10}, 10},
    /* 33 */ {kKindBackground, 0, 32, 0, nullptr, &kNestPanel},
    /* 34 */ {kKindLayout, 9, 32, 6, nullptr, nullptr, {}, 0, kVertical, {}, 2},
    /* 35 */ {kKindText, 8, 34, 1, L"嵌套布局", &kNestTitle},
    /* 36 */ {kKindText, 8, 34, 1, L"内边距 12 / 10，间距 10", &kNestNote},
    /* 37 */ {kKindImage, 1, 32, 1, nullptr, nullptr, {L"error_icon.png"}, 1.0},
    /* 38 */ {kKindImage, 1, 32, 1, nullptr, nullptr, {L"inquire_icon.png"}, 1.0},
    /* 39 */ {kKindMovie, 3, 32, 3, nullptr, nullptr, {L"install_banner.png"}, 2.0},
    /* 40 */ {kKindText, 8, 32, 5, L"磁盘空间不足", &kWarning},
    /* 41 */ {kKindLayout, 9, 0, 3, nullptr, nullptr, {}, 0, kHorizontal, {0, 4, 0, 4}, 10},
    /* 42 */ {kKindText, 8, 41, 2, L"安装路径：", &kBoxStyle},
    /* 43 */ {kKindLayout, 9, 41, 8, nullptr, nullptr, {}, 0, kHorizontal, {6, 4, 6, 4}, 0},
    /* 44 */ {kKindBackground, 0, 43, 0, nullptr, &kPathFrame},
    /* 45 */ {kKindEdit, 5, 43, 1, nullptr, &kPathBox},
};

// The banner configuration on the gateway, as the progress page asks for it.
const BannerRequest kBanner = {profile::kGatewayHost, 80,
                               std::string("/applicationService/app/installerConfig?appId=") + product::kAppId};

// The prompt: a rounded panel with a question, a message and two buttons.
const WidgetRow kPromptRows[] = {
    /* 0 */ {kKindLayout, 9, -1, 0, nullptr, nullptr, {}, 0, kVertical, {20, 14, 14, 18}, 6},
    /* 1 */ {kKindBackground, 0, 0, 0, nullptr, &kPrompt},
    /* 2 */ {kKindLayout, 9, 0, 2, nullptr, nullptr, {}, 0, kHorizontal, {}, 8},
    /* 3 */ {kKindImage, 1, 2, 1, nullptr, nullptr, {L"inquire_icon.png"}, 1.0},
    /* 4 */ {kKindText, 8, 2, 8, L"确定要退出安装吗？", &kPromptTitle},
    /* 5 */ {kKindButton, kIdPromptClose, 2, 1, L"", &kClear, kCloseIcons, 1.0},
    /* 6 */ {kKindText, 8, 0, 3, L"退出后将不会安装 Velora视频模板，已下载的内容会保留，下次可以继续。", &kPromptText},
    /* 7 */ {kKindLayout, 9, 0, 2, nullptr, nullptr, {}, 0, kHorizontal, {0, 0, 6, 0}, 12},
    /* 8 */ {kKindSpacer, 10, 7, 3},
    /* 9 */ {kKindButton, kIdPromptCancel, 7, 2, L"取消", &kGrey},
    /* 10 */ {kKindButton, kIdPromptOk, 7, 2, L"继续安装", &kBlue},
};

void MapLine(FILE* map, const char* name, RECT r, POINT origin) {
  if (map)
    std::fprintf(map, "%s %ld %ld %ld %ld\n", name, origin.x + r.left, origin.y + r.top, origin.x + r.right,
                 origin.y + r.bottom);
}

// A view built from a table and laid out over its window's client area; its
// click dispatcher hands the clicked widget's id on.
class TableView : public IBaseView {
 public:
  TableView(HWND window, IResourceMgr* resources, const WidgetRow* rows, int count, bool layered,
            std::function<void(int)> onClick, const BannerRequest* banner = nullptr)
      : IBaseView(window, resources), layered_(layered), onClick_(std::move(onClick)) {
    IBaseResource* root = BuildWidgets(*this, rows, count, banner);
    RECT client;
    GetClientRect(window, &client);
    if (root) root->SetRect(0, 0, client.right, client.bottom);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return PageProc(message, wParam, lParam, layered_);
  }
  void SetState(int index, int state) { static_cast<CImageResource*>(Widget(index))->state = state; }
  void Map(FILE* map, const char* name, int index) {
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    MapLine(map, name, Widget(index)->rect, origin);
  }

 protected:
  void OnWidgetClick(int index, LPARAM) override {
    if (IBaseResource* widget = Widget(index)) onClick_(widget->id);
  }

 private:
  bool layered_;
  std::function<void(int)> onClick_;
};

constexpr UINT kClosePrompt = WM_APP + 1;

class GalleryWindow : public IBaseWindow {
 public:
  GalleryWindow(IResourceMgr* resources, FILE* map)
      : IBaseWindow(kMainClass, nullptr, 600, 400),
        resources_(resources),
        map_(map),
        view_(
            window_, resources, kMainRows, static_cast<int>(std::size(kMainRows)), false,
            [this](int id) { OnClick(id); }, &kBanner) {
    ShowcaseStates();
    const unsigned values[3] = {0, 50, 100};
    for (int i = 0; i < 3; ++i) static_cast<CProgressResource*>(view_.Widget(29 + i))->SetProgress(values[i]);
    view_.ShowAndActivate(window_, false);
    UpdateWindow(window_);
    Map();
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case kClosePrompt:
        prompt_.reset();
        Banner()->SetPaused(false);
        return 0;
      case WM_CLOSE: PostQuitMessage(0); return 0;
      case WM_MOVIE_FRAME: view_.Redraw(); return 0;
      // A press anywhere on the page takes the focus from the path box first.
      case WM_LBUTTONDOWN: SetFocus(window_); return view_.WindowProc(message, wParam, lParam);
      // The path box's text once it loses the focus, as the custom page reads it.
      case WM_COMMAND:
        if (LOWORD(wParam) == CEditResource::kControlId && HIWORD(wParam) == EN_KILLFOCUS) MapPathText();
        return view_.WindowProc(message, wParam, lParam);
      // The path box as the custom page colours it.
      case WM_CTLCOLOREDIT:
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0x1A, 0x1A, 0x1A));
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0xFF, 0xFF, 0xFF));
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      // The showcase keeps its states whatever the pointer passes over (Wine
      // may send a move at a stale position when the window appears); the
      // prompt shows the live hover looks.
      case WM_MOUSEMOVE: return DefWindowProcW(window_, message, wParam, lParam);
      default: return view_.WindowProc(message, wParam, lParam);
    }
  }

 private:
  void OnClick(int id) {
    if (id == kIdClose) PostQuitMessage(0);
    if (id == kIdOpenPrompt && !prompt_) OpenPrompt();
    ShowcaseStates();
    view_.Redraw();
  }

  // Every state on show: the default and the blue buttons in all four, the
  // icon buttons in two, the link in hover, one checkbox off.
  void ShowcaseStates() {
    for (int state = 0; state < 4; ++state) {
      view_.SetState(7 + state, state);
      view_.SetState(12 + state, state);
    }
    view_.SetState(17, kStateNormal);
    view_.SetState(18, kStateHover);
    view_.SetState(19, kStateNormal);
    view_.SetState(20, kStatePressed);
    view_.SetState(21, kStateHover);
    static_cast<CCheckboxResource*>(view_.Widget(25))->checked = 0;
    // The icon rectangles follow the states.
    for (int index : {18, 20, 25}) {
      const RECT r = view_.Widget(index)->rect;
      view_.Widget(index)->SetRect(r.left, r.top, r.right, r.bottom);
    }
  }

  CMovieResource* Banner() { return static_cast<CMovieResource*>(view_.Widget(39)); }

  // The banner rests while a prompt is open, as on the progress page.
  void OpenPrompt() {
    Banner()->SetPaused(true);
    prompt_ = std::make_unique<CPromptWindow>(kPromptClass, window_, 400, 200);
    // Every button of the prompt closes it, after its click has been handled.
    HWND owner = window_;
    auto* view = new TableView(prompt_->Handle(), resources_, kPromptRows, static_cast<int>(std::size(kPromptRows)),
                               true, [owner](int) { PostMessageW(owner, kClosePrompt, 0, 0); });
    prompt_->SetView(std::unique_ptr<IBaseView>(view));
    view->ShowAndActivate(prompt_->Handle(), true);
    UpdateWindow(prompt_->Handle());
    RECT r;
    GetWindowRect(prompt_->Handle(), &r);
    MapLine(map_, "prompt", r, POINT{0, 0});
    view->Map(map_, "prompt_cancel", 9);
    if (map_) std::fflush(map_);
  }

  void Map() {
    RECT r;
    GetWindowRect(window_, &r);
    MapLine(map_, "main", r, POINT{0, 0});
    const char* names[] = {"button_normal", "button_hover", "button_pressed", "button_disabled"};
    for (int i = 0; i < 4; ++i) view_.Map(map_, names[i], 7 + i);
    view_.Map(map_, "close", 5);
    view_.Map(map_, "open_prompt", 12);
    view_.Map(map_, "progress_50", 30);
    view_.Map(map_, "banner", 39);
    view_.Map(map_, "path_box", 45);
    if (map_) std::fflush(map_);
  }

  void MapPathText() {
    wchar_t text[260] = {};
    GetWindowTextW(static_cast<CEditResource*>(view_.Widget(45))->Control(), text, 260);
    if (map_) {
      std::fprintf(map_, "path_text %ls\n", text);
      std::fflush(map_);
    }
  }

  IResourceMgr* resources_;
  FILE* map_;
  TableView view_;
  std::unique_ptr<CPromptWindow> prompt_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HandFoldersToLogger();
  SetProcessDPIAware();
  // The banner fetches its animation over the installer's own sockets.
  WSADATA winsock;
  WSAStartup(MAKEWORD(1, 1), &winsock);
  IResourceMgr* resources = CreateResourceManager();
  if (!resources) {
    MessageBoxW(nullptr, L"软件加载必要运行组建失败", L"错误", MB_OK);
    return 1;
  }
  FILE* map = argc > 1 ? _wfopen(argv[1], L"w") : nullptr;
  int code = 0;
  try {
    GalleryWindow gallery(resources, map);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  } catch (const char*) {
    code = 1;
  }
  if (map) std::fclose(map);
  resources->Release();
  WSACleanup();
  return code;
}
