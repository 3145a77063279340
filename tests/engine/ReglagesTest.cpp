// Settings: defaults on a host with nothing stored, the round trip through the host's
// preferences, and stored values that do not fit their variables.
#include <cstring>
#include <string>

#include "support/plugin_host.h"

namespace engine_test {
using namespace testsupport;
namespace {

class Settings : public EngineTest {
 protected:
  hostsim::Preferences& preferences() { return host_.preferences(); }

  std::string firstFontName() {
    AIFontKey key = nullptr;
    EXPECT_EQ(sAIFont->IndexFontList(0, &key), kNoErr);
    char name[1024] = {};
    EXPECT_EQ(sAIFont->GetFontName(key, name, sizeof name), kNoErr);
    return name;
  }

  // Settings as a user could leave them, none at its default.
  void editEverything() {
    CaseAvecNumero = false;
    CaseAvecNom = false;
    CaseAvecTaille = false;
    CaseAvecDate = false;
    strcpy(NomPoliceNom, "DejaVuSans-Bold");
    strcpy(NomPoliceTaille, "DejaVuSerif");
    strcpy(NomPoliceDate, "DejaVuSansMono");
    CorpsNom = 7.5;
    CorpsTaille = 10.25;
    CorpsDate = 36.0;
    FormatDate = 2;
    InfosSuperposees = false;
    InfosSurTousLesPlans = false;
    strcpy(Separateur, " | ");
    EnHaut = true;
    EnBas = false;
    EnDessous = false;
  }
};

TEST_F(Settings, NothingStoredGivesTheDefaults) {
  RemetAZero();
  CouleurTexte = {};
  Separateur[0] = '\0';
  loadSettings();

  std::string first = firstFontName();
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(NomPoliceNom, first);
  EXPECT_EQ(NomPoliceTaille, first);
  EXPECT_EQ(NomPoliceDate, first);
  EXPECT_EQ(CouleurTexte.kind, kFourColor);
  EXPECT_EQ(CouleurTexte.c.f.cyan, 1.0f);
  EXPECT_EQ(CouleurTexte.c.f.magenta, 1.0f);
  EXPECT_EQ(CouleurTexte.c.f.yellow, 1.0f);
  EXPECT_EQ(CouleurTexte.c.f.black, 1.0f);

  EXPECT_TRUE(CaseAvecNumero && CaseAvecNom && CaseAvecTaille && CaseAvecDate);
  EXPECT_EQ(CorpsNom, 12.0);
  EXPECT_EQ(CorpsTaille, 12.0);
  EXPECT_EQ(CorpsDate, 12.0);
  EXPECT_EQ(FormatDate, 0);
  EXPECT_TRUE(InfosSuperposees);
  EXPECT_TRUE(InfosSurTousLesPlans);
  EXPECT_STREQ(Separateur, " - ");
  EXPECT_FALSE(EnHaut);
  EXPECT_FALSE(EnBas);
  EXPECT_TRUE(EnDessous);
}

TEST_F(Settings, StoredSettingsComeBackAtTheNextOpening) {
  editEverything();
  EnregistreReglages();

  bool flag = true;
  EXPECT_TRUE(preferences().getBool(kPrefixe, kCleAvecNom, flag));
  EXPECT_FALSE(flag);
  double size = 0;
  EXPECT_TRUE(preferences().getDouble(kPrefixe, kCleCorpsTaille, size));
  EXPECT_EQ(size, 10.25);
  std::string text;
  EXPECT_TRUE(preferences().getString(kPrefixe, kCleSeparateur, text));
  EXPECT_EQ(text, " | ");

  RemetAZero();
  loadSettings();
  EXPECT_FALSE(CaseAvecNumero || CaseAvecNom || CaseAvecTaille || CaseAvecDate);
  EXPECT_STREQ(NomPoliceNom, "DejaVuSans-Bold");
  EXPECT_STREQ(NomPoliceTaille, "DejaVuSerif");
  EXPECT_STREQ(NomPoliceDate, "DejaVuSansMono");
  EXPECT_EQ(CorpsNom, 7.5);
  EXPECT_EQ(CorpsTaille, 10.25);
  EXPECT_EQ(CorpsDate, 36.0);
  EXPECT_EQ(FormatDate, 2);
  EXPECT_FALSE(InfosSuperposees);
  EXPECT_FALSE(InfosSurTousLesPlans);
  EXPECT_STREQ(Separateur, " | ");
  EXPECT_TRUE(EnHaut);
  EXPECT_FALSE(EnBas);
  EXPECT_FALSE(EnDessous);
}

TEST_F(Settings, EmptySeparatorLastsOneStamping) {
  Separateur[0] = '\0';
  EnregistreReglages();
  std::string text = "unread";
  EXPECT_TRUE(preferences().getString(kPrefixe, kCleSeparateur, text));
  EXPECT_EQ(text, "");
  loadSettings();
  EXPECT_STREQ(Separateur, " - ");
}

TEST_F(Settings, EditedSeparatorSurvivesWhenNoneIsStored) {
  strcpy(Separateur, " / ");
  loadSettings();
  EXPECT_STREQ(Separateur, " / ");
}

TEST_F(Settings, FontMissingFromPreferencesKeepsStartingFont) {
  preferences().putString(kPrefixe, kClePoliceTaille, "DejaVuSerif");
  loadSettings();
  EXPECT_EQ(NomPoliceNom, firstFontName());
  EXPECT_STREQ(NomPoliceTaille, "DejaVuSerif");
  EXPECT_EQ(NomPoliceDate, firstFontName());
}

TEST_F(Settings, LongStoredSeparatorIsCutToTwentyCharacters) {
  preferences().putString(kPrefixe, kCleSeparateur, std::string(40, '#') + "end");
  loadSettings();
  EXPECT_EQ(std::string(Separateur), std::string(20, '#'));
  EXPECT_EQ(item(kIdSeparateur).text(), std::string(20, '#'));
}

TEST_F(Settings, SeparatorLongerThanTwentyIsStoredCut) {
  memset(Separateur, '=', 21);
  Separateur[21] = '\0';
  EnregistreReglages();
  std::string text;
  EXPECT_TRUE(preferences().getString(kPrefixe, kCleSeparateur, text));
  EXPECT_EQ(text, std::string(20, '='));
}

TEST_F(Settings, LongStoredFontNamesAreCutToTheirBuffer) {
  std::string longName(400, 'F');
  longName[254] = 'L';  // the last byte that fits
  preferences().putString(kPrefixe, kClePoliceNom, longName);
  preferences().putString(kPrefixe, kClePoliceTaille, longName);
  preferences().putString(kPrefixe, kClePoliceDate, longName);
  loadSettings();
  for (const char* name : {NomPoliceNom, NomPoliceTaille, NomPoliceDate}) {
    EXPECT_EQ(strlen(name), 255u);
    EXPECT_EQ(std::string(name), longName.substr(0, 255));
  }
}

TEST_F(Settings, CopiedFontNameIsCutToFit) {
  std::string hostName(1023, 'n');
  CopieNomPolice(NomPoliceNom, hostName.c_str());
  EXPECT_EQ(std::string(NomPoliceNom), std::string(255, 'n'));
  CopieNomPolice(NomPoliceNom, "DejaVuSans");
  EXPECT_STREQ(NomPoliceNom, "DejaVuSans");
}

TEST_F(Settings, StartingFontRefusedStopsLoadingWithTheHostsCode) {
  strcpy(NomPoliceNom, "before");
  CouleurTexte = {};
  failNextCall("AI Font Suite.IndexFontList", fourcc("FONT"));
  EXPECT_EQ(ChargePoliceDeDepart(), fourcc("FONT"));
  EXPECT_STREQ(NomPoliceNom, "before");
  EXPECT_EQ(CouleurTexte.kind, 0);
}

TEST_F(Settings, StartingFontNameRefusedStopsLoading) {
  strcpy(NomPoliceDate, "before");
  failNextCall("AI Font Suite.GetFontName", fourcc("NAME"), 3);
  EXPECT_EQ(ChargePoliceDeDepart(), fourcc("NAME"));
  EXPECT_STREQ(NomPoliceDate, "before");
}

}  // namespace
}  // namespace engine_test
