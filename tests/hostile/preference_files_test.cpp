// Whole preference files that are empty, binary, huge, oddly encoded or not files at all.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "hostsim/model/preferences.h"
#include "support.h"

namespace hostile {
namespace {

using nlohmann::json;

const int kRegistered = countInputs("preferences: whole files", 12);

const char kSettings[] =
    "[QZVEstampillage]\n"
    "AvecNum = false\n"
    "PoliceNom = \"DejaVuSerif\"\n"
    "CorpsTaille = 20.0\n"
    "FormatDate = 1\n"
    "InfosSuper = false\n"
    "Separateur = \" / \"\n";

class PreferenceFile : public ::testing::Test {
 protected:
  Result stamp(const std::string& prefsArgument = "prefs.ini") {
    std::filesystem::remove(ws / "report.json");
    const Snapshot before = Snapshot::of(input);
    Result r = ws.run({"stamp", "--date", "2012-04-10", "--prefs", prefsArgument, "-o", "out.svg", "--report",
                       "report.json", "affiche-a4.svg"});
    EXPECT_TRUE(Snapshot::of(input) == before) << "the input document was touched";
    EXPECT_TRUE(std::filesystem::exists(ws / "out.svg"));
    return r;
  }
  std::vector<std::string> texts() { return stampTexts(firstDocument(ws / "report.json")); }

  Workspace ws;
  std::filesystem::path input = ws.example("affiche-a4.svg");
  std::filesystem::path prefs = ws / "prefs.ini";
  const std::vector<std::string> defaults = {"1/1", "210 mm x 297 mm", " - affiche-a4.svg", "Mardi 10 avril 2012"};
  const std::vector<std::string> settings = {" / 210 mm x 297 mm / ", "affiche-a4.svg", "Mar 10 avr 2012"};
};

TEST_F(PreferenceFile, EmptyOrOnlyCommentsGivesTheDefaultsWithoutAWord) {
  for (const std::string& text : {std::string(), std::string("\n\n  \t\n; nothing\n# still nothing\n")}) {
    writeFile(prefs, text);
    Result r = stamp();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(texts(), defaults);
    EXPECT_FALSE(std::filesystem::exists(ws / "prefs.ini.corrupt"));
  }
}

TEST_F(PreferenceFile, ByteOrderMarkAndWindowsLineEndsAreRead) {
  writeFile(prefs, "\xEF\xBB\xBF" + std::string(kSettings));
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(texts(), settings);

  std::string crlf;
  for (char c : std::string(kSettings)) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  writeFile(prefs, crlf);
  r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(texts(), settings);
}

TEST_F(PreferenceFile, BinaryGarbageIsSetAsideWholeAndTheDefaultsStand) {
  std::mt19937 random(6);
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
  writeFile(prefs, garbage);
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("warning: preferences file 'prefs.ini', line"), std::string::npos) << r.err;
  EXPECT_EQ(texts(), defaults);
  EXPECT_EQ(readFile(ws / "prefs.ini.corrupt"), garbage);
  EXPECT_FALSE(hostsim::Preferences::load(prefs).warning()) << "what OK stored reads back";
}

TEST_F(PreferenceFile, AnEarlierCorruptCopyIsNeverOverwritten) {
  writeFile(ws / "prefs.ini.corrupt", "the first damaged file");
  writeFile(prefs, "[QZVEstampillage\nAvecNum = false\n");
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(texts(), defaults);
  EXPECT_EQ(readFile(ws / "prefs.ini.corrupt"), "the first damaged file");
  EXPECT_EQ(readFile(ws / "prefs.ini.corrupt2"), "[QZVEstampillage\nAvecNum = false\n");
}

TEST_F(PreferenceFile, OtherSectionsAndRepeatedKeys) {
  // Our keys under another prefix are not ours; a repeated key: the last one stands.
  writeFile(prefs, "[Autre]\nAvecNum = false\nInfosSuper = false\n[QZVEstampillage]\nFormatDate = 2\nFormatDate = 1\n");
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(texts(), (std::vector<std::string>{"1/1", "210 mm x 297 mm", " - affiche-a4.svg", "Mar 10 avr 2012"}));
  hostsim::Preferences stored = hostsim::Preferences::load(prefs);
  bool number = true;
  EXPECT_TRUE(stored.getBool("Autre", "AvecNum", number));
  EXPECT_FALSE(number) << "another section's settings are kept as they were";
}

TEST_F(PreferenceFile, TenMegabytesOfOtherSectionsAreRead) {
  std::string text;
  for (int i = 0; text.size() < 10'000'000; ++i)
    text += "[Section" + std::to_string(i) + "]\nCle = \"" + std::string(80, 'v') + "\"\nAutre = 1.5\n";
  text += kSettings;
  writeFile(prefs, text);
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(texts(), settings);
}

TEST_F(PreferenceFile, ALineOfAMegabyteAndANulInsideALine) {
  writeFile(prefs, std::string(kSettings) + "Long = \"" + std::string(1 << 20, 'x') + "\"\n");
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(texts(), settings);

  writeFile(prefs, "[QZVEstampillage]\nAvecNum = fa" + std::string(1, '\0') + "lse\n");
  r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
  EXPECT_EQ(texts(), defaults);
}

TEST_F(PreferenceFile, ADirectoryInsteadOfAFileIsNamedAndTheStampingGoesOn) {
  std::filesystem::create_directory(prefs);
  writeFile(prefs / "inside", "kept");
  Result r = stamp();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("warning: preferences not read, they start empty: cannot read 'prefs.ini': Is a directory"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(texts(), defaults);
  EXPECT_TRUE(std::filesystem::is_directory(prefs));
  EXPECT_EQ(readFile(prefs / "inside"), "kept");
  EXPECT_FALSE(std::filesystem::exists(ws / "prefs.ini.corrupt"));
}

TEST_F(PreferenceFile, AFolderThatDoesNotExistYetIsCreated) {
  Result r = stamp("deep/er/prefs.ini");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(ws / "deep" / "er" / "prefs.ini"));
}

}  // namespace
}  // namespace hostile
