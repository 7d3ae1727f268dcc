// Widgets drawn with real GDI+ into a 32-bit DIB: default looks in every
// state, rounded corners, the progress bar, invisible widgets, fonts; and the
// placement rules of SetRect.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/button_resource.h"
#include "ui/checkbox_resource.h"
#include "ui/drawing.h"
#include "ui/progress_resource.h"
#include "ui/tests/canvas.h"
#include "ui/text_resource.h"

namespace {

using ui_testing::Canvas;
using ui_testing::ScaleScope;
using ui_testing::SolidImage;

bool SameRect(const RECT& r, int l, int t, int rr, int b) {
  return r.left == l && r.top == t && r.right == rr && r.bottom == b;
}

TEST(Style, DefaultsOfEveryClass) {
  const StateStyle plain;
  EXPECT_EQ(plain.textColour, 0xFF000000u);
  EXPECT_EQ(plain.backgroundColour, 0x00FFFFFFu);
  EXPECT_EQ(plain.borderColour, 0xFFC0C0C0u);
  EXPECT_EQ(plain.fontSize, 16u);
  EXPECT_EQ(plain.fontFamily, L"Microsoft Yahei");  // the bench reports Windows 7
  EXPECT_EQ(plain.alignX, 0);
  EXPECT_EQ(plain.alignY, 1);

  const CButtonResource button(1, L"", nullptr);
  const uint32_t buttonBackgrounds[4] = {0xFF4197FF, 0xFF62A6FB, 0xFF1873DE, 0xFFD8D8D8};
  for (int i = 0; i < 4; ++i) {
    const StateStyle& s = button.style.states[i];
    EXPECT_EQ(s.backgroundColour, buttonBackgrounds[i]);
    EXPECT_EQ(s.textColour, 0xFFFFFFFFu);
    EXPECT_EQ(s.cornerRadius, 2);
    EXPECT_EQ(s.borderColour, 0x00FFFFFFu);
    EXPECT_EQ(s.alignX, 1);
  }
  const CCheckboxResource box(6, nullptr, L"", nullptr, nullptr);
  EXPECT_EQ(box.checked, 1);
  EXPECT_EQ(box.style.states[0].textColour, 0xFF4D4D4Du);
  EXPECT_EQ(box.style.states[1].textColour, 0xFF4197FFu);
  EXPECT_EQ(box.style.states[2].textColour, 0xFF1873DEu);
  EXPECT_EQ(box.style.states[3].textColour, 0xFF000000u);
  EXPECT_EQ(box.style.states[3].borderColour, 0x00FFFFFFu);
  const CTextResource text(8, nullptr, L"");
  EXPECT_EQ(text.style.states[0].backgroundColour, 0xFFFFFFFFu);
  EXPECT_EQ(text.style.states[1].backgroundColour, 0x00FFFFFFu);
  const CProgressResource bar(nullptr);
  EXPECT_EQ(bar.id, 2);
  EXPECT_EQ(bar.value, 0u);
  EXPECT_EQ(bar.style.states[0].textColour, 0xFF4197FFu);
  EXPECT_EQ(bar.style.states[0].backgroundColour, 0xFFEEEEEEu);
  EXPECT_EQ(bar.style.states[0].cornerRadius, 100);
  const CImageResource image(0, nullptr, kKindBackground);
  EXPECT_TRUE(SameRect(image.rect, 0, 0, 50, 20));
  EXPECT_TRUE(image.visible);

  // A given style is copied; a state outside 0..3 looks like a new StateStyle.
  WidgetStyle custom;
  custom.states[0].backgroundColour = 0xFF535FFF;
  const CButtonResource styled(3, L"", &custom);
  EXPECT_EQ(styled.style.states[0].backgroundColour, 0xFF535FFFu);
  EXPECT_EQ(styled.style.states[1].backgroundColour, 0x00FFFFFFu);
  EXPECT_EQ(StyleOfState(button.style, 7).backgroundColour, 0x00FFFFFFu);
  EXPECT_EQ(StyleOfState(button.style, -1).textColour, 0xFF000000u);
}

TEST(Draw, DefaultButtonInEveryState) {
  ScaleScope scale(1.0);
  const struct {
    int state;
    uint32_t rgb;
  } cases[] = {{0, 0x4197FF}, {1, 0x62A6FB}, {2, 0x1873DE}, {3, 0xD8D8D8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    Canvas canvas(120, 50);
    CButtonResource button(1, L"安装", nullptr);
    button.SetRect(10, 10, 110, 40);
    button.state = c.state;
    EXPECT_TRUE(button.Draw(canvas.Dc()));
    EXPECT_EQ(canvas.Rgb(12, 25), c.rgb);                  // centre left
    EXPECT_EQ(canvas.Rgb(108, 25), c.rgb);                 // centre right
    EXPECT_EQ(canvas.Pixel(5, 25), Canvas::kUntouched);    // outside
    EXPECT_EQ(canvas.Pixel(110, 25), Canvas::kUntouched);  // right edge is exclusive
    EXPECT_EQ(canvas.Pixel(10, 10), Canvas::kUntouched);   // the 2-pixel corner
    int white = 0;
    for (int x = 40; x < 80; ++x)
      for (int y = 15; y < 35; ++y) white += canvas.Rgb(x, y) == 0xFFFFFF;
    EXPECT_GT(white, 10) << "the white caption";
  }
}

TEST(Draw, UnknownStateDrawsWithDefaultLooks) {
  ScaleScope scale(1.0);
  Canvas canvas(120, 50);
  CButtonResource button(1, L"", nullptr);
  button.SetRect(10, 10, 110, 40);
  button.state = 7;
  EXPECT_TRUE(button.Draw(canvas.Dc()));
  // A transparent background and no border: nothing visible changes.
  EXPECT_EQ(canvas.Rgb(12, 25), Canvas::kUntouched & 0xFFFFFF);
}

TEST(Draw, InvisibleWidgetLeavesTheDibUntouched) {
  Canvas canvas(120, 50);
  CButtonResource button(1, L"安装", nullptr);
  button.SetRect(10, 10, 110, 40);
  button.visible = false;
  EXPECT_TRUE(button.Draw(canvas.Dc()));
  EXPECT_TRUE(canvas.AllUntouched());
}

TEST(Draw, RoundedRectangleLeavesItsCornersUntouched) {
  for (double s : {1.0, 1.5}) {
    SCOPED_TRACE(s);
    ScaleScope scale(s);
    Canvas canvas(140, 80);
    WidgetStyle style;
    style.states[0].backgroundColour = 0xFF535FFF;
    style.states[0].cornerRadius = 10;
    style.states[0].borderWidth = 1;
    style.states[0].borderColour = 0xFF4652F3;
    CImageResource panel(0, &style, kKindBackground);
    panel.SetRect(10, 10, 130, 70);
    panel.Draw(canvas.Dc());
    for (POINT corner : {POINT{10, 10}, POINT{129, 10}, POINT{10, 69}, POINT{129, 69}, POINT{11, 11}})
      EXPECT_EQ(canvas.Pixel(corner.x, corner.y), Canvas::kUntouched) << corner.x << "," << corner.y;
    EXPECT_EQ(canvas.Rgb(70, 40), 0x535FFFu);
    EXPECT_EQ(canvas.Rgb(10, 40), 0x4652F3u);   // the border on the left edge
    EXPECT_EQ(canvas.Rgb(129, 40), 0x4652F3u);  // and on the right one
    EXPECT_EQ(canvas.Pixel(130, 40), Canvas::kUntouched);
  }
}

// Whether the rounded path of (0, 0, 100, 50) with radius r passes through (x, y).
bool PathHasPoint(int r, float x, float y) {
  Gdiplus::GraphicsPath path;
  AddRoundedPath(path, 0, 0, 100, 50, r);
  const int count = path.GetPointCount();
  std::vector<Gdiplus::PointF> points(count);
  path.GetPathPoints(points.data(), count);
  for (const Gdiplus::PointF& p : points)
    if (std::fabs(p.X - x) < 1e-3 && std::fabs(p.Y - y) < 1e-3) return true;
  return false;
}

TEST(RoundedPath, DiameterTwentyUsesTwentyOnePixelArcs) {
  // Where the top-right arc starts (at 270 degrees, on the top edge) and the
  // bottom-left one (at 90 degrees, on the bottom edge, y = 49).
  const struct {
    int r;
    float topRightX, bottomLeftX;
  } cases[] = {
      {9, 100 - 19 + 9.0f, 9.0f},     // d = 18: arcs at x + w - d - 1
      {10, 100 - 22 + 10.5f, 10.5f},  // d = 20: 21-pixel arcs at x + w - 22
      {11, 100 - 23 + 11.0f, 11.0f},  // d = 22: the plain rule again
      {40, 100 - 51 + 25.0f, 25.0f},  // d = min(2r, w, h) = 50
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.r);
    EXPECT_TRUE(PathHasPoint(c.r, 0, std::min(c.r, 25)));  // the top-left arc starts at 180 degrees
    EXPECT_TRUE(PathHasPoint(c.r, c.topRightX, 0));
    EXPECT_TRUE(PathHasPoint(c.r, c.bottomLeftX, 49));
  }
}

TEST(Draw, ProgressBarCoversItsShareOfTheTrack) {
  ScaleScope scale(1.0);
  const struct {
    unsigned percent;
    int barRight;  // exclusive; 0 for no bar
  } cases[] = {{0, 0}, {50, 100}, {100, 200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    Canvas canvas(220, 30);
    CProgressResource bar(nullptr);
    bar.SetRect(0, 5, 200, 25);
    EXPECT_TRUE(bar.SetProgress(c.percent));
    EXPECT_TRUE(SameRect(bar.barRect, 0, 5, c.barRight, 25)) << bar.barRect;
    bar.Draw(canvas.Dc());
    if (c.barRight) {
      EXPECT_EQ(canvas.Rgb(c.barRight / 2, 15), 0x4197FFu);
      EXPECT_EQ(canvas.Rgb(c.barRight - 1, 15), 0x4197FFu) << "the bar ends at its right column";
    } else {
      EXPECT_EQ(canvas.Rgb(10, 15), 0xEEEEEEu) << "an empty bar shows only the track";
    }
    if (c.barRight < 200) {
      EXPECT_EQ(canvas.Rgb(c.barRight + 1, 15), 0xEEEEEEu);
    }
    EXPECT_EQ(canvas.Pixel(205, 15), Canvas::kUntouched);
  }
}

TEST(Fonts, BoldWinsOverUnderline) {
  const struct {
    bool bold, underline;
    int style;
  } cases[] = {{false, false, Gdiplus::FontStyleRegular},
               {true, false, Gdiplus::FontStyleBold},
               {false, true, Gdiplus::FontStyleUnderline},
               {true, true, Gdiplus::FontStyleBold}};
  for (const auto& c : cases) {
    StateStyle style;
    style.bold = c.bold;
    style.underline = c.underline;
    EXPECT_EQ(StyleFont(style, 1.0).Style(), c.style) << c.bold << c.underline;
  }
  StateStyle sized;
  sized.fontSize = 14;
  EXPECT_FLOAT_EQ(StyleFont(sized, 1.5).Size(), 21.0f);
}

TEST(Fonts, UnknownFamilyFallsBackToSansSerifAndStillDraws) {
  ScaleScope scale(1.0);
  const std::wstring generic = GenericSansSerifName();
  ASSERT_FALSE(generic.empty());
  StateStyle known;
  EXPECT_TRUE(StyleFont(known, 1.0).Usable());
  EXPECT_EQ(StyleFont(known, 1.0).FamilyName(), L"Microsoft Yahei");
  for (bool underline : {false, true}) {
    SCOPED_TRACE(underline);
    WidgetStyle style;
    style.states[0].fontFamily = L"No Such Family 42";
    style.states[0].underline = underline;
    style.states[0].backgroundColour = 0x00FFFFFF;
    const StyleFont font(style.states[0], 1.0);
    EXPECT_TRUE(font.Usable());
    EXPECT_EQ(font.FamilyName(), generic);
    Canvas canvas(200, 40);
    CTextResource text(8, &style, L"Velora 视频模板");
    text.SetRect(0, 0, 200, 40);
    text.Draw(canvas.Dc());
    EXPECT_FALSE(canvas.AllUntouched()) << "the text was drawn with the fallback family";
  }
}

TEST(SetRect, MarginsAspectRatioAndImageFit) {
  auto image = SolidImage(60, 30, 0xFF00FF00);
  const struct {
    const char* what;
    double scale;
    int marginX, marginY;
    double ratio;
    RECT given;
    RECT rect, imageRect;
  } cases[] = {
      {"no rules", 1.0, 0, 0, 0, {0, 0, 100, 100}, {0, 0, 100, 100}, {0, 25, 100, 75}},
      {"margins grow", 1.0, 5, 3, 0, {10, 10, 110, 60}, {5, 7, 115, 63}, {5, 8, 115, 63}},
      {"margins scale and truncate", 1.5, 5, 3, 0, {10, 10, 110, 60}, {3, 6, 117, 64}, {3, 7, 117, 64}},
      {"negative margins shrink", 1.0, -10, -5, 0, {0, 0, 100, 60}, {10, 5, 90, 55}, {10, 10, 90, 50}},
      {"ratio in a wide box keeps the height", 1.0, 0, 0, 2.0, {0, 0, 300, 100}, {50, 0, 250, 100}, {50, 0, 250, 100}},
      {"ratio in a tall box keeps the width", 1.0, 0, 0, 2.0, {0, 0, 100, 100}, {0, 25, 100, 75}, {0, 25, 100, 75}},
      {"ratio 3.5 rounds its edges", 1.0, 0, 0, 3.5, {0, 0, 100, 40}, {0, 6, 100, 34}, {22, 6, 78, 34}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScaleScope scale(c.scale);
    CImageResource widget(1, nullptr, kKindImage);
    widget.marginX = c.marginX;
    widget.marginY = c.marginY;
    widget.aspectRatio = c.ratio;
    widget.SetImage(image.get());
    EXPECT_TRUE(widget.SetRect(c.given.left, c.given.top, c.given.right, c.given.bottom));
    EXPECT_TRUE(SameRect(widget.rect, c.rect.left, c.rect.top, c.rect.right, c.rect.bottom)) << widget.rect;
    EXPECT_TRUE(SameRect(widget.imageRect, c.imageRect.left, c.imageRect.top, c.imageRect.right, c.imageRect.bottom))
        << widget.imageRect;
  }
}

TEST(SetRect, IconsSitOnTheirSideAndKeepTheirPlaceWhileDisabled) {
  ScaleScope scale(1.0);
  auto icon = SolidImage(32, 32, 0xFF535FFF);
  auto wide = SolidImage(64, 32, 0xFF535FFF);
  CButtonResource button(4, L"自定义安装", nullptr);
  for (Gdiplus::Image*& slot : button.icons) slot = icon.get();
  button.SetRect(0, 0, 100, 20);
  EXPECT_TRUE(SameRect(button.iconRect, 0, 0, 20, 20)) << button.iconRect;
  for (StateStyle& s : button.style.states) s.iconSide = 1;
  button.SetRect(0, 0, 100, 20);
  EXPECT_TRUE(SameRect(button.iconRect, 80, 0, 100, 20)) << button.iconRect;
  button.icons[kStateDisabled] = wide.get();
  button.state = kStateDisabled;
  button.SetRect(0, 10, 100, 50);
  EXPECT_TRUE(SameRect(button.iconRect, 80, 0, 100, 20)) << "unchanged while disabled";

  CCheckboxResource box(6, nullptr, L"我已阅读并同意", icon.get(), wide.get());
  box.SetRect(10, 0, 210, 16);
  EXPECT_TRUE(SameRect(box.checkRect, 10, 0, 26, 16)) << box.checkRect;
  box.checked = 0;
  box.SetRect(10, 0, 210, 16);
  EXPECT_TRUE(SameRect(box.checkRect, 10, 0, 42, 16)) << box.checkRect;
}

TEST(Draw, CheckboxShowsItsPictureAndCaption) {
  ScaleScope scale(1.0);
  auto checkedImage = SolidImage(32, 32, 0xFF535FFF);
  auto uncheckedImage = SolidImage(32, 32, 0xFFB4B8D4);
  for (int checked : {1, 0}) {
    Canvas canvas(200, 20);
    CCheckboxResource box(6, nullptr, L"我已阅读并同意", checkedImage.get(), uncheckedImage.get());
    box.checked = checked;
    box.SetRect(0, 2, 200, 18);
    box.Draw(canvas.Dc());
    EXPECT_EQ(canvas.Rgb(8, 10), checked ? 0x535FFFu : 0xB4B8D4u);
    int caption = 0;
    for (int x = 20; x < 200; ++x)
      for (int y = 2; y < 18; ++y) caption += canvas.Pixel(x, y) != Canvas::kUntouched;
    EXPECT_GT(caption, 20) << "the caption beside the box";
  }
}

}  // namespace
