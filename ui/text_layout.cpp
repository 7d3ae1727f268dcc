#include "ui/text_layout.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

using namespace Gdiplus;

namespace {
constexpr wchar_t kEllipsis[] = L"\u2026";

REAL WidthOf(const Graphics& graphics, const std::wstring& text, const Font& font) {
  if (text.empty()) return 0;
  StringFormat format(StringFormat::GenericTypographic());
  format.SetFormatFlags(StringFormatFlagsNoWrap | StringFormatFlagsMeasureTrailingSpaces);
  RectF bounds;
  graphics.MeasureString(text.c_str(), static_cast<INT>(text.size()), &font, PointF(0, 0), &format, &bounds);
  return bounds.Width;
}

// How many characters of `text` start a line no wider than `width`: the
// longest prefix that fits (at least one character), or up to a line feed.
size_t LineLength(const Graphics& graphics, const std::wstring& text, const Font& font, REAL width) {
  size_t low = 1, high = text.size();
  while (low < high) {  // the longest prefix that fits, at least one character
    const size_t middle = (low + high + 1) / 2;
    if (WidthOf(graphics, text.substr(0, middle), font) <= width)
      low = middle;
    else
      high = middle - 1;
  }
  const size_t newline = text.find(L'\n');
  if (newline != std::wstring::npos && newline < low) return newline + 1;
  // A Latin word is not split when a space before it allows a break;
  // Chinese text breaks between any two characters.
  const auto latin = [](wchar_t c) { return c < 0x80 && iswalnum(c); };
  if (low < text.size() && latin(text[low - 1]) && latin(text[low])) {
    const size_t space = text.rfind(L' ', low - 1);
    if (space != std::wstring::npos && space > 0) return space + 1;
  }
  // Closing punctuation never starts a line: its character moves down too.
  if (low > 1 && low < text.size() && std::wcschr(L"，。、；：？！）》」", text[low])) return low - 1;
  return low;
}

// The text cut so that it and an ellipsis fit the width.
std::wstring WithEllipsis(const Graphics& graphics, std::wstring text, const Font& font, REAL width) {
  while (!text.empty() && WidthOf(graphics, text + kEllipsis, font) > width) text.pop_back();
  while (!text.empty() && text.back() == L' ') text.pop_back();
  return text + kEllipsis;
}

std::wstring Trimmed(std::wstring line) {
  while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
  return line;
}
}  // namespace

std::vector<TextLine> LayOutLines(const Graphics& graphics, const std::wstring& text, const Font& font,
                                  const RectF& layout, bool noWrap, int alignY) {
  std::vector<TextLine> lines;
  if (text.empty() || layout.Width <= 0) return lines;
  const REAL lineHeight = font.GetHeight(&graphics);
  if (lineHeight <= 0) return lines;
  const int capacity = noWrap ? 1 : std::max(1, static_cast<int>(layout.Height / lineHeight));
  std::wstring rest = text;
  while (!rest.empty() && static_cast<int>(lines.size()) < capacity) {
    const bool last = static_cast<int>(lines.size()) == capacity - 1;
    size_t length = noWrap ? rest.size() : LineLength(graphics, rest, font, layout.Width);
    std::wstring line = Trimmed(rest.substr(0, length));
    rest.erase(0, length);
    if (noWrap && WidthOf(graphics, line, font) > layout.Width) {
      line = WithEllipsis(graphics, line, font, layout.Width);
    } else if (last && !rest.empty()) {
      line = WithEllipsis(graphics, line + rest, font, layout.Width);
      rest.clear();
    }
    lines.push_back(TextLine{line, RectF(layout.X, 0, layout.Width, lineHeight)});
  }
  const REAL block = lineHeight * lines.size();
  REAL top = layout.Y;
  if (alignY == 1) top += (layout.Height - block) / 2;
  if (alignY == 2) top += layout.Height - block;
  for (size_t i = 0; i < lines.size(); ++i) lines[i].box.Y = top + lineHeight * i;
  return lines;
}
