#include "ui/image_resource.h"

#include <algorithm>
#include <cmath>

#include "ui/display_scale.h"
#include "ui/drawing.h"

using namespace Gdiplus;

double WidgetScale() { return GetDisplayScale().uiScale; }

SIZE ImageSize(Image* image) {
  if (!image) return SIZE{0, 0};
  return SIZE{static_cast<LONG>(image->GetWidth()), static_cast<LONG>(image->GetHeight())};
}

CImageResource::CImageResource(int id, const WidgetStyle* style, int kind) : IBaseResource(kind, id) {
  if (style) this->style = *style;
}

bool CImageResource::Draw(HDC dc) {
  if (!visible) return true;
  Graphics graphics(dc);
  graphics.SetSmoothingMode(SmoothingModeAntiAlias);
  const double s = WidgetScale();
  const StateStyle& look = Current();
  const int x = rect.left, y = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
  const int radius = static_cast<int>(s * look.cornerRadius);
  FillShape(graphics, x, y, w, h, look.backgroundColour, radius);
  const SIZE size = ImageSize(image);
  if (size.cx > 0 && size.cy > 0) {
    graphics.DrawImage(
        image, Rect(imageRect.left, imageRect.top, imageRect.right - imageRect.left, imageRect.bottom - imageRect.top));
  }
  DrawBorder(graphics, x, y, w, h, static_cast<int>(s * look.borderWidth), radius, look.borderColour);
  DrawContent(graphics);
  return true;
}

bool CImageResource::SetRect(int left, int top, int right, int bottom) {
  const double s = WidgetScale();
  const int growX = static_cast<int>(s * marginX), growY = static_cast<int>(s * marginY);
  left -= growX;
  right += growX;
  top -= growY;
  bottom += growY;
  if (std::fabs(aspectRatio) > 1e-8) {
    const double w = right - left, h = bottom - top;
    if (w > aspectRatio * h) {
      const double fitW = aspectRatio * h, x = left + (w - fitW) / 2;
      left = RoundPixel(x);
      right = RoundPixel(x + fitW);
    } else {
      const double fitH = w / aspectRatio, y = top + (h - fitH) / 2;
      top = RoundPixel(y);
      bottom = RoundPixel(y + fitH);
    }
  }
  rect = RECT{left, top, right, bottom};
  const SIZE size = ImageSize(image);
  if (size.cx > 0 && size.cy > 0) imageRect = FitInside(rect, size.cx, size.cy);
  return true;
}

void CImageResource::SetImage(Image* newImage) {
  if (newImage == image) return;
  image = newImage;
  const SIZE size = ImageSize(image);
  if (size.cx > 0 && size.cy > 0) imageRect = FitInside(rect, size.cx, size.cy);
}

RECT CImageResource::IconRectFor(Image* icon, int side, const RECT& current) const {
  const SIZE size = ImageSize(icon);
  if (size.cx <= 0 || size.cy <= 0) return current;
  const double w = rect.right - rect.left, h = rect.bottom - rect.top;
  const double factor = std::min(w / size.cx, h / size.cy);
  const double iconW = size.cx * factor, iconH = size.cy * factor;
  RECT result;
  if (side == 1) {
    result.left = RoundPixel(rect.left + w - iconW);
    result.right = rect.right;
  } else {
    result.left = rect.left;
    result.right = RoundPixel(rect.right - (w - iconW));
  }
  const double top = rect.top + (h - iconH) / 2;
  result.top = RoundPixel(top);
  result.bottom = RoundPixel(top + iconH);
  return result;
}

RectF CImageResource::CaptionRect(int iconWidth, int side) const {
  const int w = rect.right - rect.left;
  const int gap = iconWidth > 0 && w > 3 ? 3 : 0;
  const int taken = iconWidth + gap;
  const int left = side == 1 ? rect.left : rect.left + taken;
  return RectF(static_cast<REAL>(left), static_cast<REAL>(rect.top), static_cast<REAL>(w - taken),
               static_cast<REAL>(rect.bottom - rect.top));
}
