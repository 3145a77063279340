#include "fonts.h"

#include <gtest/gtest.h>

#include <string>

#include "support/support.h"

namespace hostsim {
namespace {

TEST(FontCatalog, AFolderGivesExactlyItsFacesSortedByPostScriptName) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  std::vector<std::string> names;
  for (const FontInfo& font : catalog.fonts()) names.push_back(font.postscriptName);
  EXPECT_EQ(names, (std::vector<std::string>{"DejaVuSans", "DejaVuSans-Bold", "DejaVuSansMono", "DejaVuSerif"}));
  const FontInfo* bold = catalog.find("DejaVuSans-Bold");
  ASSERT_TRUE(bold);
  EXPECT_EQ(bold->family, "DejaVu Sans");
  EXPECT_EQ(bold->style, "Bold");
  EXPECT_EQ(bold->weight, 700);
  EXPECT_EQ(bold->slant, FontSlant::Upright);
  EXPECT_EQ(bold->file.filename(), "DejaVuSans-Bold.ttf");
  EXPECT_EQ(catalog.find("DejaVuSans")->weight, 400);
  EXPECT_EQ(catalog.indexOf("DejaVuSerif"), 3);
  EXPECT_EQ(catalog.indexOf("Helvetica"), -1);
  EXPECT_FALSE(catalog.find("Helvetica"));
}

TEST(FontCatalog, DocumentFontsResolveByNameOrByFamily) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  EXPECT_EQ(catalog.resolve({"DejaVuSansMono", "whatever", 400, FontSlant::Upright})->postscriptName,
            "DejaVuSansMono");
  EXPECT_EQ(catalog.resolve({"", "DejaVu Sans", 700, FontSlant::Upright})->postscriptName, "DejaVuSans-Bold");
  EXPECT_EQ(catalog.resolve({"", "DejaVu Serif", 400, FontSlant::Upright})->postscriptName, "DejaVuSerif");
  EXPECT_TRUE(catalog.resolve({"", "No Such Family", 400, FontSlant::Italic}));
}

TEST(FontCatalog, AMissingFolderIsAnError) {
  EXPECT_THROW(FontCatalog::fromDirectory("/nonexistent/fonts"), std::runtime_error);
}

TEST(FontCatalog, TheSystemListsItsFonts) {
  const FontCatalog catalog = FontCatalog::system();
  EXPECT_TRUE(catalog.find("DejaVuSans")) << "fonts-dejavu-core is a build dependency";
  const auto& fonts = catalog.fonts();
  EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end(), [](const FontInfo& a, const FontInfo& b) {
    return a.postscriptName < b.postscriptName;
  }));
}

TEST(FontMetrics, AdvancesAndVerticalMetricsInEms) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  FontMetrics metrics(catalog);
  EXPECT_EQ(metrics.facesOpened(), 0);
  const LineExtent hello = metrics.measure({"DejaVuSans", "", 400, FontSlant::Upright}, "Hello");
  EXPECT_DOUBLE_EQ(hello.advance, 5191.0 / 2048);
  EXPECT_DOUBLE_EQ(hello.ascent, 1901.0 / 2048);
  EXPECT_DOUBLE_EQ(hello.descent, -483.0 / 2048);
  metrics.measure({"DejaVuSans", "", 400, FontSlant::Upright}, "again");
  EXPECT_EQ(metrics.facesOpened(), 1) << "faces are opened once";
  EXPECT_DOUBLE_EQ(metrics.measure({"DejaVuSansMono", "", 400, FontSlant::Upright}, "iW").advance,
                   2 * 1233.0 / 2048);
  EXPECT_EQ(metrics.measure({"DejaVuSans", "", 400, FontSlant::Upright}, "").advance, 0);
}

TEST(FontMetrics, ALineMeasuredAgainMeasuresTheSameInItsOwnFace) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  FontMetrics metrics(catalog);
  const FontRef sans{"DejaVuSans", "", 400, FontSlant::Upright}, mono{"DejaVuSansMono", "", 400, FontSlant::Upright};
  const double first = metrics.measure(sans, "1/1000").advance;
  EXPECT_DOUBLE_EQ(metrics.measure(mono, "1/1000").advance, 6 * 1233.0 / 2048);
  EXPECT_DOUBLE_EQ(metrics.measure(sans, "1/1000").advance, first);
  const std::string longLine(1000, 'i');  // too long to be kept, measured each time
  EXPECT_DOUBLE_EQ(metrics.measure(mono, longLine).advance, 1000 * 1233.0 / 2048);
  EXPECT_DOUBLE_EQ(metrics.measure(mono, longLine).advance, 1000 * 1233.0 / 2048);
}

TEST(FontMetrics, KerningPullsPairsTogether) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  FontMetrics metrics(catalog);
  const FontRef sans{"DejaVuSans", "", 400, FontSlant::Upright};
  const double pair = metrics.measure(sans, "AV").advance;
  const double apart = metrics.measure(sans, "A").advance + metrics.measure(sans, "V").advance;
  EXPECT_LT(pair, apart);
}

}  // namespace
}  // namespace hostsim
