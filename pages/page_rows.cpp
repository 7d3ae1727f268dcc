#include "pages/page_rows.h"

WidgetRow LayoutRow(int id, int parent, unsigned weight, int orientation, std::array<unsigned, 4> padding) {
  WidgetRow row{kKindLayout, id, parent, weight};
  row.orientation = orientation;
  row.padding = padding;
  return row;
}

WidgetRow SpacerRow(int id, int parent, unsigned weight) { return WidgetRow{kKindSpacer, id, parent, weight}; }

WidgetStyle PlainTextStyle(uint32_t text, unsigned size, int alignX) {
  WidgetStyle style;
  style.states[0].textColour = text;
  style.states[0].fontSize = size;
  style.states[0].alignX = alignX;
  return style;
}

WidgetStyle PageCardStyle() {
  WidgetStyle style;
  style.states[0].backgroundColour = 0xFFFFFFFF;
  style.states[0].borderWidth = 1;
  style.states[0].borderColour = 0xFFC0C0C0;
  return style;
}

WidgetStyle LinkStyle(bool underline, int alignX, int iconSide) {
  WidgetStyle style;
  const uint32_t texts[4] = {0xFF4D4D4D, 0xFF535FFF, 0xFF4652F3, 0xFF4D4D4D};
  for (int i = 0; i < 4; ++i) {
    StateStyle& s = style.states[i];
    s.textColour = texts[i];
    s.underline = underline && i < 3;
    s.backgroundColour = 0x00FFFFFF;
    s.fontSize = 14;
    s.alignX = alignX;
    s.iconSide = iconSide;
  }
  return style;
}

WidgetStyle MainButtonStyle() {
  WidgetStyle style;
  const uint32_t backgrounds[4] = {0xFF535FFF, 0xFF6F79FF, 0xFF4652F3, 0xFFD8D8D8};
  for (int i = 0; i < 4; ++i) {
    StateStyle& s = style.states[i];
    s.textColour = 0xFFFFFFFF;
    s.cornerRadius = 2;
    s.alignX = 1;
    s.alignY = 1;
    s.backgroundColour = backgrounds[i];
  }
  return style;
}
