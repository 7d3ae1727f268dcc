#include "ui/button_resource.h"

#include "ui/drawing.h"

using namespace Gdiplus;

WidgetStyle DefaultButtonStyle() {
  WidgetStyle style;
  const uint32_t backgrounds[4] = {0xFF4197FF, 0xFF62A6FB, 0xFF1873DE, 0xFFD8D8D8};
  for (int i = 0; i < 4; ++i) {
    StateStyle& state = style.states[i];
    state.textColour = 0xFFFFFFFF;
    state.borderWidth = 0;
    state.cornerRadius = 2;
    state.borderColour = 0x00FFFFFF;
    state.alignX = 1;
    state.alignY = 1;
    state.backgroundColour = backgrounds[i];
  }
  return style;
}

CButtonResource::CButtonResource(int id, const std::wstring& caption, const WidgetStyle* style)
    : CImageResource(id, style, kKindButton), caption(caption) {
  if (!style) this->style = DefaultButtonStyle();
}

bool CButtonResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  if (state >= kStateNormal && state <= kStatePressed)
    iconRect = IconRectFor(icons[state], Current().iconSide, iconRect);
  return true;
}

void CButtonResource::DrawContent(Graphics& graphics) {
  const StateStyle& look = Current();
  StringFormat format;
  SetUpFormat(format, look.alignX, look.alignY, StringFormatFlagsNoWrap, StringTrimmingEllipsisCharacter);
  Image* icon = state >= 0 && state < 4 ? icons[state] : nullptr;
  int iconWidth = 0;
  const SIZE size = ImageSize(icon);
  if (size.cx > 0 && size.cy > 0) {
    graphics.DrawImage(
        icon, Rect(iconRect.left, iconRect.top, iconRect.right - iconRect.left, iconRect.bottom - iconRect.top));
    iconWidth = iconRect.right - iconRect.left;
  }
  StyleFont font(look, WidgetScale());
  font.DrawText(graphics, caption, look.textColour, format, CaptionRect(iconWidth, look.iconSide));
}
