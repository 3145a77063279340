// The preview's drawing, on a drawer that records every operation as a line of text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog/DateDialogue.h"
#include "engine/Reglages.h"
#include "shell/DateSuites.h"

namespace {

using Trace = std::vector<std::string>;
Trace gTrace;

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

enum Position { kHaut, kBas, kDessous };

struct Reglage {
  bool numero, nom, taille, date, superposees, tous;
  Position position;
};

Trace Dessine(const Reglage& r) {
  CaseAvecNumero = r.numero;
  CaseAvecNom = r.nom;
  CaseAvecTaille = r.taille;
  CaseAvecDate = r.date;
  InfosSuperposees = r.superposees;
  InfosSurTousLesPlans = r.tous;
  EnHaut = r.position == kHaut;
  EnBas = r.position == kBas;
  EnDessous = r.position == kDessous;
  ADMDrawerSuite* saved = sADMDrawer;
  sADMDrawer = &gDrawer;
  gTrace.clear();
  ZoneDessinDansDialogueDraw(nullptr, nullptr);
  sADMDrawer = saved;
  return gTrace;
}

// The lines, or the texts: a stacked line (centred in a band 12 high across the artboard)
// as "text top", a text on one line as "text @v,h".
Trace Lignes(const Reglage& r) {
  Trace lignes;
  for (const auto& op : Dessine(r))
    if (op.rfind("line ", 0) == 0) lignes.push_back(op);
  return lignes;
}
Trace Textes(const Reglage& r) {
  Trace textes;
  for (const auto& op : Dessine(r)) {
    const size_t in = op.find(" in ");
    const size_t top = in + 4;
    if (in != std::string::npos) textes.push_back(op.substr(0, in) + " " + op.substr(top, op.find(',', in) - top));
    if (op.find(" @") != std::string::npos && op.rfind("icon", 0) != 0) textes.push_back(op);
  }
  return textes;
}

// Nothing shown below: the artboard and a collapsed outline; no number without the name.
TEST(DialogueApercu, NothingShownBelowDrawsTheArtboardAndACollapsedOutline) {
  const Trace attendu{"clear",    "color 0",          "frame 0,0,143,123",    "color 1",          "fill 1,1,142,122",
                      "color 16", "line 143,0 143,0", "line 143,122 143,122", "line 143,0 143,122"};
  EXPECT_EQ(Dessine({false, false, false, false, true, false, kDessous}), attendu);
  EXPECT_EQ(Dessine({true, false, false, false, true, false, kDessous}), attendu);
}

// Upper then lower artboard, each with its outline below (one line deep on one line, none
// above); the texts in black, in the palette font.
TEST(DialogueApercu, StackedBelowTwoArtboardsFillsBothBleeds) {
  const Trace trace = Dessine({true, true, true, true, true, true, kDessous});
  EXPECT_EQ(Lignes({true, true, true, true, true, true, kDessous}),
            (Trace{"line 51,0 87,0", "line 51,122 87,122", "line 87,0 87,122", "line 143,0 179,0",
                   "line 143,122 179,122", "line 179,0 179,122"}));
  const Trace debut{"clear", "color 0", "frame 0,0,51,123", "color 1", "fill 1,1,50,122", "color 16"};
  EXPECT_TRUE(std::equal(debut.begin(), debut.end(), trace.begin()));
  const auto premierTexte = std::find(trace.begin(), trace.end(), "2/2 Nom in 50,0,62,123");
  ASSERT_NE(premierTexte, trace.end());
  EXPECT_EQ(*(premierTexte - 2), "color 0");
  EXPECT_EQ(*(premierTexte - 1), "font 13");
  EXPECT_EQ(Lignes({false, true, true, true, false, false, kDessous}).back(), "line 155,0 155,122");
  for (Position position : {kHaut, kBas}) EXPECT_TRUE(Lignes({true, true, true, true, true, true, position}).empty());
}

// Stacked, the block stands against the artboard's top or bottom edge, or below it; on one
// line the columns stay whatever is shown. The sample numbers follow the layout, not a count.
TEST(DialogueApercu, TextsFollowTheLayoutThePositionAndTheItemsShown) {
  const struct {
    Reglage reglage;
    Trace textes;
  } cas[] = {
      {{true, true, true, true, true, true, kDessous},
       {"2/2 Nom 50", "Taille 62", "Date 74", "1/2 Nom 142", "Taille 154", "Date 166"}},
      {{false, false, false, true, true, true, kBas}, {"Date 37", "Date 130"}},
      {{false, true, true, true, true, true, kBas},
       {"Nom 14", "Taille 26", "Date 38", "Nom 106", "Taille 118", "Date 130"}},
      {{false, true, false, true, true, false, kBas}, {"Nom 118", "Date 130"}},
      {{false, true, true, false, true, true, kHaut}, {"Nom 0", "Taille 12", "Nom 91", "Taille 103"}},
      {{false, false, false, true, true, false, kHaut}, {"Date 0"}},
      {{true, true, false, true, true, true, kHaut}, {"2/2 Nom 0", "Date 12", "1/2 Nom 91", "Date 103"}},
      {{true, true, true, false, true, false, kDessous}, {"1/2 Nom 142", "Taille 154"}},
      {{true, true, false, false, true, true, kBas}, {"2/2 Nom 37", "1/2 Nom 130"}},
      {{true, true, false, false, true, true, kDessous}, {"2/2 Nom 50", "1/2 Nom 142"}},
      {{true, true, false, false, true, true, kHaut}, {"1/2 Nom 0", "2/2 Nom 91"}},
      {{true, true, true, true, false, true, kHaut},
       {"2/2 @11,3", "Nom @11,24", "Taille @11,57", "Date @11,94", "1/2 @103,3", "Nom @103,24", "Taille @103,57",
        "Date @103,94"}},
      {{true, true, true, false, false, true, kBas},
       {"1/2 @48,3", "Nom @48,24", "Taille @48,57", "2/2 @140,3", "Nom @140,24", "Taille @140,57"}},
      {{true, true, false, false, false, false, kDessous}, {"2/2 @153,3", "Nom @153,24"}},
      {{false, false, false, true, false, false, kBas}, {"Date @140,94"}},
  };
  for (const auto& c : cas) EXPECT_EQ(Textes(c.reglage), c.textes) << c.textes.front();
}

}  // namespace
