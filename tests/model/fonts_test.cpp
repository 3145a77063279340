#include "fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/support.h"

namespace hostsim {
namespace {

const FontRef kSans{"DejaVuSans", "", 400, FontSlant::Upright}, kMono{"DejaVuSansMono", "", 400, FontSlant::Upright};

TEST(FontCatalog, AFolderGivesExactlyItsFacesFoundByNameOrFamily) {
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
  EXPECT_EQ(catalog.resolve({"DejaVuSansMono", "whatever", 400, FontSlant::Upright})->postscriptName, "DejaVuSansMono");
  EXPECT_EQ(catalog.resolve({"", "DejaVu Sans", 700, FontSlant::Upright})->postscriptName, "DejaVuSans-Bold");
  EXPECT_EQ(catalog.resolve({"", "DejaVu Serif", 400, FontSlant::Upright})->postscriptName, "DejaVuSerif");
  EXPECT_TRUE(catalog.resolve({"", "No Such Family", 400, FontSlant::Italic}));
  EXPECT_THROW(FontCatalog::fromDirectory("/nonexistent/fonts"), std::runtime_error);
}

TEST(FontCatalog, TheSystemListsItsFonts) {
  const FontCatalog catalog = FontCatalog::system();
  EXPECT_TRUE(catalog.find("DejaVuSans")) << "fonts-dejavu-core is a build dependency";
  EXPECT_TRUE(std::is_sorted(catalog.fonts().begin(), catalog.fonts().end(),
                             [](const FontInfo& a, const FontInfo& b) { return a.postscriptName < b.postscriptName; }));
}

TEST(FontMetrics, TheStampTextsInTheirFaces) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  FontMetrics metrics(catalog);
  struct Case {
    const char* text;
    const char* font;
    double ems;
  };
  const Case cases[] = {
      {"Hello", "DejaVuSans", 5191.0 / 2048},  // 1540 + 1260 + 569 + 569 + 1253
      // 6 digits of 1303, 4 spaces of 651, 4 m of 1995 and an x of 1212: 19614 units.
      {"210 mm x 297 mm", "DejaVuSans", 19614.0 / 2048},
      {" - affiche.ai", "DejaVuSans-Bold", 13065.0 / 2048},
      {"Mardi 10 avril 2012", "DejaVuSerif", 20701.0 / 2048},
      {"1/2", "DejaVuSansMono", 3 * 1233.0 / 2048},
      {"", "DejaVuSans", 0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(metrics.measure({c.font, "", 400, FontSlant::Upright}, c.text).advance, c.ems) << c.text;
  const LineExtent hello = metrics.measure(kSans, "Hello");
  EXPECT_DOUBLE_EQ(hello.ascent, 1901.0 / 2048);
  EXPECT_DOUBLE_EQ(hello.descent, -483.0 / 2048);
  EXPECT_LT(metrics.measure(kSans, "AV").advance,
            metrics.measure(kSans, "A").advance + metrics.measure(kSans, "V").advance) << "kerning";
}

TEST(FontMetrics, ALineMeasuredAgainMeasuresTheSameInItsOwnFace) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  FontMetrics metrics(catalog);
  EXPECT_EQ(metrics.facesOpened(), 0);
  const double first = metrics.measure(kSans, "1/1000").advance;
  EXPECT_DOUBLE_EQ(metrics.measure(kMono, "1/1000").advance, 6 * 1233.0 / 2048);
  EXPECT_DOUBLE_EQ(metrics.measure(kSans, "1/1000").advance, first);
  EXPECT_EQ(metrics.facesOpened(), 2) << "faces are opened once";
  const std::string longLine(1000, 'i');  // too long to be kept, measured each time
  EXPECT_DOUBLE_EQ(metrics.measure(kMono, longLine).advance, 1000 * 1233.0 / 2048);
  EXPECT_DOUBLE_EQ(metrics.measure(kMono, longLine).advance, 1000 * 1233.0 / 2048);
}

}  // namespace
}  // namespace hostsim
