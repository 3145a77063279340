// OK: the earlier stamps go, the document is stamped, the bleed set, the settings stored,
// and the dialog closed whatever goes wrong on the way.
#include <algorithm>
#include <string>
#include <vector>

#include "DialogueHote.h"

namespace dialog_test {
namespace {

// "L'application impose un fond perdu maximum de 72 points.\rDécochez Infos superposées et/ou
// réduisez les corps des polices."
const std::string kAlerteFondPerdu =
    "L'application impose un fond perdu maximum de 72 points.\rD\x8E" "cochez Infos superpos\x8E"
    "es et/ou r\x8E" "duisez les corps des polices.";

bool Contient(const std::vector<std::string>& textes, const std::string& texte) {
  return std::find(textes.begin(), textes.end(), texte) != textes.end();
}

class DialogueOK : public DialogueHote {
 protected:
  void SetUp() override {
    DialogueHote::SetUp();
    ouvreDocument({{600, 900}, {600, 900}, {600, 900}});
  }

  hostsim::ArtHandle texte(const std::string& contenu, bool etiquete, bool verrouille) {
    hostsim::ArtHandle calque = document().layerGroup(document().layer(0));
    hostsim::ArtHandle art = document().newPointText(calque, hostsim::Placement::InsideOnTop, {100, 100});
    document().setTextMacRoman(art, contenu);
    if (etiquete) document().setTag(art, kNomEtiquette, kValeurEtiquette);
    if (verrouille) document().setLocked(art, true);
    return art;
  }

