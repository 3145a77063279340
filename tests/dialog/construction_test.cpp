// The dialog as the init procedure builds it, from stored and from missing settings, and its
// font lists against a font suite whose names and failures the test chooses.
#include <cstring>
#include <string>
#include <vector>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

class DialogueConstruction : public PluginTest {
 protected:
  void open() {
    user().cancel();
    openDialog();
  }
  void store(const char* cle, bool valeur) { preferences().putBool(kPrefixe, cle, valeur); }
};

TEST_F(DialogueConstruction, WithNothingStoredShowsTheDefaults) {
  open();
  EXPECT_EQ(dialog().titleLabel(), "QZV•Estampilleur (Réglages)");
  EXPECT_EQ(dialog().bounds().bottom, 486);
  EXPECT_EQ(dialog().bounds().right, 945);
  EXPECT_EQ(dialog().items().size(), 24u);
  for (int32_t id : {21, 13, 14, 15, 16, 17, 24}) EXPECT_TRUE(item(id).value()) << id;
  for (int32_t id : {22, 23}) EXPECT_FALSE(item(id).value()) << id;
  for (int32_t id : {6, 7, 8}) EXPECT_EQ(item(id).floatValue(), 12.0f) << id;
  for (int32_t id : {3, 4, 5}) EXPECT_EQ(item(id).list()->active(), item(id).list()->at(0)) << id;
  EXPECT_EQ(item(kIdSeparateur).text(), " - ");
  EXPECT_EQ(item(kIdFormatDate).label(), "Mardi 10 avril 2012");
}

// Size and date off: their fonts (4, 5), buttons (10, 11), sizes (7, 8) and date format (12)
// are disabled. Without the name, the number is off and disabled with the name's fields.
TEST_F(DialogueConstruction, ShowsStoredSettings) {
  for (const char* cle : {kCleAvecNum, kCleAvecTaille, kCleAvecDate, kCleInfosSuper, kCleTousPlans, kCleEnDessous})
    store(cle, false);
  store(kCleEnBas, true);
  preferences().putString(kPrefixe, kClePoliceTaille, kDejaVuSerif);
  preferences().putDouble(kPrefixe, kCleCorpsNom, 7.5);
  preferences().putDouble(kPrefixe, kCleCorpsDate, 30.25);
  preferences().putInt32(kPrefixe, kCleFormatDate, 2);
  preferences().putString(kPrefixe, kCleSeparateur, " / ");
  open();
  for (int32_t id : {21, 14, 15, 16, 17, 22, 24}) EXPECT_FALSE(item(id).value()) << id;
  for (int32_t id : {13, 23}) EXPECT_TRUE(item(id).value()) << id;
  EXPECT_EQ(item(kIdPoliceTaille).label(), kDejaVuSerif);
  EXPECT_EQ(NumeroPoliceTaille, host_.fonts().indexOf(kDejaVuSerif));
  for (const auto& [id, corps] : {std::pair{6, 7.5f}, {7, 12.0f}, {8, 30.25f}}) EXPECT_EQ(item(id).floatValue(), corps);
  EXPECT_EQ(item(kIdFormatDate).label(), "10/04/2012");
  EXPECT_EQ(item(kIdSeparateur).label(), " / ");
  for (int32_t id = 1; id <= 24; ++id) EXPECT_EQ(item(id).enabled(), id < 4 || id > 12 || id == 6 || id == 9) << id;

  store(kCleAvecNom, false);
  store(kCleAvecNum, true);
  open();
  EXPECT_FALSE(item(13).value() || item(21).value() || CaseAvecNumero);
  for (int32_t id : {21, 3, 9, 6}) EXPECT_FALSE(item(id).enabled()) << id;
}

// A stored font the host lacks selects the first and keeps its name, which OK stores again.
TEST_F(DialogueConstruction, StoredFontNoneHasSelectsTheFirstAndKeepsTheName) {
  preferences().putString(kPrefixe, kClePoliceNom, "Helvetica");
  NumeroPoliceNom = 3;
  user().ok();
  openDialog();
  EXPECT_EQ(item(3).list()->active(), item(3).list()->at(0));
  EXPECT_EQ(NumeroPoliceNom, 0);
  std::string stocke;
  EXPECT_TRUE(preferences().getString(kPrefixe, kClePoliceNom, stocke) && stocke == "Helvetica");
}

// Without a starting font: an alert, and the dialog closes with nothing built or changed.
TEST_F(DialogueConstruction, WithoutAStartingFontTheDialogClosesWithAnAlert) {
  failNextCall("AI Font Suite.IndexFontList", fourcc("FNT?"));
  const std::string avant = preferences().toString() + document().toString();
  openDialog();
  EXPECT_TRUE(dialog().items().empty());
  EXPECT_FALSE(dialog().open() || dialog().endedByHost());
  EXPECT_TRUE(dialog().cancelling());
  ASSERT_EQ(alerts().size(), 1u);
  EXPECT_NE(alerts()[0].find("police"), std::string::npos);
  EXPECT_EQ(preferences().toString() + document().toString(), avant);
}

// Fonts named as the test chooses; what the host cannot list or name is the fault sweep's.
std::vector<std::string> gNoms;

const AIFontSuite kPolices{
    [](int32_t* nombre) -> ASErr {
      *nombre = static_cast<int32_t>(gNoms.size());
      return kNoErr;
    },
    [](int32_t index, AIFontKey* cle) -> ASErr {
      if (index < 0 || index >= static_cast<int32_t>(gNoms.size())) return fourcc("FNT?");
      *cle = reinterpret_cast<AIFontKey>(static_cast<uintptr_t>(index + 1));
      return kNoErr;
    },
    [](AIFontKey cle, char* nom, int16_t taille) -> ASErr {
      const size_t i = reinterpret_cast<uintptr_t>(cle) - 1;
      std::strncpy(nom, gNoms.at(i).c_str(), static_cast<size_t>(taille) - 1);
      nom[taille - 1] = '\0';
      return kNoErr;
    },
    [](AIFontKey, ATE::FontRef*) -> ASErr { return kCantHappenErr; },
};

// The suite goes back by its name at the end, and its global with it.
class DialoguePolices : public DialogueConstruction {
 protected:
  void SetUp() override {
    DialogueConstruction::SetUp();
    sAIFont = const_cast<AIFontSuite*>(&kPolices);
  }
};

// Each list holds the host's fonts in order; a shorter name later wins, for a stored name as
// for the first, starting font. A name longer than a setting is cut, stored, found again.
TEST_F(DialoguePolices, AShorterNameLaterInTheListWins) {
  gNoms = {"Optima-Bold", "Optima", std::string(300, 'L')};
  preferences().putString(kPrefixe, kClePoliceNom, "Optima-Bold");
  user().choose(kIdPoliceDate, 2).ok();
  openDialog();
  for (int32_t id : {3, 4, 5}) {
    std::vector<std::string> entrees;
    for (const auto& entree : item(id).list()->entries()) entrees.push_back(entree->text());
    EXPECT_EQ(entrees, gNoms) << id;
  }
  EXPECT_EQ(item(3).list()->active(), item(3).list()->at(1));
  EXPECT_STREQ(NomPoliceNom, "Optima-Bold");
  EXPECT_STREQ(NomPoliceTaille, "Optima-Bold");
  EXPECT_EQ(NumeroPoliceTaille, 1);
  std::string stocke;
  EXPECT_TRUE(preferences().getString(kPrefixe, kClePoliceDate, stocke) && stocke == std::string(255, 'L'));
  open();
  EXPECT_EQ(NumeroPoliceDate, 2);
}

}  // namespace
