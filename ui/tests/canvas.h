#pragma once
#include <windows.h>
#include "ui/gdiplus_api.h"

#include <cstdint>
#include <memory>
#include <ostream>

#include "ui/display_scale.h"
#include "ui/gdi_owners.h"

namespace ui_testing {

// A top-down 32-bit DIB section selected into a memory context, filled with
// a marker value so that untouched pixels can be told apart.
class Canvas {
 public:
  static constexpr uint32_t kUntouched = 0x5A123456;
  Canvas(int width, int height);
  HDC Dc() const { return memory_.Get(); }
  // 0xAARRGGBB as the DIB holds it.
  uint32_t Pixel(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x];
  }
  // The colour without alpha.
  uint32_t Rgb(int x, int y) const { return Pixel(x, y) & 0xFFFFFF; }
  bool AllUntouched() const;

 private:
  int width_, height_;
  MemoryDc memory_;
  uint32_t* bits_ = nullptr;
  GdiObject<HBITMAP> bitmap_;
  std::unique_ptr<SelectedObject> selected_;
};

// Sets the UI scale for one test and puts the old value back.
class ScaleScope {
 public:
  explicit ScaleScope(double scale) : old_(GetDisplayScale().uiScale) { GetDisplayScale().uiScale = scale; }
  ~ScaleScope() { GetDisplayScale().uiScale = old_; }

 private:
  double old_;
};

// A solid ARGB bitmap of the size, as a skin image stands in for.
std::unique_ptr<Gdiplus::Bitmap> SolidImage(int width, int height, uint32_t argb);

}  // namespace ui_testing

// Rectangles in test messages.
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}
