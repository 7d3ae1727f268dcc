#pragma once
#include <vector>

#include "ui/widget.h"

class CSpacerResource;

enum LayoutOrientation : int { kVertical = 1, kHorizontal = 2 };

// An invisible container that shares its rectangle among its children by
// weight, after paddings and between them spacing (pixels at 100 %, scaled).
// The children and the background are borrowed: the view owns every widget.
class CLayoutResource : public IBaseResource {
 public:
  CLayoutResource(int orientation, int id) : IBaseResource(kKindLayout, id), orientation(orientation) {}

  bool Draw(HDC) override { return true; }
  // Places every child (whose own SetRect runs as it is placed) and the
  // background. False, and nothing placed, when the children do not fit or
  // the weights are unusable.
  bool SetRect(int left, int top, int right, int bottom) override;

  int orientation;
  unsigned padding[4] = {};  // left, top, right, bottom
  unsigned spacing = 0;
  IBaseResource* background = nullptr;
  std::vector<IBaseResource*> children;
  std::vector<unsigned> weights;
};

// Appends a child with its weight; the page also appends it to its view.
void AddChild(CLayoutResource* layout, IBaseResource* child, unsigned weight);
// A new spacer with the id, added with the weight; the caller owns it.
CSpacerResource* AddSpacer(CLayoutResource* layout, unsigned weight, int id);
