// The preference store and its file. Damaged files and values met through the command are
// the hostile tests' own.
#include "preferences.h"

#include <sys/stat.h>

#include <cmath>
#include <limits>

#include "model_test.h"
#include "support/support.h"

namespace hostsim {
namespace {

constexpr char kPrefix[] = "QZVEstampillage";

TEST(Preferences, EveryKindRoundTripsExactlyThroughTheFile) {
  testsupport::TempDir dir;
  const auto file = dir / "prefs.ini";
  EXPECT_FALSE(Preferences::load(file).warning()) << "a missing file is an empty store";
  testsupport::writeText(file, "[A]\nx = 1\n");
  ::chmod(file.c_str(), 0640);
  Preferences prefs = Preferences::load(file);
  const double sizes[] = {12.0, 0.1, 1.0 / 3, static_cast<double>(7.5f), static_cast<double>(10.3f),
                          1e300, -0.0, 5e-324};
  for (std::size_t i = 0; i < std::size(sizes); ++i) prefs.putDouble(kPrefix, "Size" + std::to_string(i), sizes[i]);
  prefs.putBool(kPrefix, "EnDessous", true);
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
    ASSERT_TRUE(loaded.getDouble(kPrefix, "Size" + std::to_string(i), value));
    EXPECT_EQ(value, sizes[i]);
    EXPECT_EQ(std::signbit(value), std::signbit(sizes[i]));
  }
  bool below = false, top = true;
  std::int32_t format = 0;
  std::string text;
  EXPECT_TRUE(loaded.getBool(kPrefix, "EnDessous", below) && below);
  EXPECT_TRUE(loaded.getBool(kPrefix, "EnHaut", top) && !top);
  EXPECT_TRUE(loaded.getInt32(kPrefix, "FormatDate", format));
  EXPECT_EQ(format, std::numeric_limits<std::int32_t>::min());
  EXPECT_TRUE(loaded.getString(kPrefix, "PoliceNom", text));
  EXPECT_EQ(text, "Quote\" back\\ tab\t \x8E");
  EXPECT_TRUE(loaded.getInt32("A", "x", format) && format == 1) << "another section is kept";
}

TEST(Preferences, TheFileIsReadableIniAndItsNamesUsable) {
  Preferences prefs("unused.ini");
  prefs.putBool(kPrefix, "AvecNom", true);
  prefs.putInt32(kPrefix, "FormatDate", 1);
  prefs.putDouble(kPrefix, "CorpsNom", 12);
  prefs.putString(kPrefix, "Separateur", " \xA5 ");  // " • "
  prefs.putString("Other", "Line", "a\rb\x01");
  EXPECT_EQ(prefs.toString(),
            "[QZVEstampillage]\nAvecNom = true\nFormatDate = 1\nCorpsNom = 12.0\nSeparateur = \" • \"\n\n"
            "[Other]\nLine = \"a\\rb\\x01\"\n");
  EXPECT_THROW(prefs.putBool(kPrefix, "has space", true), std::invalid_argument);
  EXPECT_THROW(prefs.putBool("[x]", "key", true), std::invalid_argument);
  EXPECT_THROW(prefs.putBool(kPrefix, "", true), std::invalid_argument);
}

TEST(Preferences, AReadOfTheWrongKindLeavesTheDestination) {
  const Preferences prefs = Preferences::parse(
      "[QZVEstampillage]\n; a comment\nWord = \"abc\"\nBig = 3000000000\nFlag = true\nReal = 2.5\nWhole = 7\n"
      "Huge = 1e999\nBinary = \"a\\x00b\"\nLatin1 = \"caf\\xE9\"\n",
      "prefs.ini");
  ASSERT_FALSE(prefs.warning());
  std::int32_t number = 4;
  double real = 4;
  bool flag = false;
  std::string text = "kept";
  for (const char* key : {"Word", "Big", "Flag", "Real", "Missing"}) EXPECT_FALSE(prefs.getInt32(kPrefix, key, number));
  for (const char* key : {"Flag", "Huge", "Word"}) EXPECT_FALSE(prefs.getDouble(kPrefix, key, real));
  EXPECT_FALSE(prefs.getBool(kPrefix, "Whole", flag));
  for (const char* key : {"Binary", "Latin1", "Real"}) EXPECT_FALSE(prefs.getString(kPrefix, key, text));
  EXPECT_FALSE(prefs.getString("OtherSection", "Word", text));
  EXPECT_EQ(number, 4);
  EXPECT_EQ(real, 4);
  EXPECT_FALSE(flag);
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(prefs.getDouble(kPrefix, "Whole", real) && real == 7) << "an integer is a fine real";
}

TEST(Preferences, SyntaxErrorsNameTheFileAndTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"Key = 1\n", "line 1: a key comes before any [section]"},
      {"[A]\n\nKey = bare words\n", "line 3: the value is neither"},
      {"[A]\nKey = \"open\n", "line 2: a string must be in double quotes"},
      {"[A]\nKey = \"bad \\q\"\n", "line 2: unknown escape \\q"},
      {"[A]\nKey = \"\\x4\"\n", "line 2: \\x must be followed by two hexadecimal digits"},
  };
  for (const auto& [text, message] : cases) {
    const Preferences prefs = Preferences::parse(text, "p.ini");
    ASSERT_TRUE(prefs.warning()) << text;
    EXPECT_NE(prefs.warning()->find(message), std::string::npos) << *prefs.warning();
    EXPECT_NE(prefs.warning()->find("p.ini"), std::string::npos) << *prefs.warning();
  }
}

}  // namespace
}  // namespace hostsim
