#include <gtest/gtest.h>

#include "pages/prompt_host.h"

namespace {

struct Case {
  const char* name;
  RECT owner;
  POINT expected;
};

// A 400 x 200 prompt over a 600 x 400 owner on a 1280 x 984 work area.
const RECT kWorkArea{0, 0, 1280, 984};
const SIZE kPrompt{400, 200};

const Case kCases[] = {
    {"centred", {340, 292, 940, 692}, {440, 392}},
    {"odd halves truncate", {341, 293, 942, 694}, {441, 393}},
    {"off the left edge", {-500, 100, 100, 500}, {0, 200}},
    {"off the right edge", {1100, 100, 1700, 500}, {880, 200}},
    {"off the bottom edge", {300, 900, 900, 1300}, {400, 784}},
    {"off the top edge stays", {300, -390, 900, 10}, {400, -290}},
    {"left and bottom at once", {-560, 950, 40, 1350}, {0, 784}},
};

TEST(PromptPosition, KeepsThePromptInsideTheWorkArea) {
  for (const Case& c : kCases) {
    const POINT at = PromptPosition(c.owner, kPrompt, kWorkArea);
    EXPECT_EQ(at.x, c.expected.x) << c.name;
    EXPECT_EQ(at.y, c.expected.y) << c.name;
  }
}

TEST(PromptPosition, AWorkAreaAwayFromTheOrigin) {
  const RECT area{100, 50, 1380, 1034};
  const POINT at = PromptPosition(RECT{-200, 900, 400, 1300}, kPrompt, area);
  EXPECT_EQ(at.x, 100);
  EXPECT_EQ(at.y, 834);
}

}  // namespace
