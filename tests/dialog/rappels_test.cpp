// What the user's changes do to the settings, to the other items and to the preview.
#include <stdexcept>
#include <string>
#include <vector>

#include "DialogueHote.h"

namespace dialog_test {
namespace {

using hostsim::adm::DrawOp;

class DialogueRappels : public DialogueHote {
 protected:
  void SetUp() override {
    DialogueHote::SetUp();
    // After each action: whether the preview was drawn again, and who has the keyboard.
    hostsim::dialogs(host_).onAction([this](hostsim::adm::Dialog& d, const hostsim::adm::UserAction&) {
      size_t n = 0;
      for (const auto& appel : d.drawCalls())
        if (appel.itemID == kIdApercu) ++n;
      redessine_.push_back(n > dessins_);
      dessins_ = n;
      actif_.push_back(d.activeItem() != nullptr ? d.activeItem()->id() : 0);
    });
    hostsim::dialogs(host_).onOpen([this](hostsim::adm::Dialog& d) {
      dessins_ = 0;
      for (const auto& appel : d.drawCalls())
        if (appel.itemID == kIdApercu) ++dessins_;
    });
  }

  std::vector<bool> redessine_;
  std::vector<int32_t> actif_;
  size_t dessins_ = 0;
};

TEST_F(DialogueRappels, UncheckingTheNameTakesTheNumberAlong) {
  utilisateur().click(13).cancel();
  ouvre();
  EXPECT_FALSE(CaseAvecNom);
  EXPECT_FALSE(CaseAvecNumero);
  EXPECT_FALSE(element(21).value());
  EXPECT_FALSE(element(21).enabled());
  EXPECT_EQ(element(21).tipLabel(), "Le numéro du plan de travail ne sera pas ajouté au nom du fichier.");
  EXPECT_EQ(element(13).tipLabel(), "Le nom du fichier ne sera pas affiché.");
  for (int32_t id : {3, 9, 6, 19}) EXPECT_FALSE(element(id).enabled()) << id;
  EXPECT_TRUE(redessine_.at(0));
  EXPECT_TRUE(fautes().empty());
}

TEST_F(DialogueRappels, CheckingTheNameAgainLeavesTheNumberOff) {
  utilisateur().click(13).click(13).cancel();
  ouvre();
  EXPECT_TRUE(CaseAvecNom);
  EXPECT_FALSE(CaseAvecNumero);
  EXPECT_TRUE(element(21).enabled());
  EXPECT_FALSE(element(21).value());
  EXPECT_EQ(element(13).tipLabel(), "Le nom du fichier sera affiché.");
  for (int32_t id : {3, 9, 6}) EXPECT_TRUE(element(id).enabled()) << id;
  // Stacked, the separator needs the number beside the name.
  EXPECT_FALSE(element(19).enabled());
}

TEST_F(DialogueRappels, TheNumberBoxGovernsTheStackedSeparator) {
  utilisateur().click(21).cancel();
  ouvre();
  EXPECT_FALSE(CaseAvecNumero);
  EXPECT_EQ(element(21).tipLabel(), "Le numéro du plan de travail ne sera pas ajouté au nom du fichier.");
  EXPECT_FALSE(element(19).enabled());
  EXPECT_TRUE(redessine_.at(0));
}

TEST_F(DialogueRappels, OneLineKeepsTheSeparatorWhileNameNumberOrDateIsOn) {
  utilisateur().click(16).cancel();
  ouvre();
  EXPECT_FALSE(InfosSuperposees);
  EXPECT_EQ(element(16).tipLabel(), "Infos sur une seule ligne.");
  EXPECT_TRUE(element(19).enabled());
  EXPECT_TRUE(redessine_.at(0));
}

TEST_F(DialogueRappels, OneLineWithOnlyTheSizeHasNoSeparator) {
  preferences().putBool(kPrefixe, kCleInfosSuper, false);
  preferences().putBool(kPrefixe, kCleAvecNum, false);
  preferences().putBool(kPrefixe, kCleAvecNom, false);
  preferences().putBool(kPrefixe, kCleAvecDate, false);
  utilisateur().click(15).cancel();
  ouvre();
  // Disabled at opening, the date brings it back.
  EXPECT_TRUE(CaseAvecDate);
  EXPECT_TRUE(element(19).enabled());
  EXPECT_EQ(element(15).tipLabel(), "La date sera affichée.");
  for (int32_t id : {5, 11, 8, 12}) EXPECT_TRUE(element(id).enabled()) << id;
}

TEST_F(DialogueRappels, SizeAndDateBoxesDisableTheirFields) {
  utilisateur().click(14).click(15).cancel();
  ouvre();
  EXPECT_FALSE(CaseAvecTaille);
  EXPECT_FALSE(CaseAvecDate);
  for (int32_t id : {4, 10, 7, 5, 11, 8, 12}) EXPECT_FALSE(element(id).enabled()) << id;
  EXPECT_EQ(element(14).tipLabel(), "La taille du document ne sera pas affichée.");
  EXPECT_EQ(redessine_, (std::vector<bool>{true, true}));
  // The preview now shows the name alone, stacked below each artboard.
  std::vector<std::string> textes;
  for (const DrawOp& op : element(18).drawing())
    if (op.kind == DrawOp::Kind::TextCentered) textes.push_back(op.text);
  EXPECT_EQ(textes, (std::vector<std::string>{"2/2 Nom", "1/2 Nom"}));
}

TEST_F(DialogueRappels, PositionButtonsKeepExactlyOnePosition) {
  utilisateur().click(23).click(22).click(24).click(23).cancel();
  ouvre();
  EXPECT_TRUE(EnBas);
  EXPECT_FALSE(EnHaut);
  EXPECT_FALSE(EnDessous);
  EXPECT_EQ(redessine_, (std::vector<bool>{true, true, true, true}));
  // At the bottom there is no bleed outline.
  for (const DrawOp& op : element(18).drawing()) EXPECT_NE(op.kind, DrawOp::Kind::Line);
}

TEST_F(DialogueRappels, AllArtboardsBoxSwitchesToOneSampleArtboard) {
  utilisateur().click(17).cancel();
  ouvre();
  EXPECT_FALSE(InfosSurTousLesPlans);
  EXPECT_EQ(element(17).tipLabel(), "Infos seulement sur le plan de travail actif.");
  EXPECT_TRUE(redessine_.at(0));
  int cadres = 0;
  for (const DrawOp& op : element(18).drawing()) {
    if (op.kind != DrawOp::Kind::FrameRect) continue;
    ++cadres;
    EXPECT_EQ(op.rect.bottom, 143);
  }
  EXPECT_EQ(cadres, 1);
}

TEST_F(DialogueRappels, FontsSizesFormatAndSeparatorChangeTheirSettingOnly) {
  utilisateur()
      .choose(3, 2)
      .choose(4, std::string(kDejaVuSerif))
      .setValue(7, 7.5)
      .step(8, 2, true)
      .step(6, -1)
      .choose(12, 1)
      .type(19, "")
      .cancel();
  ouvre();
  EXPECT_EQ(NumeroPoliceNom, 2);
  EXPECT_STREQ(NomPoliceNom, kDejaVuSansMono);
  EXPECT_EQ(NumeroPoliceTaille, host_.fonts().indexOf(kDejaVuSerif));
  EXPECT_STREQ(NomPoliceTaille, kDejaVuSerif);
  EXPECT_EQ(CorpsTaille, 7.5);
  EXPECT_EQ(CorpsDate, 20.0);
  EXPECT_EQ(CorpsNom, 11.0);
  EXPECT_EQ(FormatDate, 1);
  EXPECT_STREQ(Separateur, "");
  EXPECT_EQ(redessine_, std::vector<bool>(7, false));
  EXPECT_TRUE(fautes().empty());
}

TEST_F(DialogueRappels, TheSeparatorHoldsTwentyCharactersAtMost) {
  utilisateur().type(19, "abcdefghijklmnopqrstuvwxyz").cancel();
  ouvre();
  EXPECT_STREQ(Separateur, "abcdefghijklmnopqrst");
}

TEST_F(DialogueRappels, PictureButtonsAndTheLabelHandTheKeyboardToTheirField) {
  utilisateur().click(9).click(10).click(11).click(20).cancel();
  ouvre();
  EXPECT_EQ(actif_, (std::vector<int32_t>{6, 7, 8, 19}));
  EXPECT_EQ(redessine_, std::vector<bool>(4, false));
}

TEST_F(DialogueRappels, TheSmallButtonsShowTheirIcon) {
  utilisateur().cancel();
  ouvre();
  for (int32_t id : {9, 10, 11}) {
    const auto& dessin = element(id).drawing();
    ASSERT_EQ(dessin.size(), 1u) << id;
    EXPECT_EQ(dessin[0].kind, DrawOp::Kind::Icon);
    EXPECT_EQ(dessin[0].from.v, 0);
    EXPECT_EQ(dessin[0].from.h, 0);
    ASSERT_NE(dessin[0].image, nullptr);
  }
  EXPECT_EQ(dialogue().iconsReclaimed(), 0);
}

TEST_F(DialogueRappels, WithoutItsOwnReferenceTheSmallButtonsStayBlank) {
  const uint64_t avant = host_.accounting().callsOf("SP Access Suite.GetCurrentPlugin");
  for (uint64_t n = 1; n <= 3; ++n) host_.faults().failCall("SP Access Suite.GetCurrentPlugin", avant + n, fourcc("PLG?"));
  utilisateur().cancel();
  ouvre();
  for (int32_t id : {9, 10, 11}) EXPECT_TRUE(element(id).drawing().empty()) << id;
}

TEST_F(DialogueRappels, CancelKeepsOnlyTheDialogsPlace) {
  const std::string prefsAvant = preferences().toString();
  const std::string docAvant = document().toString();
  hostsim::dialogs(host_).onOpen([](hostsim::adm::Dialog& d) { d.setBounds({100, 50, 380, 500}); });
  utilisateur().type(19, "+").click(13).click(23).cancel();
  EXPECT_EQ(ouvre(), 1);
  EXPECT_FALSE(dialogue().endedByHost());
  EXPECT_TRUE(fautes().empty());
  EXPECT_EQ(PosDialReglages.top, 100);
  EXPECT_EQ(PosDialReglages.left, 50);
  EXPECT_EQ(PosDialReglages.bottom, 380);
  EXPECT_EQ(PosDialReglages.right, 500);
  EXPECT_EQ(preferences().toString(), prefsAvant);
  EXPECT_EQ(document().toString(), docAvant);
  EXPECT_TRUE(alertes().empty());

  // The next opening stands where the dialog was left and reloads the settings.
  utilisateur().cancel();
  hostsim::dialogs(host_).onOpen(nullptr);
  ouvre();
  EXPECT_EQ(dialogue().bounds().top, 100);
  EXPECT_EQ(dialogue().bounds().right, 500);
  EXPECT_TRUE(CaseAvecNom);
  EXPECT_TRUE(EnDessous);
}

// Host suites that throw stand for any failure inside a callback: the host must never see
// the exception.
const ADMItemSuite* gItemsVrais = nullptr;
const ADMDrawerSuite* gDessinVrai = nullptr;

TEST_F(DialogueRappels, NoExceptionLeavesACallbackIntoTheHost) {
  gItemsVrais = sADMItem;
  gDessinVrai = sADMDrawer;
  ADMItemSuite items = *sADMItem;
  items.GetBooleanValue = [](ADMItemRef) -> ADMBoolean { throw std::runtime_error("boolean"); };
  items.GetFloatValue = [](ADMItemRef) -> float { throw std::runtime_error("float"); };
  items.GetTextLength = [](ADMItemRef) -> int32_t { throw std::runtime_error("length"); };
  items.GetID = [](ADMItemRef) -> int32_t { throw std::runtime_error("id"); };
  ADMDrawerSuite dessin = *sADMDrawer;
  dessin.FrameRect = [](ADMDrawerRef, const ADMRect*) { throw std::runtime_error("frame"); };
  dessin.SetFont = [](ADMDrawerRef, int32_t) { throw std::runtime_error("font"); };
  dessin.DrawIcon = [](ADMDrawerRef, ADMIconRef, const ADMPoint*) { throw std::runtime_error("icon"); };

  hostsim::dialogs(host_).onOpen([&](hostsim::adm::Dialog&) {
    sADMItem = &items;
    sADMDrawer = &dessin;
  });
  utilisateur().click(21).click(16).click(17).setValue(6, 3).type(19, "x").click(23).click(9).cancel();
  ouvre();
  sADMItem = const_cast<ADMItemSuite*>(gItemsVrais);
  sADMDrawer = const_cast<ADMDrawerSuite*>(gDessinVrai);
  EXPECT_TRUE(fautes().empty()) << fautes().front();
  EXPECT_FALSE(dialogue().endedByHost());
}

}  // namespace
}  // namespace dialog_test
