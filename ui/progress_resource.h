#pragma once
#include "ui/image_resource.h"

// A progress bar: a track in the background colour and a bar in the text
// colour, as wide as the percentage of the track. Its id is always 2.
class CProgressResource : public CImageResource {
 public:
  explicit CProgressResource(const WidgetStyle* style);

  // The common placement, then the bar for the current value.
  bool SetRect(int left, int top, int right, int bottom) override;
  // Stores the percentage and sizes the bar from the current rectangle.
  bool SetProgress(unsigned percent);

  RECT barRect = {};
  unsigned value = 0;

 protected:
  void DrawContent(Gdiplus::Graphics& graphics) override;
};
