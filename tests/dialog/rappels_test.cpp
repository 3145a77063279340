// What the user's changes do to the settings, to the other items and to the preview.
#include <string>
#include <vector>

#include "support/plugin_host.h"

namespace {
using namespace testsupport;

class DialogueRappels : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    // After each action: whether the preview was drawn again, and who has the keyboard.
    hostsim::dialogs(host_).onAction([this](hostsim::adm::Dialog& d, const hostsim::adm::UserAction&) {
      redessine_.push_back(previewDraws() > dessins_);
      dessins_ = previewDraws();
      actif_.push_back(d.activeItem() != nullptr ? d.activeItem()->id() : 0);
    });
    hostsim::dialogs(host_).onOpen([this](hostsim::adm::Dialog&) { dessins_ = previewDraws(); });
  }
  std::vector<bool> redessine_;
  std::vector<int32_t> actif_;
  size_t dessins_ = 0;
};

// The boxes and the position buttons: the settings they leave, the boxes showing them, the
// items enabled and disabled, a tooltip, and a new preview after each click.
TEST_F(DialogueRappels, BoxesChangeTheirSettingsTheOtherItemsAndThePreview) {
  const std::vector<const char*> uneLigneDateSeule = {kCleInfosSuper, kCleAvecNum, kCleAvecNom, kCleAvecDate};
  const struct {
    std::vector<const char*> storedOff;
    std::vector<int32_t> clics, actifs, inactifs;
    const char* reglages;  // number, name, size, date, stacked, every artboard, top, bottom, below
    int32_t bulle;
    const char* texte;
  } cas[] = {
      // The number goes with the name and stays off; stacked, the separator needs them both.
      {{}, {13}, {}, {21, 3, 9, 6, 19}, "001111001", 13, "Le nom du fichier ne sera pas affiché."},
      {{}, {13, 13}, {21, 3, 9, 6}, {19}, "011111001", 13, "Le nom du fichier sera affiché."},
      {{}, {21}, {}, {19}, "011111001", 21, "Le numéro du plan de travail ne sera pas ajouté au nom du fichier."},
      // On one line the separator needs the name, the number or the date.
      {{}, {16}, {19}, {}, "111101001", 16, "Infos sur une seule ligne."},
      {uneLigneDateSeule, {15}, {19, 5, 11, 8, 12}, {}, "001101001", 15, "La date sera affichée."},
      {uneLigneDateSeule, {15, 15}, {}, {19, 5, 11, 8, 12}, "001001001", 15, "La date ne sera pas affichée."},
      {{}, {14, 15}, {}, {4, 10, 7, 5, 11, 8, 12}, "110011001", 14, "La taille du document ne sera pas affichée."},
      {{}, {17}, {}, {}, "111110001", 17, "Infos seulement sur le plan de travail actif."},
      // The position buttons keep exactly one position.
      {{}, {23, 22, 24, 23}, {}, {}, "111111010", 0, ""},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.reglages);
    for (const char* cle : uneLigneDateSeule) preferences().putBool(kPrefixe, cle, true);
    for (const char* cle : c.storedOff) preferences().putBool(kPrefixe, cle, false);
    redessine_.clear();
    for (int32_t id : c.clics) user().click(id);
    user().cancel();
    openDialog();
    const AIBoolean reglages[] = {CaseAvecNumero, CaseAvecNom, CaseAvecTaille, CaseAvecDate, InfosSuperposees,
                                  InfosSurTousLesPlans, EnHaut, EnBas, EnDessous};
    const int32_t cases[] = {21, 13, 14, 15, 16, 17, 22, 23, 24};
    for (size_t i = 0; i < 9; ++i) {
      EXPECT_EQ(reglages[i] ? '1' : '0', c.reglages[i]) << i;
      EXPECT_EQ(item(cases[i]).value(), reglages[i] != 0) << cases[i];
    }
    for (int32_t id : c.actifs) EXPECT_TRUE(item(id).enabled()) << id;
    for (int32_t id : c.inactifs) EXPECT_FALSE(item(id).enabled()) << id;
    EXPECT_EQ(c.bulle != 0 ? item(c.bulle).tipLabel() : "", c.texte);
    EXPECT_EQ(redessine_, std::vector<bool>(c.clics.size(), true));
  }
}

// Fonts, sizes, date format and separator (20 characters at most) change their setting only;
// the small buttons (with their icon) and the separator's label hand their field the keyboard.
TEST_F(DialogueRappels, FieldsChangeTheirSettingOnly) {
  user().choose(3, 2).choose(4, std::string(kDejaVuSerif)).setValue(7, 7.5).step(8, 2, true).step(6, -1);
  user().choose(12, 1).type(19, "abcdefghijklmnopqrstuvwxyz").click(9).click(10).click(11).click(20).cancel();
  openDialog();
  EXPECT_EQ(NumeroPoliceNom, 2);
  EXPECT_STREQ(NomPoliceNom, kDejaVuSansMono);
  EXPECT_EQ(NumeroPoliceTaille, host_.fonts().indexOf(kDejaVuSerif));
  EXPECT_STREQ(NomPoliceTaille, kDejaVuSerif);
  EXPECT_EQ(CorpsTaille, 7.5);
  EXPECT_EQ(CorpsDate, 20.0);
  EXPECT_EQ(CorpsNom, 11.0);
  EXPECT_EQ(FormatDate, 1);
  EXPECT_STREQ(Separateur, "abcdefghijklmnopqrst");
  EXPECT_EQ(redessine_, std::vector<bool>(11, false));
  EXPECT_EQ(std::vector<int32_t>(actif_.end() - 4, actif_.end()), (std::vector<int32_t>{6, 7, 8, 19}));
  for (int32_t id : {9, 10, 11}) {
    ASSERT_EQ(item(id).drawing().size(), 1u) << id;
    EXPECT_EQ(item(id).drawing()[0].kind, hostsim::adm::DrawOp::Kind::Icon);
    EXPECT_NE(item(id).drawing()[0].image, nullptr);
  }
}

// Cancel stores nothing and keeps where the dialog stood: the next opening stands there.
TEST_F(DialogueRappels, CancelKeepsOnlyTheDialogsPlace) {
  const std::string avant = preferences().toString() + document().toString();
  hostsim::dialogs(host_).onOpen([](hostsim::adm::Dialog& d) { d.setBounds({100, 50, 380, 500}); });
  user().type(19, "+").click(13).click(23).cancel();
  EXPECT_EQ(openDialog(), 1);
  EXPECT_EQ(preferences().toString() + document().toString(), avant);
  hostsim::dialogs(host_).onOpen(nullptr);
  user().cancel();
  openDialog();
  EXPECT_EQ(dialog().bounds().top, 100);
  EXPECT_EQ(dialog().bounds().left, 50);
  EXPECT_TRUE(CaseAvecNom && EnDessous);
}

}  // namespace
