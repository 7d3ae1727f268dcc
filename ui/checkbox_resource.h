#pragma once
#include <string>

#include "ui/image_resource.h"

// A checkbox: its box image (checked or not, borrowed) beside a caption.
class CCheckboxResource : public CImageResource {
 public:
  CCheckboxResource(int id, const WidgetStyle* style, const std::wstring& caption, Gdiplus::Image* selectImage,
                    Gdiplus::Image* deselectImage);

  // The common placement, then the box from the image of `checked`.
  bool SetRect(int left, int top, int right, int bottom) override;
  // Flips `checked` and places the box picture of the new value where the
  // old one was.
  void Toggle();

  Gdiplus::Image* selectImage;
  Gdiplus::Image* deselectImage;
  RECT checkRect = {};
  int checked = 1;
  std::wstring caption;

 protected:
  void DrawContent(Gdiplus::Graphics& graphics) override;
};
