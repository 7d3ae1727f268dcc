#include "ui/progress_resource.h"

#include "ui/drawing.h"

CProgressResource::CProgressResource(const WidgetStyle* style) : CImageResource(2, style, kKindProgress) {
  if (style) return;
  StateStyle& normal = this->style.states[kStateNormal];
  normal.textColour = 0xFF4197FF;
  normal.backgroundColour = 0xFFEEEEEE;
  normal.cornerRadius = 100;
}

bool CProgressResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  return SetProgress(value);
}

bool CProgressResource::SetProgress(unsigned percent) {
  value = percent;
  const double width = rect.right - rect.left;
  barRect = RECT{rect.left, rect.top, rect.left + static_cast<int>(width * percent / 100), rect.bottom};
  return true;
}

void CProgressResource::DrawContent(Gdiplus::Graphics& graphics) {
  const StateStyle& look = Current();
  // The bar's corners use the style's radius as it stands, unscaled.
  FillShape(graphics, barRect.left, barRect.top, barRect.right - barRect.left, barRect.bottom - barRect.top,
            look.textColour, look.cornerRadius);
}