  std::vector<std::string> tousLesTextes() {
    std::vector<std::string> textes;
    for (hostsim::ArtHandle art : document().matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
      textes.push_back(document().textMacRoman(art));
    return textes;
  }

  void tailles(double nom, double taille, double date) {
    preferences().putDouble(kPrefixe, kCleCorpsNom, nom);
    preferences().putDouble(kPrefixe, kCleCorpsTaille, taille);
    preferences().putDouble(kPrefixe, kCleCorpsDate, date);
  }
};

TEST_F(DialogueOK, StampsEachOfThreeArtboardsOutOfThree) {
  utilisateur().ok();
  EXPECT_EQ(ouvre(), 1);
  EXPECT_FALSE(dialogue().open());
  EXPECT_FALSE(dialogue().endedByHost());
  EXPECT_EQ(NbrPlans, 3);
  const auto textes = estampilles();
  EXPECT_EQ(textes.size(), 12u);
  for (const char* numero : {"1/3", "2/3", "3/3"}) EXPECT_TRUE(Contient(textes, numero)) << numero;
  EXPECT_EQ(std::count(textes.begin(), textes.end(), "Mardi 10 avril 2012"), 3);
  EXPECT_TRUE(alertes().empty());
  EXPECT_TRUE(fautes().empty());
}

TEST_F(DialogueOK, RemovesEarlierStampsByTagWhateverTheirText) {
  texte("bonjour", true, false);
  texte("1/3", false, false);
  texte("ancienne", true, true);
  utilisateur().ok();
  ouvre();
  const auto textes = tousLesTextes();
  EXPECT_FALSE(Contient(textes, "bonjour"));
  // An untagged look-alike and a locked stamp of an earlier session stay.
  EXPECT_EQ(std::count(textes.begin(), textes.end(), "1/3"), 2);
  EXPECT_TRUE(Contient(estampilles(), "ancienne"));
  EXPECT_EQ(estampilles().size(), 13u);
}

TEST_F(DialogueOK, ALockedStampOfThePreviousRunGoesThroughItsList) {
  utilisateur().ok();
  ouvre();
  hostsim::ArtHandle premier{};
  for (hostsim::ArtHandle art : document().matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
    if (document().textMacRoman(art) == "2/3") premier = art;
  ASSERT_TRUE(premier);
  document().setLocked(premier, true);

  utilisateur().ok();
  ouvre();
  EXPECT_FALSE(document().valid(premier));
  const auto textes = estampilles();
  EXPECT_EQ(textes.size(), 12u);
  EXPECT_EQ(std::count(textes.begin(), textes.end(), "2/3"), 1);
}

TEST_F(DialogueOK, OnlyTheActiveArtboardWhileEveryEarlierStampGoes) {
  utilisateur().ok();
  ouvre();
  document().setActiveArtboard(1);
  utilisateur().click(17).ok();
  ouvre();
  const auto textes = estampilles();
  EXPECT_EQ(textes.size(), 4u);
  EXPECT_TRUE(Contient(textes, "2/3"));
  EXPECT_FALSE(InfosSurTousLesPlans);
  bool stocke = true;
  ASSERT_TRUE(preferences().getBool(kPrefixe, kCleTousPlans, stocke));
  EXPECT_FALSE(stocke);

  // An active artboard the host cannot name is not guessed.
  host_.faults().failCall("AI Artboard Suite.GetActive", host_.accounting().callsOf("AI Artboard Suite.GetActive") + 1,
                          kCantHappenErr);
  utilisateur().ok();
  ouvre();
  EXPECT_TRUE(estampilles().empty());
}

TEST_F(DialogueOK, ABleedDeeperThan72IsClampedWithOneAlert) {
  // Stacked below: 1.4 x (24 + 24 + 12) = 84.
  tailles(24, 24, 12);
  utilisateur().ok();
  ouvre();
  ASSERT_EQ(alertes().size(), 1u);
  EXPECT_EQ(alertes()[0], kAlerteFondPerdu);
  EXPECT_EQ(host_.alerts()[0].kind, hostsim::Alert::Kind::Message);
  EXPECT_FLOAT_EQ(static_cast<float>(document().bleed().bottom), 72.0f);
  EXPECT_EQ(estampilles().size(), 12u);
}

TEST_F(DialogueOK, ABleedOf80OnOneLineIsClampedToo) {
  // One line below: 1.4 x the largest size.
  tailles(400.0 / 7.0, 10, 10);
  preferences().putBool(kPrefixe, kCleInfosSuper, false);
  utilisateur().ok();
  ouvre();
  EXPECT_EQ(alertes(), std::vector<std::string>{kAlerteFondPerdu});
  EXPECT_FLOAT_EQ(static_cast<float>(document().bleed().bottom), 72.0f);
}

// Also when the host fails: a bleed it could not tell is read again, and never written
// unread; an artboard it kept from being stamped does not undo the others' depth.
TEST_F(DialogueOK, BelowSetsTheBottomBleedAndNothingElse) {
  struct Cas {
    const char* operation;
    std::vector<uint64_t> ratees;  // counted from this OK on
    float bas;
  };
  const Cas cas[] = {{"", {}, 30.8f},
                     {"AI Document Suite.GetDocumentBleeds", {1}, 30.8f},
                     {"AI Document Suite.GetDocumentBleeds", {1, 2}, 6.0f},
                     {"AI Artboard Suite.GetCount", {4}, 30.8f}};  // the third artboard's
  for (const Cas& c : cas) {
    document().setBleed({3, 4, 5, 6});
    tailles(10, 7, 5);
    for (uint64_t n : c.ratees)
      host_.faults().failCall(c.operation, host_.accounting().callsOf(c.operation) + n, kCantHappenErr);
    utilisateur().ok();
    ouvre();
    host_.faults().clear();
    const hostsim::Rect fond = document().bleed();
    EXPECT_FLOAT_EQ(static_cast<float>(fond.bottom), c.bas) << c.operation;
    EXPECT_FLOAT_EQ(static_cast<float>(fond.left), 3.0f) << c.operation;
    EXPECT_FLOAT_EQ(static_cast<float>(fond.top), 4.0f) << c.operation;
    EXPECT_FLOAT_EQ(static_cast<float>(fond.right), 5.0f) << c.operation;
    EXPECT_TRUE(alertes().empty());
  }
}

TEST_F(DialogueOK, AtTheTopOrBottomTheBleedIsLeftAlone) {
  for (int32_t position : {kIdEnHaut, kIdEnBas}) {
    document().setBleed({3, 4, 5, 6});
    tailles(60, 60, 60);
    utilisateur().click(position).ok();
    ouvre();
    EXPECT_FLOAT_EQ(static_cast<float>(document().bleed().bottom), 6.0f) << position;
    EXPECT_TRUE(alertes().empty());
    EXPECT_EQ(estampilles().size(), 12u);
  }
}

TEST_F(DialogueOK, BelowWithNothingCheckedTheBleedBecomesZero) {
  document().setBleed({0, 0, 0, 9});
  utilisateur().click(13).click(14).click(15).ok();
  ouvre();
  EXPECT_EQ(document().bleed().bottom, 0.0);
  EXPECT_TRUE(estampilles().empty());
}

TEST_F(DialogueOK, StoresEverySetting) {
  utilisateur()
      .click(14)
      .choose(3, 3)
      .setValue(6, 7.5)
      .choose(12, 2)
      .click(16)
      .type(19, " | ")
      .click(23)
      .ok();
  ouvre();
  hostsim::Preferences& p = preferences();
  std::string texte;
  bool b = false;
  double reel = 0;
  int32_t entier = -1;
  ASSERT_TRUE(p.getString(kPrefixe, kClePoliceNom, texte));
  EXPECT_EQ(texte, kDejaVuSerif);
  ASSERT_TRUE(p.getString(kPrefixe, kClePoliceTaille, texte));
  EXPECT_EQ(texte, kDejaVuSans);
  ASSERT_TRUE(p.getString(kPrefixe, kClePoliceDate, texte));
  EXPECT_EQ(texte, kDejaVuSans);
  ASSERT_TRUE(p.getDouble(kPrefixe, kCleCorpsNom, reel));
  EXPECT_EQ(reel, 7.5);
  ASSERT_TRUE(p.getDouble(kPrefixe, kCleCorpsTaille, reel));
  EXPECT_EQ(reel, 12.0);
  ASSERT_TRUE(p.getDouble(kPrefixe, kCleCorpsDate, reel));
  EXPECT_EQ(reel, 12.0);
  ASSERT_TRUE(p.getInt32(kPrefixe, kCleFormatDate, entier));
  EXPECT_EQ(entier, 2);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleInfosSuper, b));
  EXPECT_FALSE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleTousPlans, b));
  EXPECT_TRUE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleAvecNum, b));
  EXPECT_TRUE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleAvecNom, b));
  EXPECT_TRUE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleAvecTaille, b));
  EXPECT_FALSE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleAvecDate, b));
  EXPECT_TRUE(b);
  ASSERT_TRUE(p.getString(kPrefixe, kCleSeparateur, texte));
  EXPECT_EQ(texte, " | ");
  ASSERT_TRUE(p.getBool(kPrefixe, kCleEnHaut, b));
  EXPECT_FALSE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleEnBas, b));
  EXPECT_TRUE(b);
  ASSERT_TRUE(p.getBool(kPrefixe, kCleEnDessous, b));
  EXPECT_FALSE(b);

  // The next opening shows them.
  utilisateur().cancel();
  ouvre();
  EXPECT_EQ(element(3).label(), kDejaVuSerif);
  EXPECT_FALSE(element(14).value());
  EXPECT_TRUE(element(23).value());
  EXPECT_EQ(element(19).label(), " | ");
}

