#include "preferences.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/support.h"

namespace hostsim {
namespace {

using testsupport::readText;
using testsupport::TempDir;
using testsupport::writeText;

constexpr char kPrefix[] = "QZVEstampillage";

TEST(Preferences, AMissingFileIsAnEmptyStoreAndReadsChangeNothing) {
  TempDir dir;
  const Preferences prefs = Preferences::load(dir / "prefs.ini");
  EXPECT_FALSE(prefs.warning());
  bool flag = true;
  std::int32_t format = 2;
  double size = 12.0;
  std::string separator = " - ";
  EXPECT_FALSE(prefs.getBool(kPrefix, "AvecNom", flag));
  EXPECT_FALSE(prefs.getInt32(kPrefix, "FormatDate", format));
  EXPECT_FALSE(prefs.getDouble(kPrefix, "CorpsNom", size));
  EXPECT_FALSE(prefs.getString(kPrefix, "Separateur", separator));
  EXPECT_TRUE(flag);
  EXPECT_EQ(format, 2);
  EXPECT_EQ(size, 12.0);
  EXPECT_EQ(separator, " - ");
}

TEST(Preferences, EveryKindRoundTripsExactlyThroughTheFile) {
  TempDir dir;
  const auto file = dir / "nested" / "folder" / "prefs.ini";
  Preferences prefs(file);
  const double sizes[] = {12.0, 0.1, 1.0 / 3, static_cast<double>(7.5f), static_cast<double>(10.3f),
                          1e300, -0.0, 5e-324};
  for (std::size_t i = 0; i < std::size(sizes); ++i) prefs.putDouble(kPrefix, "Size" + std::to_string(i), sizes[i]);
  prefs.putBool(kPrefix, "EnDessous", true);
  prefs.putBool(kPrefix, "EnHaut", false);
  prefs.putInt32(kPrefix, "FormatDate", -2147483647 - 1);
  prefs.putString(kPrefix, "Separateur", " \xA5 ");                  // " • "
  prefs.putString(kPrefix, "PoliceNom", "Quote\" back\\ tab\t \x8E");  // ... é
  prefs.save();

  const Preferences loaded = Preferences::load(file);
  EXPECT_FALSE(loaded.warning());
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    double value = 99;
    ASSERT_TRUE(loaded.getDouble(kPrefix, "Size" + std::to_string(i), value));
    EXPECT_EQ(value, sizes[i]);
    EXPECT_EQ(std::signbit(value), std::signbit(sizes[i]));
  }
  bool flag = false;
  EXPECT_TRUE(loaded.getBool(kPrefix, "EnDessous", flag));
  EXPECT_TRUE(flag);
  EXPECT_TRUE(loaded.getBool(kPrefix, "EnHaut", flag));
  EXPECT_FALSE(flag);
  std::int32_t format = 0;
  EXPECT_TRUE(loaded.getInt32(kPrefix, "FormatDate", format));
  EXPECT_EQ(format, std::numeric_limits<std::int32_t>::min());
  std::string text;
  EXPECT_TRUE(loaded.getString(kPrefix, "Separateur", text));
  EXPECT_EQ(text, " \xA5 ");
  EXPECT_TRUE(loaded.getString(kPrefix, "PoliceNom", text));
  EXPECT_EQ(text, "Quote\" back\\ tab\t \x8E");
}

TEST(Preferences, TheFileIsReadableIni) {
  Preferences prefs("unused.ini");
  prefs.putBool(kPrefix, "AvecNom", true);
  prefs.putInt32(kPrefix, "FormatDate", 1);
  prefs.putDouble(kPrefix, "CorpsNom", 12);
  prefs.putString(kPrefix, "Separateur", " \xA5 ");  // " • "
  prefs.putString("Other", "Line", "a\rb\x01");
  EXPECT_EQ(prefs.toString(),
            "[QZVEstampillage]\n"
            "AvecNom = true\n"
            "FormatDate = 1\n"
            "CorpsNom = 12.0\n"
            "Separateur = \" • \"\n"
            "\n"
            "[Other]\n"
            "Line = \"a\\rb\\x01\"\n");
}

TEST(Preferences, ReadsOfTheWrongKindOrRangeLeaveTheDestination) {
  const Preferences prefs = Preferences::parse(
      "[QZVEstampillage]\n"
      "; a comment\n"
      "Word = \"abc\"\n"
      "Big = 3000000000\n"
      "Flag = true\n"
      "Real = 2.5\n"
      "Whole = 7\n"
      "Huge = 1e999\n"
      "Binary = \"a\\x00b\"\n"
      "Latin1 = \"caf\\xE9\"\n",
      "prefs.ini");
  ASSERT_FALSE(prefs.warning());
  std::int32_t number = 4;
  EXPECT_FALSE(prefs.getInt32(kPrefix, "Word", number));
  EXPECT_FALSE(prefs.getInt32(kPrefix, "Big", number));
  EXPECT_FALSE(prefs.getInt32(kPrefix, "Flag", number));
  EXPECT_FALSE(prefs.getInt32(kPrefix, "Real", number));
  EXPECT_EQ(number, 4);
  double real = 4;
  EXPECT_FALSE(prefs.getDouble(kPrefix, "Flag", real));
  EXPECT_FALSE(prefs.getDouble(kPrefix, "Huge", real));
  EXPECT_FALSE(prefs.getDouble(kPrefix, "Word", real));
  EXPECT_EQ(real, 4);
  EXPECT_TRUE(prefs.getDouble(kPrefix, "Whole", real)) << "an integer is a fine real";
  EXPECT_EQ(real, 7);
  bool flag = false;
  EXPECT_FALSE(prefs.getBool(kPrefix, "Whole", flag));
  std::string text = "kept";
  EXPECT_FALSE(prefs.getString(kPrefix, "Binary", text));
  EXPECT_FALSE(prefs.getString(kPrefix, "Latin1", text));
  EXPECT_FALSE(prefs.getString(kPrefix, "Real", text));
  EXPECT_FALSE(prefs.getString("OtherSection", "Word", text));
  EXPECT_EQ(text, "kept");
}

TEST(Preferences, ACorruptFileWarnsOnceAndIsKeptBeforeTheFirstSave) {
  TempDir dir;
  const auto file = dir / "prefs.ini";
  const std::string corrupt = "[QZVEstampillage]\nAvecNom = true\nthis line is broken\n";
  writeText(file, corrupt);
  Preferences prefs = Preferences::load(file);
  ASSERT_TRUE(prefs.warning());
  EXPECT_NE(prefs.warning()->find(file.string()), std::string::npos) << *prefs.warning();
  EXPECT_NE(prefs.warning()->find("line 3"), std::string::npos) << *prefs.warning();
  bool flag = false;
  EXPECT_FALSE(prefs.getBool(kPrefix, "AvecNom", flag)) << "a damaged file gives an empty store";

  prefs.putBool(kPrefix, "AvecNom", false);
  prefs.save();
  EXPECT_EQ(readText(dir / "prefs.ini.corrupt"), corrupt);
  EXPECT_EQ(readText(file), "[QZVEstampillage]\nAvecNom = false\n");
  prefs.save();  // the copy is made once
  EXPECT_EQ(readText(dir / "prefs.ini.corrupt"), corrupt);

  // A second damaged file does not overwrite the first copy.
  writeText(file, "[unterminated\n");
  Preferences again = Preferences::load(file);
  ASSERT_TRUE(again.warning());
  again.save();
  EXPECT_EQ(readText(dir / "prefs.ini.corrupt"), corrupt);
  EXPECT_EQ(readText(dir / "prefs.ini.corrupt2"), "[unterminated\n");
}

TEST(Preferences, SyntaxErrorsNameTheirLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"Key = 1\n", "line 1: a key comes before any [section]"},
      {"[A]\n\nKey = bare words\n", "line 3: the value is neither"},
      {"[A]\nKey = \"open\n", "line 2: a string must be in double quotes"},
      {"[A]\nKey = \"bad \\q\"\n", "line 2: unknown escape \\q"},
      {"[A]\nKey = \"\\x4\"\n", "line 2: \\x must be followed by two hexadecimal digits"},
  };
  for (const Case& c : cases) {
    const Preferences prefs = Preferences::parse(c.text, "p.ini");
    ASSERT_TRUE(prefs.warning()) << c.text;
    EXPECT_NE(prefs.warning()->find(c.message), std::string::npos) << *prefs.warning();
  }
}

