#pragma once
#include <array>
#include <cstdint>

#include "ui/layout_resource.h"  // kVertical, kHorizontal
#include "ui/widget_style.h"
#include "ui/widget_table.h"

// Rows and looks that the main window's pages share.

// A layout row: 1 vertical, 2 horizontal; padding left, top, right, bottom.
WidgetRow LayoutRow(int id, int parent, unsigned weight, int orientation, std::array<unsigned, 4> padding = {});
WidgetRow SpacerRow(int id, int parent, unsigned weight);

// A text in one colour and size; alignX 0 left, 1 centre, 2 right.
WidgetStyle PlainTextStyle(uint32_t text, unsigned size, int alignX);
// The page's white card with its grey border.
WidgetStyle PageCardStyle();
// A text link: grey, blue on hover, darker blue when pressed, on a clear
// background, size 14, underlined (but not when disabled) when asked;
// alignX as above, iconSide 0 left, 1 right.
WidgetStyle LinkStyle(bool underline, int alignX, int iconSide);
// The large blue button of the welcome and finished pages, in its four states.
WidgetStyle MainButtonStyle();
