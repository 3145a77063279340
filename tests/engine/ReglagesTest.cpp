// Settings: defaults, the round trip through the host's preferences, values that do not fit.
#include <cstring>
#include <sstream>
#include <string>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

// Every stored setting: boxes, fonts, sizes, date format, stacked, every artboard, separator, top, bottom, below.
std::string StoredSettings() {
  std::ostringstream out;
  out << +CaseAvecNumero << +CaseAvecNom << +CaseAvecTaille << +CaseAvecDate << " " << NomPoliceNom << ","
      << NomPoliceTaille << "," << NomPoliceDate << " " << CorpsNom << "," << CorpsTaille << "," << CorpsDate << " "
      << FormatDate << " " << +InfosSuperposees << +InfosSurTousLesPlans << " [" << Separateur << "] " << +EnHaut
      << +EnBas << +EnDessous;
  return out.str();
}

class Settings : public EngineTest {};

// The first of the host's fonts everywhere, in four-colour black (the fixture loads them).
TEST_F(Settings, NothingStoredGivesTheDefaults) {
  const std::string first = host_.fonts().fonts().at(0).postscriptName;
  EXPECT_EQ(StoredSettings(), "1111 " + first + "," + first + "," + first + " 12,12,12 0 11 [ - ] 001");
  EXPECT_EQ(CouleurTexte.kind, kFourColor);
  for (float ink : {CouleurTexte.c.f.cyan, CouleurTexte.c.f.magenta, CouleurTexte.c.f.yellow, CouleurTexte.c.f.black})
    EXPECT_EQ(ink, 1.0f);
}

TEST_F(Settings, StoredSettingsComeBackAtTheNextOpening) {
  CaseAvecNumero = CaseAvecNom = CaseAvecTaille = CaseAvecDate = false;
  strcpy(NomPoliceNom, kDejaVuSansBold);
  strcpy(NomPoliceTaille, kDejaVuSerif);
  strcpy(NomPoliceDate, kDejaVuSansMono);
  CorpsNom = 7.5;
  CorpsTaille = 10.25;
  CorpsDate = 36.0;
  FormatDate = 2;
  InfosSuperposees = InfosSurTousLesPlans = false;
  strcpy(Separateur, " | ");
  EnHaut = EnDessous = false;
  EnBas = true;
  const std::string edited = StoredSettings();
  EnregistreReglages();
  RemetAZero();
  loadSettings();
  EXPECT_EQ(StoredSettings(), edited);
}

// The separator is read with no default first: an edited one survives when none is stored;
// empty, it is stored so but reads back as " - "; too long, it is cut to 20 characters both
// ways. A font name too long is cut, a missing one keeps the starting font; a date format
// out of range reads as the first.
TEST_F(Settings, EmptySeparatorLastsOneStampingAndWhatDoesNotFitIsCut) {
  strcpy(Separateur, " / ");
  loadSettings();
  EXPECT_STREQ(Separateur, " / ");

  preferences().putString(kPrefixe, kClePoliceNom, std::string(254, 'F') + "LF");
  preferences().putString(kPrefixe, kCleSeparateur, std::string(40, '#') + "end");
  loadSettings();
  EXPECT_EQ(std::string(NomPoliceNom), std::string(254, 'F') + "L");
  EXPECT_EQ(NomPoliceDate, host_.fonts().fonts().at(0).postscriptName);
  EXPECT_EQ(std::string(Separateur), std::string(20, '#'));
  EXPECT_EQ(item(kIdSeparateur).text(), std::string(20, '#'));
  for (int32_t format : {3, -1}) {
    preferences().putInt32(kPrefixe, kCleFormatDate, format);
    LitFormatDate();
    EXPECT_EQ(FormatDate, 0) << format;
  }

  Separateur[0] = '\0';
  EnregistreReglages();
  std::string stored = "unread";
  EXPECT_TRUE(preferences().getString(kPrefixe, kCleSeparateur, stored));
  EXPECT_EQ(stored, "");
  loadSettings();
  EXPECT_STREQ(Separateur, " - ");
  memset(Separateur, '=', 21);
  Separateur[21] = '\0';
  EnregistreReglages();
  EXPECT_TRUE(preferences().getString(kPrefixe, kCleSeparateur, stored));
  EXPECT_EQ(stored, std::string(20, '='));
}

}  // namespace
