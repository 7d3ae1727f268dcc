#include "ui/checkbox_resource.h"

#include "ui/drawing.h"

using namespace Gdiplus;

CCheckboxResource::CCheckboxResource(int id, const WidgetStyle* style, const std::wstring& caption, Image* selectImage,
                                     Image* deselectImage)
    : CImageResource(id, style, kKindCheckbox),
      selectImage(selectImage),
      deselectImage(deselectImage),
      caption(caption) {
  if (style) return;
  const uint32_t texts[3] = {0xFF4D4D4D, 0xFF4197FF, 0xFF1873DE};
  for (int i = 0; i < 4; ++i) {
    if (i < 3) this->style.states[i].textColour = texts[i];
    this->style.states[i].backgroundColour = 0x00FFFFFF;
    this->style.states[i].borderColour = 0x00FFFFFF;
  }
}

bool CCheckboxResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  Image* box = checked == 1 ? selectImage : checked == 0 ? deselectImage : nullptr;
  checkRect = IconRectFor(box, Current().iconSide, checkRect);
  return true;
}

void CCheckboxResource::Toggle() {
  checked = checked ? 0 : 1;
  checkRect = IconRectFor(checked ? selectImage : deselectImage, Current().iconSide, checkRect);
}

void CCheckboxResource::DrawContent(Graphics& graphics) {
  const StateStyle& look = Current();
  StringFormat format;
  SetUpFormat(format, look.alignX, 1, StringFormatFlagsNoWrap, StringTrimmingEllipsisCharacter);
  StyleFont font(look, WidgetScale());
  font.DrawText(graphics, caption, look.textColour, format,
                CaptionRect(checkRect.right - checkRect.left, look.iconSide));
  Image* box = checked ? selectImage : deselectImage;
  const SIZE size = ImageSize(box);
  if (size.cx > 0 && size.cy > 0) {
    graphics.DrawImage(
        box, Rect(checkRect.left, checkRect.top, checkRect.right - checkRect.left, checkRect.bottom - checkRect.top));
  }
}