TEST(Preferences, AnUnreadableFileIsNeverReplaced) {
  TempDir dir;
  const auto file = dir / "prefs.ini";
  std::filesystem::create_directory(file);  // a folder where the file should be
  Preferences prefs = Preferences::load(file);
  ASSERT_TRUE(prefs.warning());
  EXPECT_NE(prefs.warning()->find(file.string()), std::string::npos) << *prefs.warning();
  prefs.putBool(kPrefix, "AvecNom", true);
  EXPECT_THROW(prefs.save(), std::runtime_error);
  EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST(Preferences, SavingLeavesNoTemporaryFileAndKeepsPermissions) {
  TempDir dir;
  const auto file = dir / "prefs.ini";
  writeText(file, "[A]\nx = 1\n");
  ::chmod(file.c_str(), 0640);
  Preferences prefs = Preferences::load(file);
  prefs.putInt32("A", "x", 2);
  prefs.save();
  EXPECT_EQ(readText(file), "[A]\nx = 2\n");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(Preferences, UnusableNamesAreRefused) {
  Preferences prefs("p.ini");
  EXPECT_THROW(prefs.putBool(kPrefix, "has space", true), std::invalid_argument);
  EXPECT_THROW(prefs.putBool("[x]", "key", true), std::invalid_argument);
  EXPECT_THROW(prefs.putBool(kPrefix, "", true), std::invalid_argument);
}

}  // namespace
}  // namespace hostsim
