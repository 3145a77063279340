// The preview's drawing, on a drawer that records every operation as a line of text.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "dialog/DateDialogue.h"
#include "engine/Reglages.h"
#include "shell/DateSuites.h"

namespace {

std::vector<std::string> gTrace;

std::string Rect(const ADMRect* r) {
  return std::to_string(r->top) + "," + std::to_string(r->left) + "," + std::to_string(r->bottom) + "," +
         std::to_string(r->right);
}
std::string Point(const ADMPoint* p) { return std::to_string(p->v) + "," + std::to_string(p->h); }

ADMDrawerSuite gDrawer{
    [](ADMDrawerRef) { gTrace.push_back("clear"); },
    [](ADMDrawerRef, int32_t color) { gTrace.push_back("color " + std::to_string(color)); },
    [](ADMDrawerRef, int32_t font) { gTrace.push_back("font " + std::to_string(font)); },
    [](ADMDrawerRef, const ADMRect* r) { gTrace.push_back("frame " + Rect(r)); },
    [](ADMDrawerRef, const ADMRect* r) { gTrace.push_back("fill " + Rect(r)); },
    [](ADMDrawerRef, const ADMPoint* a, const ADMPoint* b) { gTrace.push_back("line " + Point(a) + " " + Point(b)); },
    [](ADMDrawerRef, const char* text, const ADMPoint* p) { gTrace.push_back(std::string(text) + " @" + Point(p)); },
    [](ADMDrawerRef, const char* text, const ADMRect* r) { gTrace.push_back(std::string(text) + " in " + Rect(r)); },
    [](ADMDrawerRef, ADMIconRef, const ADMPoint* p) { gTrace.push_back("icon @" + Point(p)); },
};

struct Reglage {
  bool numero, nom, taille, date, superposees, tous;
  enum { Haut, Bas, Dessous } position;
};

class DialogueApercu : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = sADMDrawer;
    sADMDrawer = &gDrawer;
    gTrace.clear();
  }
  void TearDown() override { sADMDrawer = saved_; }

  static void Regle(const Reglage& r) {
    CaseAvecNumero = r.numero;
    CaseAvecNom = r.nom;
    CaseAvecTaille = r.taille;
    CaseAvecDate = r.date;
    InfosSuperposees = r.superposees;
    InfosSurTousLesPlans = r.tous;
    EnHaut = r.position == Reglage::Haut;
    EnBas = r.position == Reglage::Bas;
    EnDessous = r.position == Reglage::Dessous;
  }

  static std::vector<std::string> Dessine(const Reglage& r) {
    Regle(r);
    gTrace.clear();
    ZoneDessinDansDialogueDraw(nullptr, nullptr);
    return gTrace;
  }

  // Only the texts, in drawing order.
  static std::vector<std::string> Textes(const std::vector<std::string>& trace) {
    std::vector<std::string> textes;
    for (const auto& op : trace) {
      if (op.find(" in ") != std::string::npos || op.find(" @") != std::string::npos) {
        if (op.rfind("icon", 0) != 0) textes.push_back(op);
      }
    }
    return textes;
  }

  static std::vector<std::string> Lignes(const std::vector<std::string>& trace) {
    std::vector<std::string> lignes;
    std::copy_if(trace.begin(), trace.end(), std::back_inserter(lignes),
                 [](const std::string& op) { return op.rfind("line", 0) == 0; });
    return lignes;
  }

 private:
  ADMDrawerSuite* saved_ = nullptr;
};

TEST_F(DialogueApercu, NothingShownBelowDrawsTheArtboardAndACollapsedOutline) {
  const std::vector<std::string> attendu{
      "clear",       "color 0",     "frame 0,0,143,123",   "color 1",          "fill 1,1,142,122",
      "color 16",    "line 143,0 143,0", "line 143,122 143,122", "line 143,0 143,122",
  };
  EXPECT_EQ(Dessine({false, false, false, false, true, false, Reglage::Dessous}), attendu);
  // The number never shows without the name.
  EXPECT_EQ(Dessine({true, false, false, false, true, false, Reglage::Dessous}), attendu);
}

TEST_F(DialogueApercu, StackedBelowTwoArtboardsFillsBothBleeds) {
  const auto trace = Dessine({true, true, true, true, true, true, Reglage::Dessous});
  const std::vector<std::string> lignes{
      "line 51,0 87,0",    "line 51,122 87,122",    "line 87,0 87,122",
      "line 143,0 179,0",  "line 143,122 179,122",  "line 179,0 179,122",
  };
  EXPECT_EQ(Lignes(trace), lignes);
  const std::vector<std::string> textes{
      "2/2 Nom in 50,0,62,123",  "Taille in 62,0,74,123",  "Date in 74,0,86,123",
      "1/2 Nom in 142,0,154,123", "Taille in 154,0,166,123", "Date in 166,0,178,123",
  };
  EXPECT_EQ(Textes(trace), textes);
  // Artboards first, upper then lower; the texts in black, in the palette font.
  const std::vector<std::string> debut{"clear", "color 0", "frame 0,0,51,123", "color 1", "fill 1,1,50,122", "color 16"};
  EXPECT_TRUE(std::equal(debut.begin(), debut.end(), trace.begin()));
  const auto premierTexte = std::find(trace.begin(), trace.end(), textes.front());
  ASSERT_NE(premierTexte, trace.end());
  EXPECT_EQ(*(premierTexte - 2), "color 0");
  EXPECT_EQ(*(premierTexte - 1), "font 13");
}

