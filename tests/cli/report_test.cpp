// The report's numbers: each host value, single precision, reads back exactly.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <fstream>
#include <limits>

#include "report.h"

namespace estampilleur {
namespace {

float readBack(double value) {
  std::string text = hostNumber(value).dump();
  return std::stof(text);
}

TEST(ReportNumbers, EverySinglePrecisionValueReadsBackExactly) {
  const double values[] = {0.0, 12.0, 72.0, 841.8897637795, 595.2755905511, 0.1, 1.0 / 3, -14.4000006, 1e-7,
                           123456789.0, FLT_MAX, FLT_MIN, -249.245209};
  for (double value : values) EXPECT_EQ(readBack(value), static_cast<float>(value)) << value;
  // A sweep over many magnitudes and mantissas.
  for (int e = -30; e <= 30; ++e)
    for (int m = 1; m < 1000; m += 37) {
      float value = std::ldexp(static_cast<float>(m) / 997.0f, e);
      EXPECT_EQ(readBack(value), value) << value;
    }
}

TEST(ReportNumbers, AreWrittenShortWhereTheValueIsShort) {
  EXPECT_EQ(hostNumber(12).dump(), "12.0");
  EXPECT_EQ(hostNumber(0.1f).dump(), "0.100000001");
  EXPECT_EQ(hostNumber(841.8897637795).dump(), "841.889771");
}

TEST(ReportNumbers, NonFiniteValuesAreNull) {
  EXPECT_TRUE(hostNumber(std::numeric_limits<double>::infinity()).is_null());
  EXPECT_TRUE(hostNumber(std::nan("")).is_null());
  EXPECT_TRUE(hostNumber(1e300).is_null()) << "beyond single precision";
}

TEST(Report, ANonUtf8FileNameDoesNotLoseTheReport) {
  DocumentRecord record;
  record.input = std::string("caf\xE9.svg");
  record.error = "cannot open";
  std::string pattern = (std::filesystem::temp_directory_path() / "cli-report-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  std::filesystem::path file = std::filesystem::path(pattern) / "r.json";
  writeReport(file, {record});
  auto json = nlohmann::json::parse(std::ifstream(file));
  EXPECT_EQ(json["documents"][0]["input"], "caf\xEF\xBF\xBD.svg");
  EXPECT_TRUE(json["documents"][0]["artboards"].empty());
  EXPECT_TRUE(json["documents"][0]["bleed"].is_null());
  std::filesystem::remove_all(pattern);
}

}  // namespace
}  // namespace estampilleur
