#include "clock.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace hostsim {
namespace {

TEST(Clock, WeekdaysCountFromFriday) {
  const std::pair<DateTime, int> cases[] = {
      {{2012, 4, 13}, 1}, {{2012, 4, 14}, 2}, {{2012, 4, 15}, 3}, {{2012, 4, 16}, 4},  // Friday to Monday
      {{2012, 4, 10}, 5}, {{2012, 4, 18}, 6}, {{2012, 7, 5}, 7},                      // Tuesday to Thursday
      {{2000, 2, 29}, 5},                                                              // a leap day
  };
  for (const auto& [date, weekday] : cases)
    EXPECT_EQ(Clock::at(date).dayOfWeek(), weekday) << date.year << "-" << date.month << "-" << date.day;
  EXPECT_THROW(Clock::at({2011, 2, 29}), std::invalid_argument);
  EXPECT_THROW(Clock::at({2012, 13, 1}), std::invalid_argument);
  EXPECT_THROW(Clock::at({2012, 4, 0}), std::invalid_argument);
  Clock clock = Clock::at({2012, 4, 10});
  EXPECT_THROW(clock.set({2012, 4, 31}), std::invalid_argument);
  EXPECT_EQ(clock.now(), (DateTime{2012, 4, 10})) << "unchanged";
}

TEST(Clock, EpochSecondsAreReadInUtcAndSourceDateEpochFixesTheDate) {
  EXPECT_EQ(Clock::fromEpochSeconds(0).now(), (DateTime{1970, 1, 1, 0, 0, 0}));
  EXPECT_EQ(Clock::fromEpochSeconds(0).dayOfWeek(), 7);  // Thursday
  EXPECT_EQ(Clock::fromEpochSeconds(1334102399).now(), (DateTime{2012, 4, 10, 23, 59, 59}));
  EXPECT_EQ(Clock::fromEpochSeconds(-1).now(), (DateTime{1969, 12, 31, 23, 59, 59}));
  ::setenv("SOURCE_DATE_EPOCH", "1341446400", 1);  // 2012-07-05 00:00 UTC
  EXPECT_EQ(Clock::fromEnvironment().now(), (DateTime{2012, 7, 5}));
  ::setenv("SOURCE_DATE_EPOCH", "soon", 1);  // not a number: today instead
  EXPECT_GE(Clock::fromEnvironment().now().year, 2024);
  ::unsetenv("SOURCE_DATE_EPOCH");
}

}  // namespace
}  // namespace hostsim
