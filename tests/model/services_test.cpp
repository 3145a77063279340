// The host's clock, fonts and preference store. Damaged preference files and values met
// through the command are the hostile tests' own.
#include <sys/stat.h>

#include <cmath>
#include <limits>

#include "clock.h"
#include "fonts.h"
#include "model_test.h"
#include "preferences.h"
#include "support/support.h"

namespace hostsim {
namespace {

// The week from Friday to Thursday is the engine's test, through the host's clock.
TEST(Clock, EpochSecondsAreReadInUtcAndImpossibleDatesRefused) {
  EXPECT_EQ(Clock::at({2000, 2, 29}).dayOfWeek(), 5);    // a Tuesday, a leap day
  EXPECT_EQ(Clock::fromEpochSeconds(0).dayOfWeek(), 7);  // a Thursday
  EXPECT_EQ(Clock::fromEpochSeconds(1334102399).now(), (DateTime{2012, 4, 10, 23, 59, 59}));
  EXPECT_EQ(Clock::fromEpochSeconds(-1).now(), (DateTime{1969, 12, 31, 23, 59, 59}));
  for (DateTime impossible : {DateTime{2011, 2, 29}, DateTime{2012, 13, 1}, DateTime{2012, 4, 0}})
    EXPECT_THROW(Clock::at(impossible), std::invalid_argument);
  Clock clock = Clock::at({2012, 4, 10});
  EXPECT_THROW(clock.set({2012, 4, 31}), std::invalid_argument);
  EXPECT_EQ(clock.now(), (DateTime{2012, 4, 10})) << "unchanged";
}

TEST(FontCatalog, FacesAreFoundByNameOrByFamily) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  EXPECT_EQ(catalog.find("DejaVuSans-Bold")->family, "DejaVu Sans");
  EXPECT_EQ(catalog.indexOf("DejaVuSerif"), 3);
  EXPECT_EQ(catalog.indexOf("Helvetica"), -1);
  EXPECT_EQ(catalog.resolve({"DejaVuSansMono", "whatever", 400, FontSlant::Upright})->postscriptName, "DejaVuSansMono");
  EXPECT_EQ(catalog.resolve({"", "DejaVu Sans", 700, FontSlant::Upright})->postscriptName, "DejaVuSans-Bold");
  EXPECT_EQ(catalog.resolve({"", "DejaVu Serif", 400, FontSlant::Upright})->postscriptName, "DejaVuSerif");
  EXPECT_TRUE(catalog.resolve({"", "No Such Family", 400, FontSlant::Italic}));
  EXPECT_TRUE(FontCatalog::system().find("DejaVuSans")) << "fonts-dejavu-core is a build dependency";
}

TEST(FontMetrics, TheStampTextsInTheirFacesEachOpenedOnce) {
  const FontCatalog catalog = FontCatalog::fromDirectory(testsupport::kFontFolder);
  FontMetrics metrics(catalog);
  const std::string longLine(1000, 'i');  // too long to be kept, measured each time
  const std::tuple<std::string, const char*, double> cases[] = {
      {"Hello", "DejaVuSans", 5191.0 / 2048},  // 1540 + 1260 + 569 + 569 + 1253
      // 6 digits of 1303, 4 spaces of 651, 4 m of 1995 and an x of 1212.
      {"210 mm x 297 mm", "DejaVuSans", 19614.0 / 2048},
      {" - affiche.ai", "DejaVuSans-Bold", 13065.0 / 2048},
      {"Mardi 10 avril 2012", "DejaVuSerif", 20701.0 / 2048},
      {"1/2", "DejaVuSansMono", 3 * 1233.0 / 2048},
      {"1/2", "DejaVuSans", (1303 + 690 + 1303) / 2048.0},  // another face, not the line kept
      {longLine, "DejaVuSansMono", 1000 * 1233.0 / 2048},
      {"", "DejaVuSans", 0},
  };
  for (const auto& [text, font, ems] : cases)
    EXPECT_DOUBLE_EQ(metrics.measure({font, "", 400, FontSlant::Upright}, text).advance, ems) << text << font;
  EXPECT_EQ(metrics.facesOpened(), 4) << "each face is opened once";
  const FontRef sans{"DejaVuSans", "", 400, FontSlant::Upright};
  const LineExtent hello = metrics.measure(sans, "Hello");
  EXPECT_DOUBLE_EQ(hello.ascent, 1901.0 / 2048);
  EXPECT_DOUBLE_EQ(hello.descent, -483.0 / 2048);
  EXPECT_LT(metrics.measure(sans, "AV").advance, metrics.measure(sans, "A").advance + metrics.measure(sans, "V").advance)
      << "kerning";
}

constexpr char kPrefix[] = "QZVEstampillage";

TEST(Preferences, EveryKindRoundTripsExactlyThroughTheFile) {
  testsupport::TempDir dir;
  const auto file = dir / "prefs.ini";
  EXPECT_FALSE(Preferences::load(file).warning()) << "a missing file is an empty store";
  testsupport::writeText(file, "[A]\nx = 1\n");
  ::chmod(file.c_str(), 0640);
  Preferences prefs = Preferences::load(file);
  const double sizes[] = {12.0, 0.1, 1.0 / 3, static_cast<double>(10.3f), 1e300, -0.0, 5e-324};
  for (std::size_t i = 0; i < std::size(sizes); ++i) prefs.putDouble(kPrefix, "Size" + std::to_string(i), sizes[i]);
  prefs.putBool(kPrefix, "EnHaut", false);
  prefs.putInt32(kPrefix, "FormatDate", std::numeric_limits<std::int32_t>::min());
  prefs.putString(kPrefix, "PoliceNom", "Quote\" back\\ tab\t \x8E");  // ... é in Mac Roman
  prefs.save();
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "saving keeps the permissions";
  EXPECT_EQ(filesIn(dir.path()), 1) << "and leaves no temporary file";

  const Preferences loaded = Preferences::load(file);
  EXPECT_FALSE(loaded.warning());
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    double value = 99;
    EXPECT_TRUE(loaded.getDouble(kPrefix, "Size" + std::to_string(i), value));
    EXPECT_EQ(value, sizes[i]);
    EXPECT_EQ(std::signbit(value), std::signbit(sizes[i]));
  }
  bool top = true;
  std::int32_t number = 0;
  std::string text;
  EXPECT_TRUE(loaded.getBool(kPrefix, "EnHaut", top) && !top);
  EXPECT_TRUE(loaded.getInt32(kPrefix, "FormatDate", number) && number == std::numeric_limits<std::int32_t>::min());
  EXPECT_TRUE(loaded.getString(kPrefix, "PoliceNom", text) && text == "Quote\" back\\ tab\t \x8E") << text;
  EXPECT_TRUE(loaded.getInt32("A", "x", number) && number == 1) << "another section is kept";
}

// A damaged file is named with its line, kept aside and read as empty: the hostile tests'.
TEST(Preferences, TheFileIsReadableIni) {
  Preferences prefs("unused.ini");
  prefs.putBool(kPrefix, "AvecNom", true);
  prefs.putInt32(kPrefix, "FormatDate", 1);
  prefs.putDouble(kPrefix, "CorpsNom", 12);
  prefs.putString(kPrefix, "Separateur", " \xA5 ");  // " • "
  prefs.putString("Other", "Line", "a\rb\x01");
  EXPECT_EQ(prefs.toString(),
            "[QZVEstampillage]\nAvecNom = true\nFormatDate = 1\nCorpsNom = 12.0\nSeparateur = \" • \"\n\n"
            "[Other]\nLine = \"a\\rb\\x01\"\n");
  for (const char* name : {"has space", "[x]", ""}) EXPECT_THROW(prefs.putBool(kPrefix, name, true), std::invalid_argument);
}

}  // namespace
}  // namespace hostsim
