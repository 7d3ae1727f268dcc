#include "ui/tests/canvas.h"

#include <gtest/gtest.h>

#include "ui/gdiplus_session.h"

namespace ui_testing {

Canvas::Canvas(int width, int height) : width_(width), height_(height), memory_(nullptr) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = GdiObject<HBITMAP>(CreateDIBSection(memory_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  bits_ = static_cast<uint32_t*>(bits);
  selected_ = std::make_unique<SelectedObject>(memory_.Get(), bitmap_.Get());
  for (int i = 0; i < width * height; ++i) bits_[i] = kUntouched;
}

bool Canvas::AllUntouched() const {
  GdiFlush();
  for (int i = 0; i < width_ * height_; ++i)
    if (bits_[i] != kUntouched) return false;
  return true;
}

std::unique_ptr<Gdiplus::Bitmap> SolidImage(int width, int height, uint32_t argb) {
  auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(image.get());
  graphics.Clear(Gdiplus::Color(argb));
  return image;
}

namespace {
// GDI+ for the whole test program.
class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { session_ = std::make_unique<GdiplusSession>(); }
  void TearDown() override { session_.reset(); }

 private:
  std::unique_ptr<GdiplusSession> session_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
}  // namespace

}  // namespace ui_testing
