#include "ui/layout_resource.h"

#include <numeric>

#include "ui/display_scale.h"
#include "ui/drawing.h"
#include "ui/spacer_resource.h"

void AddChild(CLayoutResource* layout, IBaseResource* child, unsigned weight) {
  layout->children.push_back(child);
  layout->weights.push_back(weight);
}

CSpacerResource* AddSpacer(CLayoutResource* layout, unsigned weight, int id) {
  auto* spacer = new CSpacerResource(id);
  AddChild(layout, spacer, weight);
  return spacer;
}

bool CLayoutResource::SetRect(int l, int t, int r, int b) {
  rect = RECT{l, t, r, b};
  if (weights.size() != children.size() || children.empty()) return false;
  const double total = std::accumulate(weights.begin(), weights.end(), 0.0);
  if (total == 0) return false;
  const double s = GetDisplayScale().uiScale;
  const double padL = s * padding[0], padT = s * padding[1], padR = s * padding[2], padB = s * padding[3];
  const double gap = s * spacing;
  const double n = static_cast<double>(children.size());
  const double gaps = (n - 1) * gap;
  if (orientation == kVertical) {
    if (b - t < n + padT + padB + gaps || r - l < padL + padR) return false;
    const double unit = (b - t - padT - padB - gaps) / total;
    double y = t + padT;
    for (size_t j = 0; j < children.size(); ++j) {
      const double h = weights[j] * unit;
      children[j]->SetRect(RoundPixel(l + padL), RoundPixel(y), RoundPixel(r - padR), RoundPixel(y + h));
      y += h + gap;
    }
  } else if (orientation == kHorizontal) {
    if (r - l < n + padL + padR + gaps || b - t < padT + padB) return false;
    const double unit = (r - l - padL - padR - gaps) / total;
    double x = l + padL;
    for (size_t j = 0; j < children.size(); ++j) {
      const double w = weights[j] * unit;
      children[j]->SetRect(RoundPixel(x), RoundPixel(t + padT), RoundPixel(x + w), RoundPixel(b - padB));
      x += w + gap;
    }
  }
  if (background) background->SetRect(l, t, r, b);
  return true;
}
