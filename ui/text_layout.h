#pragma once
#include <string>
#include <vector>

#include "ui/gdiplus_api.h"

// Lines of a text laid out in a rectangle, for drawing the text as a path.
// GDI+ path strings are laid out here rather than by AddString itself: Wine's
// AddString keeps only the first line and ignores the vertical alignment
// and the ellipsis, so every line is placed (and cut) before it is added.
struct TextLine {
  std::wstring text;
  Gdiplus::RectF box;  // one line high, the layout's width
};

// The lines of `text` in `layout`: broken at the layout's width unless
// noWrap, as many as fit (at least one), the last one ending in "…" when text
// is left over, the block placed by alignY (0 top, 1 centre, 2 bottom).
std::vector<TextLine> LayOutLines(const Gdiplus::Graphics& graphics, const std::wstring& text,
                                  const Gdiplus::Font& font, const Gdiplus::RectF& layout, bool noWrap, int alignY);
