// Which widget the mouse is over: passive images, solid widgets, spacers,
// invisible widgets and layouts.
#include <gtest/gtest.h>

#include "ui/base_view.h"
#include "ui/button_resource.h"
#include "ui/image_resource.h"
#include "ui/layout_resource.h"
#include "ui/spacer_resource.h"
#include "ui/text_resource.h"

namespace {

class PlainView : public IBaseView {
 public:
  PlainView() : IBaseView(nullptr, nullptr) {}
  LRESULT WindowProc(UINT, WPARAM, LPARAM) override { return 0; }
  IBaseResource* Add(IBaseResource* widget, RECT where) {
    AddWidget(widget);
    widget->SetRect(where.left, where.top, where.right, where.bottom);
    return widget;
  }
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(HitTest, EmptyViewGivesZero) {
  PlainView view;
  EXPECT_EQ(view.HitTest(At(5, 5)), 0);
}

TEST(HitTest, FindsTheWidgetUnderThePoint) {
  // 0 background over everything, 1 button, 2 spacer, 3 button (the spacer
  // lies between the two buttons), 4 a decorative image over button 3's right
  // half, 5 a layout over all, 6 a text that is invisible, 7 a logo image
  // under a passive overlay 8.
  PlainView view;
  view.Add(new CImageResource(0, nullptr, kKindBackground), {0, 0, 600, 400});
  view.Add(new CButtonResource(1, L"a", nullptr), {10, 10, 110, 40});
  view.Add(new CSpacerResource(10), {110, 10, 130, 40});
  view.Add(new CButtonResource(3, L"b", nullptr), {130, 10, 230, 40});
  view.Add(new CImageResource(4, nullptr, kKindBackground), {180, 0, 300, 60});
  auto* layout = new CLayoutResource(kHorizontal, 9);
  view.AddWidget(layout);
  layout->rect = RECT{0, 0, 600, 400};
  view.Add(new CTextResource(8, nullptr, L"hidden"), {10, 100, 200, 130})->visible = false;
  view.Add(new CImageResource(1, nullptr, kKindImage), {300, 200, 400, 300});
  view.Add(new CImageResource(0, nullptr, kKindBackground), {350, 250, 450, 350});

  const struct {
    const char* what;
    int x, y;
    int index;
  } cases[] = {
      {"only the background", 500, 380, 0},
      {"a button over the background", 20, 20, 1},
      {"the spacer between two buttons", 120, 20, 2},
      {"a button's left half", 140, 20, 3},
      {"a solid button ends the walk before a later passive image", 200, 20, 3},
      {"a passive image over the background only", 250, 50, 4},
      {"an invisible text is still hit", 50, 110, 6},
      {"a logo under no overlay", 310, 210, 7},
      {"a logo is solid: the walk stops there", 360, 260, 7},
      {"a passive overlay alone", 440, 340, 8},
      {"right and bottom edges are outside", 110 - 1, 40, 0},
      {"outside the window", 700, 500, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(view.HitTest(At(c.x, c.y)), c.index) << c.what;
}

TEST(HitTest, LayoutsAreNeverHit) {
  PlainView view;
  auto* layout = new CLayoutResource(kVertical, 9);
  view.AddWidget(layout);
  layout->rect = RECT{0, 0, 100, 100};
  view.Add(new CSpacerResource(10), {0, 0, 100, 50});
  EXPECT_EQ(view.HitTest(At(10, 60)), 0);
  EXPECT_EQ(view.HitTest(At(10, 10)), 1);
}

TEST(FindWidgetById, FirstWithTheIdOrNull) {
  PlainView view;
  view.Add(new CImageResource(0, nullptr, kKindBackground), {0, 0, 10, 10});
  IBaseResource* first = view.Add(new CButtonResource(3, L"", nullptr), {0, 0, 10, 10});
  view.Add(new CButtonResource(3, L"", nullptr), {0, 0, 10, 10});
  EXPECT_EQ(view.FindWidgetById(3), first);
  EXPECT_EQ(view.FindWidgetById(42), nullptr);
}

}  // namespace
