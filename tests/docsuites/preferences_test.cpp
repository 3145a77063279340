// The preference suite over the host's store, and its file.
#include <cstring>
#include <fstream>
#include <string>

#include "hostsim/model/preferences.h"
#include "support.h"

namespace docsuites_test {
namespace {

constexpr const char* kPrefix = "QZVEstampillage";

class PreferenceSuite : public HostTest {
 protected:
  const AIPreferenceSuite& prefs = suite<AIPreferenceSuite>(kAIPreferenceSuite, kAIPreferenceSuiteVersion);

  void useFile(const std::filesystem::path& file) {
    host_.setPreferences(std::make_unique<hostsim::Preferences>(hostsim::Preferences::load(file)));
  }
};

TEST_F(PreferenceSuite, MissingKeysAndOtherKindsLeaveTheDestination) {
  AIBoolean flag = 1;
  int32_t format = 2;
  double size = 12.0;
  char name[16] = "DejaVuSans";
  EXPECT_EQ(prefs.GetBooleanPreference(kPrefix, "AvecNom", &flag), kNoErr);
  EXPECT_EQ(prefs.GetIntegerPreference(kPrefix, "FormatDate", &format), kNoErr);
  EXPECT_EQ(prefs.GetRealPreference(kPrefix, "CorpsNom", &size), kNoErr);
  EXPECT_EQ(prefs.GetStringPreference(kPrefix, "PoliceNom", name, sizeof name), kNoErr);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(format, 2);
  EXPECT_EQ(size, 12.0);
  EXPECT_STREQ(name, "DejaVuSans");

  ASSERT_EQ(prefs.PutStringPreference(kPrefix, "AvecNom", "oui"), kNoErr);
  EXPECT_EQ(prefs.GetBooleanPreference(kPrefix, "AvecNom", &flag), kNoErr);
  EXPECT_EQ(flag, 1) << "a string is no boolean";
  ASSERT_EQ(prefs.PutBooleanPreference(kPrefix, "FormatDate", false), kNoErr);
  EXPECT_EQ(prefs.GetIntegerPreference(kPrefix, "FormatDate", &format), kNoErr);
  EXPECT_EQ(format, 2);
}

TEST_F(PreferenceSuite, ValuesAreWrittenToTheFileAtOnceAndReadBack) {
  TempDir dir;
  const auto file = dir / "prefs" / "hostsim.ini";
  useFile(file);
  ASSERT_EQ(prefs.PutBooleanPreference(kPrefix, "EnDessous", true), kNoErr);
  ASSERT_EQ(prefs.PutIntegerPreference(kPrefix, "FormatDate", 1), kNoErr);
  ASSERT_EQ(prefs.PutRealPreference(kPrefix, "CorpsNom", 7.5), kNoErr);
  // " • " in Mac Roman
  ASSERT_EQ(prefs.PutStringPreference(kPrefix, "Separateur", " \xA5 "), kNoErr);
  ASSERT_TRUE(std::filesystem::exists(file));

  useFile(file);  // as the next run of the host
  AIBoolean below = false;
  int32_t format = 0;
  double size = 0;
  char separator[22] = {};
  EXPECT_EQ(prefs.GetBooleanPreference(kPrefix, "EnDessous", &below), kNoErr);
  EXPECT_EQ(prefs.GetIntegerPreference(kPrefix, "FormatDate", &format), kNoErr);
  EXPECT_EQ(prefs.GetRealPreference(kPrefix, "CorpsNom", &size), kNoErr);
  EXPECT_EQ(prefs.GetStringPreference(kPrefix, "Separateur", separator, sizeof separator), kNoErr);
  EXPECT_TRUE(below);
  EXPECT_EQ(format, 1);
  EXPECT_EQ(size, 7.5);
  EXPECT_STREQ(separator, " \xA5 ");
}

TEST_F(PreferenceSuite, LongStringsAreCutToTheBuffer) {
  const std::string longName(300, 'F');
  ASSERT_EQ(prefs.PutStringPreference(kPrefix, "PoliceNom", longName.c_str()), kNoErr);
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  char small[8];
  EXPECT_EQ(prefs.GetStringPreference(kPrefix, "PoliceNom", small, sizeof small), kNoErr);
  EXPECT_EQ(std::string(small), std::string(7, 'F'));
  EXPECT_EQ(prefs.GetStringPreference(kPrefix, "PoliceNom", buffer, 0), kBadParameterErr);
  EXPECT_EQ(buffer[0], 'x');
}

TEST_F(PreferenceSuite, AFailedSaveIsReportedAndNotKept) {
  TempDir dir;
  std::ofstream(dir / "not-a-folder") << "x";
  useFile(dir / "not-a-folder" / "hostsim.ini");
  EXPECT_NE(prefs.PutIntegerPreference(kPrefix, "FormatDate", 1), kNoErr);
  int32_t format = 0;
  prefs.GetIntegerPreference(kPrefix, "FormatDate", &format);
  EXPECT_EQ(format, 0) << "what could not be saved is not kept";
  EXPECT_FALSE(host_.preferences().contains(kPrefix, "FormatDate"));
  EXPECT_EQ(prefs.PutIntegerPreference(kPrefix, "bad key", 1), kBadParameterErr);
  EXPECT_EQ(prefs.PutStringPreference(kPrefix, "Separateur", nullptr), kBadParameterErr);
}

TEST_F(PreferenceSuite, APlannedFaultChangesNothing) {
  host_.faults().failCall("AI Preference Suite.PutRealPreference", 1, fourcc("TEST"));
  EXPECT_EQ(prefs.PutRealPreference(kPrefix, "CorpsNom", 9), fourcc("TEST"));
  EXPECT_FALSE(host_.preferences().contains(kPrefix, "CorpsNom"));
  EXPECT_EQ(prefs.PutRealPreference(kPrefix, "CorpsNom", 9), kNoErr);
  EXPECT_TRUE(host_.preferences().contains(kPrefix, "CorpsNom"));
}

}  // namespace
}  // namespace docsuites_test