TEST_F(DialogueApercu, StackedAtTheBottomOfTheUpperArtboard) {
  struct Cas {
    bool nom, taille, date;
    std::vector<std::string> haut;
  };
  const Cas cas[] = {
      {false, false, true, {"Date in 37,0,49,123"}},
      {false, true, true, {"Taille in 26,0,38,123", "Date in 38,0,50,123"}},
      {true, true, true, {"Nom in 14,0,26,123", "Taille in 26,0,38,123", "Date in 38,0,50,123"}},
  };
  for (const auto& c : cas) {
    const auto textes = Textes(Dessine({false, c.nom, c.taille, c.date, true, true, Reglage::Bas}));
    ASSERT_EQ(textes.size(), 2 * c.haut.size());
    EXPECT_TRUE(std::equal(c.haut.begin(), c.haut.end(), textes.begin())) << textes.front();
  }
  // The lower and single artboards put the block against their bottom edge.
  EXPECT_EQ(Textes(Dessine({false, true, false, true, true, false, Reglage::Bas})),
            (std::vector<std::string>{"Nom in 118,0,130,123", "Date in 130,0,142,123"}));
}

TEST_F(DialogueApercu, StackedAtTheTop) {
  EXPECT_EQ(Textes(Dessine({false, true, true, false, true, true, Reglage::Haut})),
            (std::vector<std::string>{"Nom in 0,0,12,123", "Taille in 12,0,24,123", "Nom in 91,0,103,123",
                                      "Taille in 103,0,115,123"}));
  EXPECT_EQ(Textes(Dessine({false, false, false, true, true, false, Reglage::Haut})),
            (std::vector<std::string>{"Date in 0,0,12,123"}));
}

TEST_F(DialogueApercu, OneLineKeepsItsColumnsWhateverIsShown) {
  EXPECT_EQ(Textes(Dessine({false, true, true, true, false, true, Reglage::Haut})),
            (std::vector<std::string>{"Nom @11,24", "Taille @11,57", "Date @11,94", "Nom @103,24", "Taille @103,57",
                                      "Date @103,94"}));
  EXPECT_EQ(Textes(Dessine({false, false, false, true, false, false, Reglage::Bas})),
            (std::vector<std::string>{"Date @140,94"}));
  EXPECT_EQ(Textes(Dessine({false, true, false, false, false, true, Reglage::Dessous})),
            (std::vector<std::string>{"Nom @61,24", "Nom @153,24"}));
}

TEST_F(DialogueApercu, OneLineBleedIsOneLineDeep) {
  const auto lignes = Lignes(Dessine({false, true, true, true, false, false, Reglage::Dessous}));
  EXPECT_EQ(lignes.back(), "line 155,0 155,122");
}

TEST_F(DialogueApercu, OutlineOnlyBelow) {
  for (auto position : {Reglage::Haut, Reglage::Bas}) {
    const auto trace = Dessine({true, true, true, true, true, true, position});
    EXPECT_TRUE(Lignes(trace).empty());
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "color 16"), 0);
  }
}

TEST_F(DialogueApercu, NumberLabelsFollowTheLayoutNotTheCount) {
  struct Cas {
    Reglage reglage;
    std::vector<std::string> textes;
  };
  const Cas cas[] = {
      // Stacked, name with other items.
      {{true, true, false, true, true, true, Reglage::Haut},
       {"2/2 Nom in 0,0,12,123", "Date in 12,0,24,123", "1/2 Nom in 91,0,103,123", "Date in 103,0,115,123"}},
      {{true, true, true, false, true, false, Reglage::Dessous}, {"1/2 Nom in 142,0,154,123", "Taille in 154,0,166,123"}},
      // Stacked, name alone.
      {{true, true, false, false, true, true, Reglage::Bas}, {"2/2 Nom in 37,0,49,123", "1/2 Nom in 130,0,142,123"}},
      {{true, true, false, false, true, true, Reglage::Dessous}, {"2/2 Nom in 50,0,62,123", "1/2 Nom in 142,0,154,123"}},
      {{true, true, false, false, true, true, Reglage::Haut}, {"1/2 Nom in 0,0,12,123", "2/2 Nom in 91,0,103,123"}},
      {{true, true, false, false, true, false, Reglage::Haut}, {"1/2 Nom in 0,0,12,123"}},
      // One line.
      {{true, true, true, true, false, true, Reglage::Haut},
       {"2/2 @11,3", "Nom @11,24", "Taille @11,57", "Date @11,94", "1/2 @103,3", "Nom @103,24", "Taille @103,57",
        "Date @103,94"}},
      {{true, true, true, false, false, true, Reglage::Bas},
       {"1/2 @48,3", "Nom @48,24", "Taille @48,57", "2/2 @140,3", "Nom @140,24", "Taille @140,57"}},
      {{true, true, false, false, false, false, Reglage::Dessous}, {"2/2 @153,3", "Nom @153,24"}},
      {{true, true, true, true, false, false, Reglage::Dessous},
       {"1/2 @153,3", "Nom @153,24", "Taille @153,57", "Date @153,94"}},
  };
  for (const auto& c : cas) EXPECT_EQ(Textes(Dessine(c.reglage)), c.textes) << c.textes.front();
}

}  // namespace
