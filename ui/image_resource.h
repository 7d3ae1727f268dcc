#pragma once
#include <windows.h>
#include "ui/gdiplus_api.h"

#include "ui/widget.h"
#include "ui/widget_style.h"

// The base of every drawable widget: a state, a style of four states, margins,
// an optional aspect ratio and an image borrowed from the resource manager.
// Sizes are multiplied by the UI scale when used.
class CImageResource : public IBaseResource {
 public:
  // kind is kKindBackground or kKindImage for plain images; null style: defaults.
  CImageResource(int id, const WidgetStyle* style, int kind);

  // Background, image and border, then the class's own content; nothing at
  // all when invisible.
  bool Draw(HDC dc) override;
  // Grows the rectangle by the margins, fits the aspect ratio, then places
  // the image inside it.
  bool SetRect(int left, int top, int right, int bottom) override;
  // Stores a different image and places it; null is allowed.
  void SetImage(Gdiplus::Image* newImage);

  int state = kStateNormal;
  WidgetStyle style;
  int marginX = 0;
  int marginY = 0;
  double aspectRatio = 0;  // width / height; 0 means free
  Gdiplus::Image* image = nullptr;
  RECT imageRect = {};

 protected:
  // The style of the current state (a default one outside 0..3).
  const StateStyle& Current() const { return StyleOfState(style, state); }
  // What the class draws over the common part.
  virtual void DrawContent(Gdiplus::Graphics&) {}
  // The rectangle of an image fitted into `rect` on the style's icon side
  // (left or right), vertically centred; `current` when there is no image.
  RECT IconRectFor(Gdiplus::Image* icon, int side, const RECT& current) const;
  // `rect` less an icon of `iconWidth` and its gap on `side`.
  Gdiplus::RectF CaptionRect(int iconWidth, int side) const;
};

// The UI scale widgets draw at.
double WidgetScale();
// A borrowed image's size in pixels, 0 x 0 for null or undecodable images.
SIZE ImageSize(Gdiplus::Image* image);
