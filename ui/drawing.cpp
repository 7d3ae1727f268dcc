#include "ui/drawing.h"

#include <algorithm>

#include "ui/text_layout.h"

using namespace Gdiplus;

void AddRoundedPath(GraphicsPath& path, int x, int y, int w, int h, int r) {
  const int d = std::min({2 * r, w, h});
  if (d <= 0) {
    path.AddRectangle(Rect(x, y, w - 1, h - 1));
    return;
  }
  path.AddArc(x, y, d, d, 180, 90);
  if (d == 20) {
    // The 20-pixel corners are one pixel larger on the right and at the bottom.
    path.AddArc(x + w - 22, y, 21, 21, 270, 90);
    path.AddArc(x + w - 22, y + h - 22, 21, 21, 0, 90);
    path.AddArc(x, y + h - 22, 21, 21, 90, 90);
  } else {
    path.AddArc(x + w - d - 1, y, d, d, 270, 90);
    path.AddArc(x + w - d - 1, y + h - d - 1, d, d, 0, 90);
    path.AddArc(x, y + h - d - 1, d, d, 90, 90);
  }
  path.CloseFigure();
}

void FillShape(Graphics& graphics, int x, int y, int w, int h, uint32_t colour, int r) {
  if (w <= 0 || h <= 0) return;
  graphics.SetPageUnit(UnitPixel);
  SolidBrush brush{Color(colour)};
  Pen pen(Color(colour), 1.0f);
  if (r > 0) {
    GraphicsPath path;
    AddRoundedPath(path, x, y, w, h, r);
    graphics.FillPath(&brush, &path);
    graphics.DrawPath(&pen, &path);
  } else {
    graphics.FillRectangle(&brush, x, y, w - 1, h - 1);
    graphics.DrawRectangle(&pen, x, y, w - 1, h - 1);
  }
}

void DrawBorder(Graphics& graphics, int x, int y, int w, int h, int width, int r, uint32_t colour) {
  if (width < 1 || w <= 0 || h <= 0) return;
  if (r >= 1) {
    Pen pen(Color(colour), 1.0f);
    auto outline = [&] {
      GraphicsPath path;
      AddRoundedPath(path, x, y, w, h, r);
      graphics.DrawPath(&pen, &path);
    };
    outline();
    for (int i = 1; i < width; ++i) {
      x += 1;
      w -= 2;
      outline();
      y += 1;
      h -= 2;
      outline();
    }
  } else {
    Pen pen(Color(colour), static_cast<REAL>(width));
    pen.SetAlignment(PenAlignmentCenter);
    graphics.DrawRectangle(&pen, x, y, w - 1, h - 1);
  }
}

std::wstring GenericSansSerifName() {
  // The flat call, not FontFamily::GenericSansSerif(): the C++ wrapper hands
  // back a null family when GDI+ has no generic family.
  GpFontFamily* generic = nullptr;
  if (DllExports::GdipGetGenericFontFamilySansSerif(&generic) != Ok || !generic) return std::wstring();
  WCHAR name[LF_FACESIZE] = {};
  const Status status = DllExports::GdipGetFamilyName(generic, name, LANG_NEUTRAL);
  DllExports::GdipDeleteFontFamily(generic);
  return status == Ok ? std::wstring(name) : std::wstring();
}

namespace {
std::unique_ptr<FontFamily> MakeFamily(const std::wstring& name) {
  if (name.empty()) return nullptr;
  auto family = std::make_unique<FontFamily>(name.c_str());
  return family->IsAvailable() ? std::move(family) : nullptr;
}
}  // namespace

StyleFont::StyleFont(const StateStyle& style, double scale) {
  style_ = style.bold ? FontStyleBold : style.underline ? FontStyleUnderline : FontStyleRegular;
  size_ = static_cast<float>(scale * style.fontSize);
  familyName_ = style.fontFamily;
  family_ = MakeFamily(familyName_);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!family_) {
      familyName_ = GenericSansSerifName();
      family_ = MakeFamily(familyName_);
    }
    if (!family_) break;
    font_ = std::make_unique<Font>(family_.get(), size_, style_, UnitPixel);
    if (font_->GetLastStatus() == Ok) return;
    // The named family exists but gives no font: once more with the generic one.
    font_.reset();
    family_.reset();
  }
  familyName_.clear();
}

void StyleFont::DrawText(Graphics& graphics, const std::wstring& text, uint32_t colour, const StringFormat& format,
                         const RectF& layout) const {
  if (!Usable() || text.empty()) return;
  SolidBrush brush{Color(colour)};
  if (style_ == FontStyleUnderline) {
    graphics.SetTextRenderingHint(TextRenderingHintAntiAliasGridFit);
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font_.get(), layout, &format, &brush);
    return;
  }
  // Each line goes into the path by itself, aligned within its own box.
  StringFormat lineFormat;
  lineFormat.SetAlignment(format.GetAlignment());
  lineFormat.SetLineAlignment(StringAlignmentNear);
  lineFormat.SetFormatFlags(StringFormatFlagsNoWrap);
  const bool noWrap = (format.GetFormatFlags() & StringFormatFlagsNoWrap) != 0;
  const int alignY = format.GetLineAlignment() == StringAlignmentCenter ? 1
                     : format.GetLineAlignment() == StringAlignmentFar  ? 2
                                                                        : 0;
  GraphicsPath path;
  for (const TextLine& line : LayOutLines(graphics, text, *font_, layout, noWrap, alignY)) {
    path.AddString(line.text.c_str(), static_cast<INT>(line.text.size()), family_.get(), style_, size_, line.box,
                   &lineFormat);
  }
  graphics.FillPath(&brush, &path);
}

void SetUpFormat(StringFormat& format, int alignX, int alignY, int flags, StringTrimming trimming) {
  auto alignment = [](int value) {
    return value == 1 ? StringAlignmentCenter : value == 2 ? StringAlignmentFar : StringAlignmentNear;
  };
  format.SetAlignment(alignment(alignX));
  format.SetLineAlignment(alignment(alignY));
  format.SetFormatFlags(flags);
  format.SetTrimming(trimming);
}

RECT FitInside(const RECT& box, double w, double h) {
  if (w <= 0 || h <= 0) return box;
  const double boxW = box.right - box.left, boxH = box.bottom - box.top;
  const double factor = std::min(boxW / w, boxH / h);
  const double fitW = w * factor, fitH = h * factor;
  const double left = box.left + (boxW - fitW) / 2, top = box.top + (boxH - fitH) / 2;
  return RECT{RoundPixel(left), RoundPixel(top), RoundPixel(left + fitW), RoundPixel(top + fitH)};
}
