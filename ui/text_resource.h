#pragma once
#include <string>

#include "ui/image_resource.h"

// A text that wraps inside its rectangle and ends with an ellipsis when it
// does not fit. Without a style its background is white.
class CTextResource : public CImageResource {
 public:
  CTextResource(int id, const WidgetStyle* style, const std::wstring& text);

  std::wstring text;

 protected:
  void DrawContent(Gdiplus::Graphics& graphics) override;
};
