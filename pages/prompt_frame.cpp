#include "pages/prompt_frame.h"

#include "ui/layout_resource.h"

namespace {

constexpr double kButtonAspect = 38.0 / 15.0;
constexpr wchar_t kProductName[] = L"Velora视频模板";

const PromptLook kLooks[] = {
    // kReminder
    {6, 7, 5, 4, L"inquire_icon.png", 0, 0x00FFFFFF, true, L"您已安装最新版本",
     L"点击“打开”运行软件，或点击“安装”重新安装软件。", L"打开", L"安装", true, 0xFF4652F3},
    // kWarn
    {6, 7, 4, 5, L"inquire_icon.png", 4, 0x00FFFFFF, true, L"确定要取消安装吗？",
     L"安装尚未开始，关闭窗口会取消安装，点击“取消”后继续安装。", L"确认", L"取消", true, 0xFF6F79FF},
    // kError
    {5, 6, 4, 3, L"error_icon.png", 4, 0xFFC0C0C0, false, L"网络异常",
     L"检测到网络异常，必要组件无法加载，请检查网络后重试。", L"立即重试", L"稍后重试", true, 0xFF6F79FF},
    // kDownloadReminder
    {5, 6, 4, 3, L"error_icon.png", 4, 0x00FFFFFF, false, L"网络异常",
     L"您的网络环境存在网络异常，需要手动下载软件必要组件，请点击“确认”开始下载。", L"确认", L"取消", false,
     0xFF6F79FF},
    // kInstallReminder
    {5, 6, 4, 3, L"error_icon.png", 4, 0x00FFFFFF, false, L"配置环境异常",
     L"检测到配置环境存在一些问题，不过不用担心，已为您准备好安装包可供安装，是否确认手动安装？", L"确认", L"取消",
     true, 0xFF6F79FF},
};

WidgetStyle Panel(uint32_t background, uint32_t border, int radius) {
  WidgetStyle style;
  style.states[0].backgroundColour = background;
  style.states[0].borderWidth = 1;
  style.states[0].borderColour = border;
  style.states[0].cornerRadius = radius;
  return style;
}

WidgetStyle Text(uint32_t colour, int alignY) {
  WidgetStyle style;
  style.states[0].textColour = colour;
  style.states[0].fontSize = 14;
  style.states[0].alignY = alignY;
  return style;
}

// Normal, hover and pressed looks as background and text colours.
WidgetStyle Button(const uint32_t (&backgrounds)[3], const uint32_t (&texts)[3], bool border) {
  WidgetStyle style;
  style.ForAll([](StateStyle& s) {
    s.alignX = 1;
    s.alignY = 1;
    s.fontSize = 14;
    s.cornerRadius = 2;
  });
  for (int i = 0; i < 3; ++i) {
    StateStyle& s = style.states[i];
    s.backgroundColour = backgrounds[i];
    s.textColour = texts[i];
    s.borderWidth = border ? 1 : 0;
    s.borderColour = backgrounds[i];
  }
  return style;
}

}  // namespace

const std::array<const wchar_t*, 4> kCloseButtonImages = {L"global_btn_close_normal.png", L"global_btn_close_hover.png",
                                                          L"global_btn_close_hover.png", nullptr};

WidgetStyle ClearButtonStyle() {
  WidgetStyle style;
  style.ForAll([](StateStyle& s) {
    s.backgroundColour = 0x00FFFFFF;
    s.borderColour = 0x00FFFFFF;
  });
  return style;
}

const PromptLook& LookOf(PromptKind kind) { return kLooks[static_cast<int>(kind)]; }

void MakePromptRows(const PromptLook& look, PromptRows& out) {
  out.card = Panel(0xFFFFFFFF, 0xFFC0C0C0, look.cornerRadius);
  out.titleBar = Panel(0xFFF9F9F9, look.titleBorder, look.cornerRadius);
  out.title = Text(0xFF666666, 1);
  out.close = ClearButtonStyle();
  out.heading = Text(0xFF1A1A1A, 1);
  out.detail = Text(0xFF666666, 0);
  out.grey = Button({0xFFF2F2F2, 0xFFF2F2F2, 0xFFD8D8D8}, {0xFF666666, 0xFF999999, 0xFF666666}, look.greyBorder);
  out.blue = Button({0xFF535FFF, look.blueHover, 0xFF4652F3}, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, false);

  std::vector<WidgetRow>& rows = out.rows;
  rows.clear();
  // Appends a row; returns its index, the parent of later rows.
  auto add = [&rows](WidgetRow row) {
    rows.push_back(row);
    return static_cast<int>(rows.size()) - 1;
  };
  auto layout = [&](int parent, unsigned weight, int orientation, std::array<unsigned, 4> padding) {
    WidgetRow row{kKindLayout, look.layoutId, parent, weight};
    row.orientation = orientation;
    row.padding = padding;
    return add(row);
  };
  auto spacer = [&](int parent, unsigned weight) { add(WidgetRow{kKindSpacer, look.spacerId, parent, weight}); };
  auto text = [&](int parent, unsigned weight, const wchar_t* caption, const WidgetStyle* style) {
    add(WidgetRow{kKindText, look.textId, parent, weight, caption, style});
  };

  const int root = layout(-1, 0, kVertical, {});
  add(WidgetRow{kKindBackground, 0, root, 0, nullptr, &out.card});
  const int title = layout(root, 3, kHorizontal, {10, 5, 10, 5});
  WidgetRow bar{kKindBackground, 0, title, 0, nullptr, &out.titleBar};
  bar.margins = {-1, -2};
  add(bar);
  text(title, 27, kProductName, &out.title);
  if (look.closeButton) {
    add(WidgetRow{kKindButton, kPromptClose, title, 1, nullptr, &out.close, kCloseButtonImages, 1.0});
  }
  const int body = layout(root, 17, kVertical, {24, 16, 24, 16});
  const int message = layout(body, 5, kVertical, {});
  const int headingRow = layout(message, 40, kHorizontal, {});
  add(WidgetRow{kKindImage, look.iconId, headingRow, 30, nullptr, nullptr, {look.icon}});
  spacer(headingRow, 16);
  text(headingRow, 300, look.heading, &out.heading);
  const int detailRow = layout(message, 60, kHorizontal, {});
  spacer(detailRow, 30);
  spacer(detailRow, 16);
  text(detailRow, 300, look.detail, &out.detail);
  const int buttons = layout(body, 2, kHorizontal, {});
  spacer(buttons, 15);
  add(WidgetRow{kKindButton, kPromptFirst, buttons, 6, look.firstButton, &out.grey, {}, kButtonAspect});
  spacer(buttons, 1);
  add(WidgetRow{kKindButton, kPromptSecond, buttons, 6, look.secondButton, &out.blue, {}, kButtonAspect});
}
