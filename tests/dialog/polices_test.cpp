// The font lists against a font suite whose names and failures the test chooses.
#include <cstring>
#include <string>
#include <vector>

#include "DialogueHote.h"

namespace dialog_test {
namespace {

std::vector<std::string> gNoms;
int32_t gEchecIndex = -1;  // IndexFontList fails for this index
int32_t gEchecNom = -1;    // GetFontName fails for this index

AIFontKey Cle(int32_t i) { return reinterpret_cast<AIFontKey>(static_cast<uintptr_t>(i + 1)); }
int32_t Index(AIFontKey cle) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(cle)) - 1; }

const AIFontSuite kPolices{
    [](int32_t* nombre) -> ASErr {
      *nombre = static_cast<int32_t>(gNoms.size());
      return kNoErr;
    },
    [](int32_t index, AIFontKey* cle) -> ASErr {
      if (index == gEchecIndex || index < 0 || index >= static_cast<int32_t>(gNoms.size())) return fourcc("FNT?");
      *cle = Cle(index);
      return kNoErr;
    },
    [](AIFontKey cle, char* nom, int16_t taille) -> ASErr {
      const int32_t i = Index(cle);
      if (i == gEchecNom) return fourcc("FNT?");
      std::strncpy(nom, gNoms.at(static_cast<size_t>(i)).c_str(), static_cast<size_t>(taille) - 1);
      nom[taille - 1] = '\0';
      return kNoErr;
    },
    [](AIFontKey, ATE::FontRef*) -> ASErr { return kCantHappenErr; },
};

class DialoguePolices : public DialogueHote {
 protected:
  void SetUp() override {
    DialogueHote::SetUp();
    vraies_ = sAIFont;
    sAIFont = const_cast<AIFontSuite*>(&kPolices);
    gEchecIndex = gEchecNom = -1;
  }
  void TearDown() override {
    sAIFont = vraies_;
    DialogueHote::TearDown();
  }

  std::vector<std::string> entrees(int32_t id) {
    std::vector<std::string> textes;
    for (const auto& entree : element(id).list()->entries()) textes.push_back(entree->text());
    return textes;
  }

 private:
  AIFontSuite* vraies_ = nullptr;
};

TEST_F(DialoguePolices, AShorterNameLaterInTheListWins) {
  gNoms = {"Optima-Bold", "Optima", "Zapfino"};
  preferences().putString(kPrefixe, kClePoliceNom, "Optima-Bold");
  utilisateur().cancel();
  ouvre();
  EXPECT_EQ(NumeroPoliceNom, 1);
  EXPECT_EQ(element(3).list()->active(), element(3).list()->at(1));
  EXPECT_STREQ(NomPoliceNom, "Optima-Bold");
  // Nothing stored: the starting font, the first of the list, is matched the same way.
  EXPECT_STREQ(NomPoliceTaille, "Optima-Bold");
  EXPECT_EQ(NumeroPoliceTaille, 1);
}

TEST_F(DialoguePolices, FontNamesLongerThanASettingAreCutAndStillFound) {
  const std::string longue(300, 'L');
  gNoms = {"Arial", longue, "Zapfino"};
  utilisateur().choose(4, 1).ok();
  ouvre();
  EXPECT_EQ(entrees(4), gNoms);
  EXPECT_EQ(NumeroPoliceTaille, 1);
  EXPECT_EQ(std::string(NomPoliceTaille), std::string(255, 'L'));
  std::string stocke;
  ASSERT_TRUE(preferences().getString(kPrefixe, kClePoliceTaille, stocke));
  EXPECT_EQ(stocke, std::string(255, 'L'));

  // Stored cut, the long font is found again at the next opening.
  utilisateur().cancel();
  ouvre();
  EXPECT_EQ(NumeroPoliceTaille, 1);
  EXPECT_EQ(element(4).list()->active(), element(4).list()->at(1));
  EXPECT_TRUE(fautes().empty());
}

TEST_F(DialoguePolices, AListingFailureStopsTheListAtAnEmptyEntry) {
  gNoms = {"Arial", "Courier", "Helvetica", "Times"};
  gEchecIndex = 2;
  preferences().putString(kPrefixe, kClePoliceDate, "Courier");
  utilisateur().cancel();
  ouvre();
  EXPECT_EQ(entrees(5), (std::vector<std::string>{"Arial", "Courier", ""}));
  // The empty name is the beginning of every name, and comes last.
  EXPECT_EQ(NumeroPoliceDate, 2);
}

TEST_F(DialoguePolices, AFontTheHostNoLongerNamesGivesAnEmptySetting) {
  gNoms = {"Arial", "Courier", "Helvetica"};
  hostsim::dialogs(host_).onOpen([](hostsim::adm::Dialog&) { gEchecNom = 1; });
  utilisateur().choose(3, 1).cancel();
  ouvre();
  EXPECT_EQ(NumeroPoliceNom, 1);
  EXPECT_STREQ(NomPoliceNom, "");
}

}  // namespace
}  // namespace dialog_test
