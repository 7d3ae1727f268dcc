#pragma once
#include <windows.h>
#include "ui/gdiplus_api.h"

#include <cstdint>
#include <memory>
#include <string>

#include "ui/widget_style.h"

// The drawing every widget shares: rounded shapes, fills, borders, fonts and
// strings, in whole pixels of the device context.

// The rounded outline of (x, y, w, h) with corner radius r: four 90-degree
// arcs of diameter min(2r, w, h). At a diameter of exactly 20 the right and
// bottom arcs are 21 pixels wide and one pixel further left and up.
void AddRoundedPath(Gdiplus::GraphicsPath& path, int x, int y, int w, int h, int r);

// Fills (x, y, w, h) with the colour, rounded when r > 0; a 1-pixel outline in
// the same colour closes the anti-aliased edge.
void FillShape(Gdiplus::Graphics& graphics, int x, int y, int w, int h, uint32_t colour, int r);

// A border of `width` pixels inside (x, y, w, h): rounded borders are drawn as
// nested 1-pixel outlines, square ones with one centred pen. Nothing when
// width < 1.
void DrawBorder(Gdiplus::Graphics& graphics, int x, int y, int w, int h, int width, int r, uint32_t colour);

// The font of a state at a scale: the style's family, or the generic
// sans-serif family when that is unknown; bold wins over underline.
class StyleFont {
 public:
  StyleFont(const StateStyle& style, double scale);
  StyleFont(const StyleFont&) = delete;
  StyleFont& operator=(const StyleFont&) = delete;

  // Whether a family and a font could be made at all.
  bool Usable() const { return family_ && font_; }
  const std::wstring& FamilyName() const { return familyName_; }
  int Style() const { return style_; }
  float Size() const { return size_; }

  // Draws the text in the layout rectangle. Underlined text goes through
  // GDI+ string drawing; all other text is filled as a path, so that the
  // graphics' anti-aliasing smooths it.
  void DrawText(Gdiplus::Graphics& graphics, const std::wstring& text, uint32_t colour,
                const Gdiplus::StringFormat& format, const Gdiplus::RectF& layout) const;

 private:
  std::unique_ptr<Gdiplus::FontFamily> family_;
  std::unique_ptr<Gdiplus::Font> font_;
  std::wstring familyName_;
  int style_ = Gdiplus::FontStyleRegular;
  float size_ = 0;
};

// The family name GDI+ offers as generic sans-serif, or "" when it has none.
std::wstring GenericSansSerifName();

// A string format with the style's alignments and the given flags and
// trimming.
void SetUpFormat(Gdiplus::StringFormat& format, int alignX, int alignY, int flags, Gdiplus::StringTrimming trimming);

// The rectangle of `size` (w x h) scaled to fit inside `box`, centred, its
// edges rounded; `box` itself when the size is empty.
RECT FitInside(const RECT& box, double w, double h);

// (int)(value + 0.5), the rounding every geometry rule uses.
inline int RoundPixel(double value) { return static_cast<int>(value + 0.5); }
