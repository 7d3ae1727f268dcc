// A page's widget table becomes its widget list, its layout tree and its
// geometry.
#include <gtest/gtest.h>

#include "ui/base_view.h"
#include "ui/button_resource.h"
#include "ui/checkbox_resource.h"
#include "ui/layout_resource.h"
#include "ui/tests/canvas.h"
#include "ui/widget_table.h"

namespace {

class TableView : public IBaseView {
 public:
  TableView() : IBaseView(nullptr, nullptr) {}
  LRESULT WindowProc(UINT, WPARAM, LPARAM) override { return 0; }
};

TEST(WidgetTable, BuildsTheListTheTreeAndTheGeometry) {
  ui_testing::ScaleScope scale(1.0);
  WidgetStyle blue;
  blue.states[0].backgroundColour = 0xFF535FFF;
  const WidgetRow rows[] = {
      {kKindLayout, 9, -1, 0, nullptr, nullptr, {}, 0, kVertical, {20, 24, 20, 24}, 0},
      {kKindBackground, 0, 0, 0, nullptr, nullptr, {L"main_bg.png"}},
      {kKindLayout, 9, 0, 1, nullptr, nullptr, {}, 0, kHorizontal},
      {kKindSpacer, 10, 2, 3},
      {kKindButton, 3, 2, 1, L"立即安装", &blue, {}, 3.5},
      {kKindText, 7, 0, 1, L"提示", nullptr, {}, 0, 0, {}, 0, true},
      {kKindCheckbox, 6, 0, 1, L"同意", nullptr, {}, 0, 0, {}, 0, false, {0, -4}},
  };
  TableView view;
  IBaseResource* root = BuildWidgets(view, rows, 7);
  ASSERT_EQ(view.WidgetCount(), 7);
  EXPECT_EQ(root, view.Widget(0));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(view.Widget(i)->kind, rows[i].kind) << i;
  auto* layout = static_cast<CLayoutResource*>(root);
  EXPECT_EQ(layout->background, view.Widget(1));
  EXPECT_EQ(layout->children, (std::vector<IBaseResource*>{view.Widget(2), view.Widget(5), view.Widget(6)}));
  EXPECT_FALSE(view.Widget(5)->visible);
  auto* button = static_cast<CButtonResource*>(view.Widget(4));
  EXPECT_EQ(button->caption, L"立即安装");
  EXPECT_EQ(button->style.states[0].backgroundColour, 0xFF535FFFu);
  EXPECT_EQ(static_cast<CImageResource*>(view.Widget(1))->image, nullptr);  // no manager, no images

  ASSERT_TRUE(root->SetRect(0, 0, 600, 400));
  // 352 pixels shared by three rows; the button keeps its 3.5 ratio in the
  // quarter of the first row.
  EXPECT_EQ(view.Widget(1)->rect.right, 600);
  EXPECT_EQ(view.Widget(3)->rect.right, 20 + 420);
  const RECT b = button->rect;
  EXPECT_NEAR((b.right - b.left) / double(b.bottom - b.top), 3.5, 0.05);
  const RECT box = view.Widget(6)->rect;
  EXPECT_EQ(box.top, 259 + 4);  // its row starts at 24 + 2 x 117.33, rounded; marginY -4 shrinks it
  EXPECT_EQ(box.bottom, 400 - 24 - 4);
}

}  // namespace
