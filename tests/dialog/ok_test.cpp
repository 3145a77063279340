// OK: the earlier stamps go, the document is stamped, the bleed set, the settings stored,
// and the dialog closed whatever goes wrong on the way.
#include <algorithm>
#include <string>
#include <vector>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

// "L'application impose un fond perdu maximum de 72 points.\rDécochez Infos superposées et/ou
// réduisez les corps des polices."
const std::string kAlerteFondPerdu =
    "L'application impose un fond perdu maximum de 72 points.\rD\x8E" "cochez Infos superpos\x8E"
    "es et/ou r\x8E" "duisez les corps des polices.";

class DialogueOK : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    openDocument({{600, 900}, {600, 900}, {600, 900}});
  }
  void expectClosedByOK() {  // a fault of the plug-in fails the test at its end
    EXPECT_FALSE(dialog().open());
    EXPECT_FALSE(dialog().endedByHost());
  }
};

// OK stamps every artboard, remembers where the dialog stood and stores the settings.
TEST_F(DialogueOK, StampsEachOfThreeArtboardsAndStoresEverySetting) {
  hostsim::dialogs(host_).onOpen([](hostsim::adm::Dialog& d) { d.setBounds({10, 20, 290, 470}); });
  user().click(kIdCaseTaille).click(kIdEnBas).ok();
  EXPECT_EQ(openDialog(), 1);
  expectClosedByOK();
  const auto textes = stampTexts();
  EXPECT_EQ(textes.size(), 9u);
  for (const char* numero : {"1/3", "2/3", "3/3"}) EXPECT_EQ(std::count(textes.begin(), textes.end(), numero), 1);
  EXPECT_EQ(std::count(textes.begin(), textes.end(), "Mardi 10 avril 2012"), 3);
  EXPECT_TRUE(alerts().empty());
  EXPECT_EQ(PosDialReglages.left, 20);
  EXPECT_EQ(PosDialReglages.bottom, 290);
  bool taille = true, enBas = false;
  EXPECT_TRUE(preferences().getBool(kPrefixe, kCleAvecTaille, taille) && !taille);
  EXPECT_TRUE(preferences().getBool(kPrefixe, kCleEnBas, enBas) && enBas);
}

// Below, the bottom bleed becomes the stamps' depth, at most 72 with an alert; at the top or
// bottom it is left alone; the other sides stay. A bleed the host could not tell is read
// again, never written unread; an artboard it kept from being stamped undoes no depth.
TEST_F(DialogueOK, BelowSetsTheBottomBleedAndNothingElse) {
  loadSettings();
  const struct {
    int32_t position;  // stacked there, or 0 for one line below
    double nom, taille, date, bas;
    const char* operation = nullptr;  // failing at these calls from this stamping on
    std::vector<uint64_t> nth = {};
  } cas[] = {{kIdEnDessous, 10, 7, 5, 30.8},    // 1.4 x (10 + 7 + 5)
             {kIdEnDessous, 24, 24, 12, 72},    // 84
             {0, 400.0 / 7.0, 10, 10, 72},      // 1.4 x the largest: 80
             {kIdEnHaut, 60, 60, 60, 6},
             {kIdEnBas, 60, 60, 60, 6},
             {kIdEnDessous, 10, 7, 5, 30.8, "AI Document Suite.GetDocumentBleeds", {1}},
             {kIdEnDessous, 10, 7, 5, 6, "AI Document Suite.GetDocumentBleeds", {1, 2}},
             {kIdEnDessous, 10, 7, 5, 30.8, "AI Artboard Suite.GetCount", {4}}};  // the third artboard's
  for (const auto& c : cas) {
    SCOPED_TRACE(std::to_string(c.position) + " " + std::to_string(c.nom) + (c.operation ? c.operation : ""));
    document().setBleed({3, 4, 5, 6});
    InfosSuperposees = c.position != 0;
    EnHaut = c.position == kIdEnHaut;
    EnBas = c.position == kIdEnBas;
    EnDessous = !EnHaut && !EnBas;
    CorpsNom = c.nom;
    CorpsTaille = c.taille;
    CorpsDate = c.date;
    for (uint64_t n : c.nth) failNextCall(c.operation, kCantHappenErr, n);
    const size_t alertes = host_.alerts().size();
    EXPECT_FLOAT_EQ(stamp(), static_cast<float>(c.bas));
    host_.faults().clear();
    const hostsim::Rect fond = document().bleed();
    EXPECT_EQ(std::vector<double>({fond.left, fond.top, fond.right}), std::vector<double>({3, 4, 5}));
    ASSERT_EQ(host_.alerts().size(), alertes + (c.bas == 72 ? 1 : 0));
    if (c.bas == 72) {
      EXPECT_EQ(host_.alerts().back().text, kAlerteFondPerdu);
      EXPECT_EQ(host_.alerts().back().kind, hostsim::Alert::Kind::Message);
    }
  }
  CaseAvecNom = CaseAvecTaille = CaseAvecDate = false;
  EXPECT_EQ(stamp(), 0.0f);
}

// Earlier stamps go by their tag whatever their text; an untagged look-alike and a locked one
// of an earlier session stay; an active artboard the host cannot name is not guessed.
TEST_F(DialogueOK, RemovesEarlierStampsByTagWhateverTheirText) {
  loadSettings();
  const hostsim::ArtHandle calque = document().layerGroup(document().layer(0));
  for (const char* contenu : {"bonjour", "1/3", "ancienne"}) {
    hostsim::ArtHandle art = document().newPointText(calque, hostsim::Placement::InsideOnTop, {100, 100});
    document().setTextMacRoman(art, contenu);
    if (contenu[0] != '1') document().setTag(art, kNomEtiquette, kValeurEtiquette);
    if (contenu[0] == 'a') document().setLocked(art, true);
  }
  stamp();
  const auto textes = stampTexts();
  EXPECT_EQ(textes.size(), 13u);
  EXPECT_EQ(std::count(textes.begin(), textes.end(), "bonjour"), 0);
  EXPECT_EQ(std::count(textes.begin(), textes.end(), "ancienne"), 1);
  EXPECT_EQ(document().matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any).size(), 14u);

  InfosSurTousLesPlans = false;
  failNextCall("AI Artboard Suite.GetActive", kCantHappenErr);
  stamp();
  EXPECT_EQ(stampTexts(), std::vector<std::string>{"ancienne"});
}

// A text-engine failure while stamping: one error alert, and OK still stores and closes; the
// stamps made so far are tagged, and the next OK removes them all.
TEST_F(DialogueOK, WhateverFailsOKStillStoresAndCloses) {
  failNextCall("ATE TextRange Suite.InsertAfter", 5);
  user().click(kIdCaseDate).ok();
  openDialog();
  expectClosedByOK();
  ASSERT_EQ(host_.alerts().size(), 1u);
  EXPECT_EQ(host_.alerts()[0].kind, hostsim::Alert::Kind::Error);
  bool avecDate = true;
  EXPECT_TRUE(preferences().getBool(kPrefixe, kCleAvecDate, avecDate) && !avecDate);
  user().ok();
  openDialog();
  EXPECT_EQ(stampTexts().size(), 9u);
}

}  // namespace
