#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "ui/widget.h"
#include "ui/widget_style.h"

class IBaseView;

// One row of a page's widget table. Rows are in creation order, which is also
// the view's list, paint and hit-test order.
struct WidgetRow {
  WidgetKind kind;
  int id;
  int parent = -1;                     // row of the layout it belongs to; -1 for the root
  unsigned weight = 0;                 // its share along that layout; 0: the layout's background
  const wchar_t* text = nullptr;       // caption or text
  const WidgetStyle* style = nullptr;  // null: the class's defaults
  // Skin file names: an image's picture in [0]; a button's icon per state;
  // a checkbox's select and deselect pictures in [0] and [1].
  std::array<const wchar_t*, 4> images = {};
  double aspectRatio = 0;
  // Layouts: 1 vertical, 2 horizontal; padding left, top, right, bottom and
  // spacing, pixels at 100 %.
  int orientation = 0;
  std::array<unsigned, 4> padding = {};
  unsigned spacing = 0;
  bool hidden = false;
  // Drawable widgets: marginX and marginY, pixels at 100 % (negative shrinks).
  std::array<int, 2> margins = {};
};

// A layout's row: orientation 1 vertical, 2 horizontal; padding at 100 %.
inline WidgetRow LayoutRow(int id, int parent, unsigned weight, int orientation, std::array<unsigned, 4> padding = {}) {
  WidgetRow row{kKindLayout, id, parent, weight};
  row.orientation = orientation;
  row.padding = padding;
  return row;
}

// A spacer's row: empty room of `weight` in its layout.
inline WidgetRow SpacerRow(int id, int parent, unsigned weight) { return WidgetRow{kKindSpacer, id, parent, weight}; }

// Where an animated banner asks for its configuration.
struct BannerRequest {
  std::string host;
  uint16_t port = 80;
  std::string path;
};

// Makes the widgets of the rows, appends them to the view in row order and
// links each to its layout; returns the widget of the first row (the root),
// or null for an empty table. Images come from the view's resource manager.
// An edit box becomes the native control in the view's window (throwing
// "create widget error" when it cannot be made); an animated image shows its
// images[0] until the banner of `banner` arrives (never without one).
IBaseResource* BuildWidgets(IBaseView& view, const WidgetRow* rows, int count, const BannerRequest* banner = nullptr);
