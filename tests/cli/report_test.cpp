// The report's numbers: each host value, single precision, reads back exactly.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "report.h"
#include "support/support.h"

namespace estampilleur {
namespace {

TEST(ReportNumbers, EverySinglePrecisionValueReadsBackExactlyAndShort) {
  std::vector<double> values = {0.0, 12.0, 72.0, 841.8897637795, 595.2755905511, 0.1, 1.0 / 3, -14.4000006, 1e-7,
                                123456789.0, FLT_MAX, FLT_MIN, -249.245209};
  for (int e = -30; e <= 30; ++e)  // many magnitudes and mantissas
    for (int m = 1; m < 1000; m += 37) values.push_back(std::ldexp(static_cast<float>(m) / 997.0f, e));
  for (double value : values) EXPECT_EQ(std::stof(hostNumber(value).dump()), static_cast<float>(value)) << value;
  EXPECT_EQ(hostNumber(12).dump(), "12.0");
  EXPECT_EQ(hostNumber(0.1f).dump(), "0.100000001");
  EXPECT_EQ(hostNumber(841.8897637795).dump(), "841.889771");
  // Non-finite values, and those beyond single precision, are null.
  for (double value : {std::numeric_limits<double>::infinity(), std::nan(""), 1e300})
    EXPECT_TRUE(hostNumber(value).is_null()) << value;
}

TEST(Report, ANonUtf8FileNameDoesNotLoseTheReport) {
  DocumentRecord record;
  record.input = std::string("caf\xE9.svg");
  record.error = "cannot open";
  testsupport::TempDir folder;
  writeReport(folder / "r.json", {record});
  const auto json = nlohmann::json::parse(testsupport::readText(folder / "r.json"));
  EXPECT_EQ(json["documents"][0]["input"], "caf\xEF\xBF\xBD.svg");
  EXPECT_TRUE(json["documents"][0]["artboards"].empty());
  EXPECT_TRUE(json["documents"][0]["bleed"].is_null());
}

}  // namespace
}  // namespace estampilleur
