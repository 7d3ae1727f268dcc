#include "ui/palette.h"

WidgetStyle PlainTextStyle(uint32_t colour, unsigned size, int alignX, bool bold) {
  WidgetStyle style;
  style.ForAll([&](StateStyle& s) {
    s.textColour = colour;
    s.fontSize = size;
    s.alignX = alignX;
    s.bold = bold;
  });
  return style;
}

WidgetStyle PageCardStyle() {
  WidgetStyle style;
  style.states[0].backgroundColour = 0xFFFFFFFF;
  style.states[0].borderWidth = 1;
  style.states[0].borderColour = 0xFFC0C0C0;
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

WidgetStyle LinkStyle(bool underline, int alignX, int iconSide) {
  WidgetStyle style;
  const uint32_t texts[4] = {0xFF4D4D4D, 0xFF535FFF, 0xFF4652F3, 0xFF4D4D4D};
  for (int i = 0; i < 4; ++i) {
    StateStyle& s = style.states[i];
    s.textColour = texts[i];
    // A disabled link is plain text.
    s.underline = underline && i < 3;
    s.fontSize = 14;
    s.alignX = alignX;
    s.iconSide = iconSide;
  }
  return style;
}

WidgetStyle CheckboxStyle() {
  WidgetStyle style;
  style.states[0].textColour = 0xFF4D4D4D;
  style.states[0].fontSize = 14;
  style.states[0].borderColour = 0x00FFFFFF;
  return style;
}