TEST_F(DialogueOK, RemembersWhereTheDialogStood) {
  hostsim::dialogs(host_).onOpen([](hostsim::adm::Dialog& d) { d.setBounds({10, 20, 290, 470}); });
  utilisateur().ok();
  ouvre();
  EXPECT_EQ(PosDialReglages.top, 10);
  EXPECT_EQ(PosDialReglages.left, 20);
  EXPECT_EQ(PosDialReglages.bottom, 290);
  EXPECT_EQ(PosDialReglages.right, 470);
}

TEST_F(DialogueOK, ALockedLayerStampsNothingButStillStoresAndCloses) {
  document().setLayerLocked(document().currentLayer(), true);
  document().setBleed({0, 0, 0, 9});
  utilisateur().click(16).ok();
  ouvre();
  EXPECT_FALSE(dialogue().open());
  EXPECT_FALSE(dialogue().endedByHost());
  EXPECT_TRUE(estampilles().empty());
  // "Impossible, le calque est verrouillé."
  EXPECT_EQ(alertes(), std::vector<std::string>{"Impossible, le calque est verrouill\x8E."});
  // Nothing stamped: the bleed keeps what was read.
  EXPECT_EQ(document().bleed().bottom, 9.0);
  bool b = true;
  ASSERT_TRUE(preferences().getBool(kPrefixe, kCleInfosSuper, b));
  EXPECT_FALSE(b);
}

TEST_F(DialogueOK, ATextEngineFailureStillStoresAndCloses) {
  host_.faults().failCall("ATE TextRange Suite.InsertAfter",
                          host_.accounting().callsOf("ATE TextRange Suite.InsertAfter") + 1, 5);
  utilisateur().click(15).ok();
  ouvre();
  EXPECT_FALSE(dialogue().open());
  EXPECT_FALSE(dialogue().endedByHost());
  EXPECT_TRUE(fautes().empty()) << fautes().front();
  EXPECT_EQ(alertes().size(), 1u);
  EXPECT_EQ(host_.alerts().at(0).kind, hostsim::Alert::Kind::Error);
  bool b = true;
  ASSERT_TRUE(preferences().getBool(kPrefixe, kCleAvecDate, b));
  EXPECT_FALSE(b);
  // The stamps already made are tagged: the next OK removes them all.
  utilisateur().ok();
  ouvre();
  EXPECT_EQ(estampilles().size(), 9u);
}

TEST_F(DialogueOK, AHostErrorThrownWhileStampingStillStoresAndCloses) {
  // The stamp layer's title is the first host string OK makes.
  host_.faults().failCall("AI Unicode String Suite.Initialize",
                          host_.accounting().callsOf("AI Unicode String Suite.Initialize") + 1, kOutOfMemoryErr);
  utilisateur().ok();
  ouvre();
  EXPECT_FALSE(dialogue().open());
  EXPECT_FALSE(dialogue().endedByHost());
  EXPECT_TRUE(fautes().empty()) << fautes().front();
  EXPECT_TRUE(estampilles().empty());
  EXPECT_TRUE(preferences().contains(kPrefixe, kCleEnDessous));
}

}  // namespace
}  // namespace dialog_test
