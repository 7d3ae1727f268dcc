#include "ui/text_resource.h"

#include "ui/drawing.h"

using namespace Gdiplus;

CTextResource::CTextResource(int id, const WidgetStyle* style, const std::wstring& text)
    : CImageResource(id, style, kKindText), text(text) {
  if (!style) this->style.states[kStateNormal].backgroundColour = 0xFFFFFFFF;
}

void CTextResource::DrawContent(Graphics& graphics) {
  const StateStyle& look = Current();
  StringFormat format;
  SetUpFormat(format, look.alignX, look.alignY, 0, StringTrimmingEllipsisCharacter);
  StyleFont font(look, WidgetScale());
  font.DrawText(graphics, text, look.textColour, format,
                RectF(static_cast<REAL>(rect.left), static_cast<REAL>(rect.top),
                      static_cast<REAL>(rect.right - rect.left), static_cast<REAL>(rect.bottom - rect.top)));
}
