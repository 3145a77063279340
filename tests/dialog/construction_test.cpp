// The dialog as the init procedure builds it, from stored and from missing settings.
#include <cstring>
#include <string>
#include <vector>

#include "support/plugin_host.h"

namespace dialog_test {
using namespace testsupport;
namespace {

class DialogueConstruction : public PluginTest {};

TEST_F(DialogueConstruction, WithNothingStoredShowsTheDefaults) {
  user().cancel();
  openDialog();
  EXPECT_EQ(dialog().titleLabel(), "QZV•Estampilleur (Réglages)");
  EXPECT_EQ(dialog().bounds().bottom, 486);
  EXPECT_EQ(dialog().bounds().right, 945);
  EXPECT_EQ(dialog().items().size(), 24u);
  for (int32_t id : {21, 13, 14, 15, 16, 17, 24}) EXPECT_TRUE(item(id).value()) << id;
  for (int32_t id : {22, 23}) EXPECT_FALSE(item(id).value()) << id;
  for (int32_t id : {6, 7, 8}) EXPECT_EQ(item(id).floatValue(), 12.0f) << id;
  EXPECT_EQ(item(19).text(), " - ");
  EXPECT_EQ(item(12).label(), "Mardi 10 avril 2012");

  // Each font list holds every font of the host, in its order, the first one chosen.
  const auto& fonts = host_.fonts().fonts();
  for (int32_t id : {3, 4, 5}) {
    const hostsim::adm::List& list = *item(id).list();
    ASSERT_EQ(static_cast<size_t>(list.size()), fonts.size());
    for (int32_t i = 0; i < list.size(); ++i) EXPECT_EQ(list.at(i)->text(), fonts[static_cast<size_t>(i)].postscriptName);
    EXPECT_EQ(list.active(), list.at(0));
  }
}

TEST_F(DialogueConstruction, ShowsStoredSettings) {
  hostsim::Preferences& p = preferences();
  p.putBool(kPrefixe, kCleAvecNum, false);
  p.putBool(kPrefixe, kCleAvecTaille, false);
  p.putBool(kPrefixe, kCleAvecDate, false);
  p.putString(kPrefixe, kClePoliceTaille, kDejaVuSerif);
  p.putDouble(kPrefixe, kCleCorpsNom, 7.5);
  p.putDouble(kPrefixe, kCleCorpsDate, 30.25);
  p.putInt32(kPrefixe, kCleFormatDate, 2);
  p.putBool(kPrefixe, kCleInfosSuper, false);
  p.putBool(kPrefixe, kCleTousPlans, false);
  p.putString(kPrefixe, kCleSeparateur, " / ");
  p.putBool(kPrefixe, kCleEnDessous, false);
  p.putBool(kPrefixe, kCleEnBas, true);
  user().cancel();
  openDialog();

  EXPECT_FALSE(item(21).value());
  EXPECT_EQ(item(21).tipLabel(), "Le numéro du plan de travail ne sera pas ajouté au nom du fichier.");
  EXPECT_TRUE(item(13).value());
  EXPECT_FALSE(item(14).value());
  EXPECT_EQ(item(14).tipLabel(), "La taille du document ne sera pas affichée.");
  EXPECT_FALSE(item(15).value());
  EXPECT_EQ(item(15).tipLabel(), "La date ne sera pas affichée.");
  EXPECT_FALSE(item(16).value());
  EXPECT_EQ(item(16).tipLabel(), "Infos sur une seule ligne.");
  EXPECT_FALSE(item(17).value());
  EXPECT_EQ(item(17).tipLabel(), "Infos seulement sur le plan de travail actif.");
  EXPECT_EQ(item(4).label(), kDejaVuSerif);
  EXPECT_EQ(NumeroPoliceTaille, host_.fonts().indexOf(kDejaVuSerif));
  EXPECT_EQ(item(6).floatValue(), 7.5f);
  EXPECT_EQ(item(7).floatValue(), 12.0f);
  EXPECT_EQ(item(8).floatValue(), 30.25f);
  EXPECT_EQ(item(12).label(), "10/04/2012");
  EXPECT_EQ(item(19).label(), " / ");
  EXPECT_FALSE(item(22).value());
  EXPECT_TRUE(item(23).value());
  EXPECT_FALSE(item(24).value());

  // Size and date off: their fonts, size buttons, sizes and the date format are disabled.
  for (int32_t id : {4, 10, 7, 5, 11, 8, 12}) EXPECT_FALSE(item(id).enabled()) << id;
  for (int32_t id : {21, 13, 3, 9, 6, 14, 15, 16, 17, 19, 20, 22, 23, 24, 18, 1, 2})
    EXPECT_TRUE(item(id).enabled()) << id;
}

TEST_F(DialogueConstruction, WithoutTheNameTheNumberIsOffAndDisabled) {
  preferences().putBool(kPrefixe, kCleAvecNom, false);
  preferences().putBool(kPrefixe, kCleAvecNum, true);
  user().cancel();
  openDialog();
  EXPECT_FALSE(item(13).value());
  EXPECT_EQ(item(13).tipLabel(), "Le nom du fichier ne sera pas affiché.");
  EXPECT_FALSE(item(21).enabled());
  EXPECT_FALSE(item(21).value());
  EXPECT_FALSE(CaseAvecNumero);
  for (int32_t id : {3, 9, 6}) EXPECT_FALSE(item(id).enabled()) << id;
  // Stacked, without name and number, there is nothing for a separator to stand between.
  EXPECT_FALSE(item(19).enabled());
}

TEST_F(DialogueConstruction, SeparatorIsEnabledOnlyWhereItCanStand) {
  struct Cas {
    bool superposees, numero, nom, taille, date, actif;
  };
  const Cas cas[] = {
      {true, true, true, true, true, true},     {true, false, true, true, true, false},
      {false, false, false, true, false, false}, {false, false, false, false, true, true},
      {false, false, true, false, false, true},  {true, false, false, true, true, false},
  };
  for (const Cas& c : cas) {
    preferences().putBool(kPrefixe, kCleInfosSuper, c.superposees);
    preferences().putBool(kPrefixe, kCleAvecNum, c.numero);
    preferences().putBool(kPrefixe, kCleAvecNom, c.nom);
    preferences().putBool(kPrefixe, kCleAvecTaille, c.taille);
    preferences().putBool(kPrefixe, kCleAvecDate, c.date);
    user().cancel();
    openDialog();
    EXPECT_EQ(item(19).enabled(), c.actif) << c.superposees << c.numero << c.nom << c.taille << c.date;
  }
}

TEST_F(DialogueConstruction, StoredFontNoneHasSelectsTheFirstAndKeepsTheName) {
  preferences().putString(kPrefixe, kClePoliceNom, "Helvetica");
  NumeroPoliceNom = 3;
  user().ok();
  openDialog();
  EXPECT_EQ(item(3).list()->active(), item(3).list()->at(0));
  EXPECT_EQ(NumeroPoliceNom, 0);
  EXPECT_STREQ(NomPoliceNom, "Helvetica");
  // And OK stores it again unchanged.
  std::string stocke;
  ASSERT_TRUE(preferences().getString(kPrefixe, kClePoliceNom, stocke));
  EXPECT_EQ(stocke, "Helvetica");
}

TEST_F(DialogueConstruction, AStoredDateFormatOutOfRangeShowsTheFirst) {
  for (int32_t stocke : {7, -1}) {
    preferences().putInt32(kPrefixe, kCleFormatDate, stocke);
    user().ok();
    openDialog();
    EXPECT_EQ(item(12).list()->active(), item(12).list()->at(0));
    EXPECT_EQ(FormatDate, 0);
    int32_t relu = -5;
    ASSERT_TRUE(preferences().getInt32(kPrefixe, kCleFormatDate, relu));
    EXPECT_EQ(relu, 0);
  }
}

TEST_F(DialogueConstruction, WithoutAStartingFontTheDialogClosesWithAnAlert) {
  host_.faults().failCall("AI Font Suite.IndexFontList", host_.accounting().callsOf("AI Font Suite.IndexFontList") + 1,
                          fourcc("FNT?"));
  const ADMRect avant = PosDialReglages;
  const std::string prefsAvant = preferences().toString();
  const std::string docAvant = document().toString();
  openDialog();
  EXPECT_TRUE(dialog().items().empty());
  EXPECT_FALSE(dialog().open());
  EXPECT_FALSE(dialog().endedByHost());
  EXPECT_TRUE(dialog().cancelling());
  ASSERT_EQ(alerts().size(), 1u);
  EXPECT_NE(alerts()[0].find("police"), std::string::npos);
  EXPECT_EQ(PosDialReglages.bottom, avant.bottom);
  EXPECT_EQ(preferences().toString(), prefsAvant);
  EXPECT_EQ(document().toString(), docAvant);
  EXPECT_TRUE(faults().empty());
}

}  // namespace
}  // namespace dialog_test
