// The macro page's numbers: the recording budget and the play-count and fixed-delay fields.
#include <gtest/gtest.h>

#include "app/pages/MacroRules.h"

namespace {

TEST(MacroRules, RecordingBudgetLeavesTheStoredEventsWithinTheKeyboardsArea) {
  const struct {
    int macros, stored, budget;
  } cases[] = {
      {10, 310, 10},   // just enough to record
      {10, 311, 8},    // too little
      {10, 0, 496},    // twice the rest would be 630: more than the keyboard holds
      {10, 100, 396},  // the area's rest is the smaller
      {10, 200, 230},  // twice the rest is the smaller
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MacroRecordBudget(c.macros, c.stored), c.budget) << c.macros << " macros, " << c.stored << " events";
  }
}

TEST(MacroRules, FieldsBecomeStoredValuesWithinTheirRanges) {
  const struct {
    const wchar_t* text;
    int playCount, fixedDelay;
  } cases[] = {
      {L"", 1, 0},
      {L"0", 1, 0},
      {L"5", 5, 5},
      {L"150", 99, 150},
      {L"65535", 99, 65535},
      {L"65536", 99, 65535},
      {L"99999999999999999999", 99, 65535},
      {L"12ms", 12, 12},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlayCountFromField(c.text), c.playCount) << "play count \"" << c.text << "\"";
    EXPECT_EQ(FixedDelayFromField(c.text), c.fixedDelay) << "fixed delay \"" << c.text << "\"";
  }
}

}  // namespace
