// Geometry of layouts: weights, paddings and spacing at two scales, nested
// layouts, backgrounds, and the cases a layout refuses.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ui/layout_resource.h"
#include "ui/spacer_resource.h"
#include "ui/tests/canvas.h"

namespace {

using ui_testing::ScaleScope;

struct Box {
  int left, top, right, bottom;
};
bool operator==(const RECT& r, const Box& b) {
  return r.left == b.left && r.top == b.top && r.right == b.right && r.bottom == b.bottom;
}

struct LayoutCase {
  const char* name;
  double scale;
  int orientation;
  std::vector<unsigned> weights;
  unsigned padding[4];
  unsigned spacing;
  Box area;
  bool placed;
  std::vector<Box> expected;  // the children's rectangles when placed
};

const Box kUnplaced{0, 0, 50, 20};

const LayoutCase kCases[] = {
    {"vertical 1:2:1 over 100",
     1.0,
     kVertical,
     {1, 2, 1},
     {0, 0, 0, 0},
     0,
     {0, 0, 40, 100},
     true,
     {{0, 0, 40, 25}, {0, 25, 40, 75}, {0, 75, 40, 100}}},
    {"horizontal with paddings and spacing",
     1.0,
     kHorizontal,
     {1, 1},
     {10, 5, 10, 5},
     20,
     {0, 0, 220, 50},
     true,
     {{10, 5, 100, 45}, {120, 5, 210, 45}}},
    {"paddings and spacing scaled by 1.5",
     1.5,
     kHorizontal,
     {1, 1},
     {10, 5, 10, 5},
     20,
     {0, 0, 330, 75},
     true,
     {{15, 8, 150, 68}, {180, 8, 315, 68}}},
    {"vertical, rounding of thirds",
     1.0,
     kVertical,
     {1, 1, 1},
     {0, 0, 0, 0},
     0,
     {0, 10, 10, 110},
     true,
     {{0, 10, 10, 43}, {0, 43, 10, 77}, {0, 77, 10, 110}}},
    {"offset area",
     1.0,
     kHorizontal,
     {3, 1},
     {0, 0, 0, 0},
     0,
     {100, 200, 180, 220},
     true,
     {{100, 200, 160, 220}, {160, 200, 180, 220}}},
    {"vertical exactly one pixel per child fits",
     1.0,
     kVertical,
     {1, 1},
     {1, 1, 0, 0},
     2,
     {0, 0, 10, 5},
     true,
     {{1, 1, 10, 2}, {1, 4, 10, 5}}},
    {"vertical one pixel short refuses", 1.0, kVertical, {1, 1}, {1, 1, 0, 0}, 2, {0, 0, 10, 4}, false, {}},
    {"vertical narrower than its paddings refuses", 1.0, kVertical, {1}, {6, 0, 6, 0}, 0, {0, 0, 11, 100}, false, {}},
    {"horizontal too narrow refuses however tall",
     1.0,
     kHorizontal,
     {1, 1, 1},
     {5, 0, 5, 0},
     4,
     {0, 0, 20, 1000},
     false,
     {}},
    {"horizontal lower than its paddings refuses", 1.0, kHorizontal, {1}, {0, 8, 0, 8}, 0, {0, 0, 100, 15}, false, {}},
    {"weights adding up to 0 refuse", 1.0, kVertical, {0, 0}, {0, 0, 0, 0}, 0, {0, 0, 100, 100}, false, {}},
    {"unknown orientation places nothing", 1.0, 3, {1}, {0, 0, 0, 0}, 0, {0, 0, 100, 100}, true, {kUnplaced}},
};

TEST(Layout, PlacesChildrenByWeightPaddingAndSpacing) {
  for (const LayoutCase& c : kCases) {
    SCOPED_TRACE(c.name);
    ScaleScope scale(c.scale);
    CLayoutResource layout(c.orientation, 9);
    std::vector<std::unique_ptr<CSpacerResource>> children;
    for (unsigned weight : c.weights) children.emplace_back(AddSpacer(&layout, weight, 10));
    std::copy(std::begin(c.padding), std::end(c.padding), layout.padding);
    layout.spacing = c.spacing;
    CSpacerResource background(10);
    layout.background = &background;
    EXPECT_EQ(layout.SetRect(c.area.left, c.area.top, c.area.right, c.area.bottom), c.placed);
    EXPECT_EQ(layout.rect, c.area);
    // A refused layout leaves its children and its background where they were.
    EXPECT_EQ(background.rect, c.placed ? c.area : kUnplaced);
    for (size_t i = 0; i < children.size(); ++i)
      EXPECT_EQ(children[i]->rect, c.placed ? c.expected[i] : kUnplaced) << "child " << i;
  }
}

TEST(Layout, RefusesMismatchedWeightsAndNoChildren) {
  CLayoutResource empty(kVertical, 9);
  EXPECT_FALSE(empty.SetRect(0, 0, 100, 100));
  CLayoutResource mismatched(kVertical, 9);
  CSpacerResource child(10);
  mismatched.children.push_back(&child);
  EXPECT_FALSE(mismatched.SetRect(0, 0, 100, 100));
  EXPECT_EQ(child.rect, kUnplaced);
}

TEST(Layout, NestedLayoutsArrangeTheirOwnChildren) {
  for (double s : {1.0, 1.5}) {
    SCOPED_TRACE(s);
    ScaleScope scale(s);
    // A page-like tree: a vertical root with paddings, a title row of a
    // spacer and a square-ish button slot, and a body row of two texts.
    CLayoutResource root(kVertical, 9), title(kHorizontal, 9), body(kHorizontal, 9);
    root.padding[0] = root.padding[2] = 20;
    root.padding[1] = root.padding[3] = 10;
    root.spacing = 10;
    body.spacing = 8;
    AddChild(&root, &title, 1);
    AddChild(&root, &body, 3);
    std::unique_ptr<CSpacerResource> gap(AddSpacer(&title, 9, 10)), close(AddSpacer(&title, 1, 10));
    std::unique_ptr<CSpacerResource> left(AddSpacer(&body, 1, 10)), right(AddSpacer(&body, 1, 10));
    const int width = static_cast<int>(600 * s), height = static_cast<int>(400 * s);
    ASSERT_TRUE(root.SetRect(0, 0, width, height));
    const auto px = [s](double v) { return static_cast<int>(v * s + 0.5); };
    // Inner height 400 - 20 - 10 (spacing) = 370 at 100 %; title a quarter.
    EXPECT_EQ(title.rect, (Box{px(20), px(10), width - px(20), px(10 + 92.5)}));
    EXPECT_EQ(body.rect, (Box{px(20), px(112.5), width - px(20), height - px(10)}));
    EXPECT_EQ(close->rect.right, title.rect.right);
    EXPECT_EQ(gap->rect.right, close->rect.left);
    EXPECT_EQ(close->rect.right - close->rect.left, px(56));
    EXPECT_EQ(left->rect.left, body.rect.left);
    EXPECT_EQ(right->rect.left - left->rect.right, px(8));
    EXPECT_EQ(right->rect.right, body.rect.right);
  }
}

}  // namespace
