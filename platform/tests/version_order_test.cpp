#include "platform/version_order.h"

#include <gtest/gtest.h>

namespace {

// Both rules on the same pairs, so that where they part is in plain sight.
TEST(VersionOrder, TheTwoRulesSideBySide) {
  struct Case {
    const char* version;
    const char* reference;
    bool atFirstDifference;
    bool noPartOlder;
  } cases[] = {
      {"3.6.0.1", "3.6.0.1", true, true},   {"3.6.0.2", "3.6.0.1", true, true},
      {"3.6.0.1", "3.6.0.2", false, false}, {"3.9.0.0", "3.10.0.0", false, false},  // numbers, not text
      {"3.6.0.0", "3.5.0.2", true, false},  // a larger earlier part settles only the first
      {"3.6", "3.6.0.9", true, false},      // common length against equal length
      {"4", "3.99", true, false},           {"3.x.0.1", "3.0.0.2", false, false},
      {"", "3.6.0.1", true, false},         {"", "", true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NotOlderAtFirstDifference(c.version, c.reference), c.atFirstDifference)
        << c.version << " vs " << c.reference;
    EXPECT_EQ(NoPartOlder(c.version, c.reference), c.noPartOlder) << c.version << " vs " << c.reference;
  }
}

}  // namespace
