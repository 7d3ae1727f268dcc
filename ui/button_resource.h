#pragma once
#include <string>

#include "ui/image_resource.h"

// A button: a caption and an optional icon per state (borrowed). Without a
// style it is blue with white centred text and 2-pixel rounded corners.
class CButtonResource : public CImageResource {
 public:
  CButtonResource(int id, const std::wstring& caption, const WidgetStyle* style);

  // The common placement, then the icon of the current state (kept as it
  // was while disabled).
  bool SetRect(int left, int top, int right, int bottom) override;

  Gdiplus::Image* icons[4] = {};  // normal, hover, pressed, disabled
  RECT iconRect = {};
  std::wstring caption;

 protected:
  void DrawContent(Gdiplus::Graphics& graphics) override;
};

// The style of a button created without one.
WidgetStyle DefaultButtonStyle();
