#pragma once
#include "ui/widget.h"

// Empty room in a layout; draws nothing but is hit like a solid widget.
class CSpacerResource : public IBaseResource {
 public:
  explicit CSpacerResource(int id) : IBaseResource(kKindSpacer, id) {}
  bool Draw(HDC) override { return true; }
  bool SetRect(int left, int top, int right, int bottom) override {
    rect = RECT{left, top, right, bottom};
    return true;
  }
};
