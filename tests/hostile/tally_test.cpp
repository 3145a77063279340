// The count of hostile inputs the other tests try, for the record.
#include <gtest/gtest.h>

#include <cstdio>

#include "support.h"

namespace hostile {
namespace {

TEST(Tally, PrintsTheHostileInputsTried) {
  for (const auto& [family, count] : inputFamilies()) std::printf("[ hostile  ] %5d  %s\n", count, family.c_str());
  std::printf("[ hostile  ] %5d  hostile inputs in all\n", totalInputs());
  EXPECT_GE(totalInputs(), 300);
}

}  // namespace
}  // namespace hostile
