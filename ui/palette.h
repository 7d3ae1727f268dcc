#pragma once
#include <cstdint>

#include "ui/widget_style.h"

// The installer's looks, shared by its pages, its prompts and the gallery.

// Text of one colour and size; alignX 0 near, 1 centre, 2 far.
WidgetStyle PlainTextStyle(uint32_t colour, unsigned size, int alignX = 0, bool bold = false);
// A page's white ground inside a one-pixel grey frame.
WidgetStyle PageCardStyle();
// The blue main action ("立即安装", "立即体验"): white centred text, grey
// when disabled.
WidgetStyle MainButtonStyle();
// A text link, grey turning blue under the pointer; iconSide 0 left, 1 right.
WidgetStyle LinkStyle(bool underline, int alignX, int iconSide);
// A checkbox's caption: grey text on nothing.
WidgetStyle CheckboxStyle();
