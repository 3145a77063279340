// Number formatting: every worked value, the edges of the digit count, and the buffer's
// capacity and negative values that the stamps never used to meet.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "engine/Moteur.h"

namespace {

struct Worked {
  float value;
  int decimals;
  const char* text;
};

class NumberTable : public ::testing::TestWithParam<Worked> {};

TEST_P(NumberTable, WritesTextAndLength) {
  const Worked& row = GetParam();
  char buffer[32];
  memset(buffer, 'x', sizeof buffer);
  int length = NombreEnChaine(row.value, static_cast<char>(row.decimals), buffer, sizeof buffer);
  EXPECT_STREQ(buffer, row.text);
  EXPECT_EQ(length, static_cast<int>(strlen(row.text)));
}

INSTANTIATE_TEST_SUITE_P(WorkedValues, NumberTable,
                         ::testing::Values(Worked{210.0f, 0, "210"}, Worked{297.5f, 0, "298"},
                                           Worked{297.49f, 0, "297"}, Worked{0.4f, 0, "0"},
                                           Worked{0.5f, 0, "1"}, Worked{5.0f, 0, "5"}, Worked{10.0f, 0, "10"},
                                           Worked{2012.0f, 0, "2012"}, Worked{297.5f, 1, "297,5"},
                                           Worked{3.14159f, 2, "3,14"}, Worked{0.05f, 1, "0,1"},
                                           Worked{0.999f, 2, "1,00"}, Worked{12.345f, 2, "12,35"},
                                           Worked{7.25f, 1, "7,3"}, Worked{0.0f, 2, "0,00"}));

INSTANTIATE_TEST_SUITE_P(DigitCounts, NumberTable,
                         ::testing::Values(Worked{10.0f, 0, "10"}, Worked{100.0f, 0, "100"},
                                           Worked{1000.0f, 0, "1000"}, Worked{10000.0f, 0, "10000"},
                                           Worked{999.0f, 0, "999"}, Worked{99.5f, 0, "100"},
                                           Worked{9.5f, 0, "10"}, Worked{1.0f, 0, "1"},
                                           Worked{16777216.0f, 0, "16777216"}, Worked{0.7f, 1, "0,7"},
                                           Worked{215.9f, 0, "216"}, Worked{279.4f, 0, "279"}));

INSTANTIATE_TEST_SUITE_P(NegativeValues, NumberTable,
                         ::testing::Values(Worked{-5.0f, 0, "-5"}, Worked{-297.5f, 0, "-298"},
                                           Worked{-1000.0f, 0, "-1000"}, Worked{-0.4f, 0, "0"},
                                           Worked{-0.0f, 0, "0"}, Worked{-0.05f, 1, "-0,1"},
                                           Worked{-12.345f, 2, "-12,35"}, Worked{-0.001f, 2, "0,00"}));

TEST(NombreEnChaine, NegativeDecimalCountIsZeroDecimals) {
  char buffer[16];
  EXPECT_EQ(NombreEnChaine(297.5f, static_cast<char>(-3), buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "298");
}

TEST(NombreEnChaine, FillsBufferExactlyToCapacity) {
  char buffer[8];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(NombreEnChaine(2012.0f, 0, buffer, 5), 4);
  EXPECT_STREQ(buffer, "2012");
  EXPECT_EQ(buffer[5], 'x');
}

TEST(NombreEnChaine, TooLongForBufferWritesEmptyTextAndNoFurther) {
  char buffer[8];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(NombreEnChaine(2012.0f, 0, buffer, 4), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(std::string(buffer + 1, 7), std::string(7, 'x'));

  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(NombreEnChaine(-12.345f, 2, buffer, 6), 0);  // "-12,35" needs 7 bytes
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[6], 'x');
}

TEST(NombreEnChaine, ZeroCapacityTouchesNothing) {
  char octet = 'x';
  EXPECT_EQ(NombreEnChaine(5.0f, 0, &octet, 0), 0);
  EXPECT_EQ(octet, 'x');
  EXPECT_EQ(NombreEnChaine(5.0f, 0, nullptr, 10), 0);
}

TEST(NombreEnChaine, LargestFloatStaysInsideItsBuffer) {
  char buffer[64];
  memset(buffer, 'x', sizeof buffer);
  int length = NombreEnChaine(3.4e38f, 0, buffer, sizeof buffer);
  EXPECT_EQ(length, 39);
  EXPECT_EQ(buffer[0], '3');
  EXPECT_EQ(buffer[39], '\0');
}

TEST(NombreEnChaine, NotANumberWritesNothing) {
  char buffer[16];
  EXPECT_EQ(NombreEnChaine(std::numeric_limits<float>::quiet_NaN(), 0, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(NombreEnChaine(std::numeric_limits<float>::infinity(), 0, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
}

}  // namespace
