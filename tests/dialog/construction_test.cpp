// The dialog as the init procedure builds it, from stored and from missing settings.
#include <cstring>
#include <string>
#include <vector>

#include "DialogueHote.h"

namespace dialog_test {
namespace {

using hostsim::adm::ItemKind;

struct ElementAttendu {
  int32_t id;
  ItemKind genre;
  ADMRect bornes;
  const char* texte;  // UTF-8
  const char* bulle;  // UTF-8
};

// With nothing stored: every box checked, so each shows its first tooltip.
const ElementAttendu kTable[] = {
    {21, ItemKind::CheckBox, {10, 13, 25, 213}, "Numéro du plan", "Le numéro du plan de travail sera ajouté au nom du fichier."},
    {13, ItemKind::CheckBox, {40, 13, 55, 73}, "Nom.", "Le nom du fichier sera affiché."},
    {3, ItemKind::ScrollingPopup, {36, 80, 58, 205}, "DejaVuSans", "Choix de la police pour le nom du fichier."},
    {6, ItemKind::SpinEdit, {36, 244, 58, 309}, "", "Corps du texte pour le nom du fichier."},
    {9, ItemKind::PictureButton, {39, 225, 52, 241}, "", "Corps du texte pour le nom du fichier."},
    {14, ItemKind::CheckBox, {69, 13, 84, 73}, "Taille.", "La taille du document sera affichée."},
    {4, ItemKind::ScrollingPopup, {65, 80, 87, 205}, "DejaVuSans", "Choix de la police pour la taille du document."},
    {7, ItemKind::SpinEdit, {65, 244, 87, 309}, "", "Corps du texte pour la taille du document."},
    {10, ItemKind::PictureButton, {69, 225, 82, 241}, "", "Corps du texte pour la taille du document."},
    {15, ItemKind::CheckBox, {99, 13, 114, 73}, "Date.", "La date sera affichée."},
    {5, ItemKind::ScrollingPopup, {95, 80, 117, 205}, "DejaVuSans", "Choix de la police pour la date."},
    {8, ItemKind::SpinEdit, {95, 244, 117, 309}, "", "Corps du texte pour la date."},
    {11, ItemKind::PictureButton, {99, 225, 112, 241}, "", "Corps du texte pour la date."},
    {12, ItemKind::PopupList, {129, 80, 149, 309}, "Mardi 10 avril 2012", "Choix du format de date."},
    {16, ItemKind::CheckBox, {159, 13, 174, 160}, "Infos superposées", "Infos superposées"},
    {17, ItemKind::CheckBox, {159, 160, 174, 307}, "Sur tous les plans", "Infos sur tous les plans de travail."},
    {19, ItemKind::TextEdit, {189, 80, 211, 145}, " - ",
     "Chaîne de séparation pour Nom, Taille et Date (maximum 20 caractères)."},
    {20, ItemKind::TextStatic, {191, 4, 211, 79}, "Séparateurs",
     "Chaîne de séparation pour Nom, Taille et Date (maximum 20 caractères)."},
    {22, ItemKind::RadioButton, {187, 160, 211, 220}, "Haut.", "Les informations seront en haut du plan de travail."},
    {23, ItemKind::RadioButton, {187, 244, 211, 314}, "Bas.", "Les informations seront en bas du plan de travail."},
    {24, ItemKind::RadioButton, {187, 324, 211, 404}, "Dessous.", "Les informations seront en dessous du plan de travail."},
    {18, ItemKind::PictureButton, {6, 318, 186, 441}, "", ""},
    {2, ItemKind::PushButton, {222, 13, 242, 105}, "Annuler", "Aucune modification."},
    {1, ItemKind::PushButton, {222, 345, 242, 437}, "OK", "Validation des nouveaux réglages."},
};

bool operator==(const ADMRect& a, const ADMRect& b) {
  return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

class DialogueConstruction : public DialogueHote {};

TEST_F(DialogueConstruction, BuildsTheItemTableWithNothingStored) {
  utilisateur().cancel();
  ouvre();
  hostsim::adm::Dialog& d = dialogue();
  EXPECT_EQ(d.titleLabel(), "QZV•Estampilleur (Réglages)");
  EXPECT_EQ(d.bounds().top, 206);
  EXPECT_EQ(d.bounds().left, 495);
  EXPECT_EQ(d.bounds().bottom, 486);
  EXPECT_EQ(d.bounds().right, 945);

  ASSERT_EQ(d.items().size(), std::size(kTable));
  for (size_t i = 0; i < std::size(kTable); ++i) {
    const ElementAttendu& attendu = kTable[i];
    const hostsim::adm::Item& item = *d.items()[i];
    SCOPED_TRACE("item " + std::to_string(attendu.id));
    EXPECT_EQ(item.id(), attendu.id);
    EXPECT_EQ(item.kind(), attendu.genre);
    EXPECT_TRUE(item.bounds() == attendu.bornes);
    EXPECT_EQ(item.label(), attendu.texte);
    EXPECT_EQ(item.tipLabel(), attendu.bulle);
    EXPECT_TRUE(item.enabled());
    EXPECT_EQ(item.options(), 0);
    EXPECT_EQ(item.userData(), nullptr);
  }

  for (int32_t id : {21, 13, 14, 15, 16, 17, 24}) EXPECT_TRUE(element(id).value()) << id;
  for (int32_t id : {22, 23}) EXPECT_FALSE(element(id).value()) << id;

  for (int32_t id : {6, 7, 8}) {
    const hostsim::adm::Item& corps = element(id);
    EXPECT_EQ(corps.floatValue(), 12.0f);
    EXPECT_EQ(corps.units(), kADMPointUnits);
    EXPECT_EQ(corps.minimum(), 0.1f);
    EXPECT_EQ(corps.smallIncrement(), 1.0f);
    EXPECT_EQ(corps.largeIncrement(), 4.0f);
  }
  EXPECT_EQ(element(19).maxTextLength(), 20);

  const hostsim::adm::List& formats = *element(12).list();
  ASSERT_EQ(formats.size(), 3);
  const char* textes[] = {"Mardi 10 avril 2012", "Mar 10 avr 2012", "10/04/2012"};
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(formats.at(i)->label(), textes[i]);
    EXPECT_EQ(formats.at(i)->id(), i);
  }
  EXPECT_EQ(formats.active(), formats.at(0));

  // Each font list holds every font of the host, in its order, by index.
  const auto& polices = host_.fonts().fonts();
  for (int32_t id : {3, 4, 5}) {
    const hostsim::adm::List& liste = *element(id).list();
    ASSERT_EQ(static_cast<size_t>(liste.size()), polices.size());
    for (int32_t i = 0; i < liste.size(); ++i) {
      EXPECT_EQ(liste.at(i)->text(), polices[static_cast<size_t>(i)].postscriptName);
      EXPECT_EQ(liste.at(i)->id(), i);
    }
    EXPECT_EQ(liste.active(), liste.at(0));
  }

  // The procedures the host will call.
  EXPECT_EQ(element(18).drawProc(), &ZoneDessinDansDialogueDraw);
  EXPECT_EQ(element(18).notifyProc(), nullptr);
  for (int32_t id : {9, 10, 11}) EXPECT_EQ(element(id).drawProc(), &CorpsEstampillageDraw);
  EXPECT_EQ(element(1).notifyProc(), &OKNomDocCBP);
  EXPECT_EQ(element(2).notifyProc(), &AnnulerNomDocCBP);
  EXPECT_EQ(element(20).notifyProc(), &MotCBP);

  // The settings behind the items.
  EXPECT_STREQ(NomPoliceNom, kDejaVuSans);
  EXPECT_STREQ(NomPoliceTaille, kDejaVuSans);
  EXPECT_STREQ(NomPoliceDate, kDejaVuSans);
  EXPECT_EQ(CorpsNom, 12.0);
  EXPECT_STREQ(Separateur, " - ");
  EXPECT_EQ(FormatDate, 0);
  EXPECT_TRUE(EnDessous);
  EXPECT_FALSE(EnHaut || EnBas);
  EXPECT_EQ(CouleurTexte.kind, kFourColor);
  EXPECT_EQ(CouleurTexte.c.f.black, 1.0f);
  EXPECT_EQ(CouleurTexte.c.f.cyan, 1.0f);
  EXPECT_TRUE(fautes().empty());
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
  utilisateur().cancel();
  ouvre();

  EXPECT_FALSE(element(21).value());
  EXPECT_EQ(element(21).tipLabel(), "Le numéro du plan de travail ne sera pas ajouté au nom du fichier.");
  EXPECT_TRUE(element(13).value());
  EXPECT_FALSE(element(14).value());
  EXPECT_EQ(element(14).tipLabel(), "La taille du document ne sera pas affichée.");
  EXPECT_FALSE(element(15).value());
  EXPECT_EQ(element(15).tipLabel(), "La date ne sera pas affichée.");
  EXPECT_FALSE(element(16).value());
  EXPECT_EQ(element(16).tipLabel(), "Infos sur une seule ligne.");
  EXPECT_FALSE(element(17).value());
  EXPECT_EQ(element(17).tipLabel(), "Infos seulement sur le plan de travail actif.");
  EXPECT_EQ(element(4).label(), kDejaVuSerif);
  EXPECT_EQ(NumeroPoliceTaille, host_.fonts().indexOf(kDejaVuSerif));
  EXPECT_EQ(element(6).floatValue(), 7.5f);
  EXPECT_EQ(element(7).floatValue(), 12.0f);
  EXPECT_EQ(element(8).floatValue(), 30.25f);
  EXPECT_EQ(element(12).label(), "10/04/2012");
  EXPECT_EQ(element(19).label(), " / ");
  EXPECT_FALSE(element(22).value());
  EXPECT_TRUE(element(23).value());
  EXPECT_FALSE(element(24).value());

  // Size and date off: their fonts, size buttons, sizes and the date format are disabled.
  for (int32_t id : {4, 10, 7, 5, 11, 8, 12}) EXPECT_FALSE(element(id).enabled()) << id;
  for (int32_t id : {21, 13, 3, 9, 6, 14, 15, 16, 17, 19, 20, 22, 23, 24, 18, 1, 2})
    EXPECT_TRUE(element(id).enabled()) << id;
}

TEST_F(DialogueConstruction, WithoutTheNameTheNumberIsOffAndDisabled) {
  preferences().putBool(kPrefixe, kCleAvecNom, false);
  preferences().putBool(kPrefixe, kCleAvecNum, true);
  utilisateur().cancel();
  ouvre();
  EXPECT_FALSE(element(13).value());
  EXPECT_EQ(element(13).tipLabel(), "Le nom du fichier ne sera pas affiché.");
  EXPECT_FALSE(element(21).enabled());
  EXPECT_FALSE(element(21).value());
  EXPECT_FALSE(CaseAvecNumero);
  for (int32_t id : {3, 9, 6}) EXPECT_FALSE(element(id).enabled()) << id;
  // Stacked, without name and number, there is nothing for a separator to stand between.
  EXPECT_FALSE(element(19).enabled());
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
    utilisateur().cancel();
    ouvre();
    EXPECT_EQ(element(19).enabled(), c.actif) << c.superposees << c.numero << c.nom << c.taille << c.date;
  }
}

TEST_F(DialogueConstruction, StoredFontNoneHasSelectsTheFirstAndKeepsTheName) {
  preferences().putString(kPrefixe, kClePoliceNom, "Helvetica");
  NumeroPoliceNom = 3;
  utilisateur().ok();
  ouvre();
  EXPECT_EQ(element(3).list()->active(), element(3).list()->at(0));
  EXPECT_EQ(NumeroPoliceNom, 0);
  EXPECT_STREQ(NomPoliceNom, "Helvetica");
  // And OK stores it again unchanged.
  std::string stocke;
  ASSERT_TRUE(preferences().getString(kPrefixe, kClePoliceNom, stocke));
  EXPECT_EQ(stocke, "Helvetica");
}

TEST_F(DialogueConstruction, AStoredNameMatchesEveryFontItBeginsWithAndTheLaterWins) {
  // "DejaVuSansMono-Oblique" begins with "DejaVuSans" (0) and "DejaVuSansMono" (2).
  preferences().putString(kPrefixe, kClePoliceDate, "DejaVuSansMono-Oblique");
  preferences().putString(kPrefixe, kClePoliceTaille, kDejaVuSansBold);
  utilisateur().cancel();
  ouvre();
  EXPECT_EQ(NumeroPoliceDate, host_.fonts().indexOf(kDejaVuSansMono));
  EXPECT_EQ(element(5).label(), kDejaVuSansMono);
  EXPECT_STREQ(NomPoliceDate, "DejaVuSansMono-Oblique");
  EXPECT_EQ(NumeroPoliceTaille, host_.fonts().indexOf(kDejaVuSansBold));
  EXPECT_EQ(NumeroPoliceNom, 0);
}

TEST_F(DialogueConstruction, AStoredDateFormatOutOfRangeShowsTheFirst) {
  for (int32_t stocke : {7, -1}) {
    preferences().putInt32(kPrefixe, kCleFormatDate, stocke);
    utilisateur().ok();
    ouvre();
    EXPECT_EQ(element(12).list()->active(), element(12).list()->at(0));
    EXPECT_EQ(FormatDate, 0);
    int32_t relu = -5;
    ASSERT_TRUE(preferences().getInt32(kPrefixe, kCleFormatDate, relu));
    EXPECT_EQ(relu, 0);
  }
}

TEST_F(DialogueConstruction, AnOverlongStoredSeparatorIsCutToTheField) {
  preferences().putString(kPrefixe, kCleSeparateur, std::string(40, '*'));
  utilisateur().cancel();
  ouvre();
  EXPECT_EQ(std::string(Separateur), std::string(20, '*'));
  EXPECT_EQ(element(19).text(), std::string(20, '*'));
}

TEST_F(DialogueConstruction, WithoutAStartingFontTheDialogClosesWithAnAlert) {
  host_.faults().failCall("AI Font Suite.IndexFontList", host_.accounting().callsOf("AI Font Suite.IndexFontList") + 1,
                          fourcc("FNT?"));
  const ADMRect avant = PosDialReglages;
  const std::string prefsAvant = preferences().toString();
  const std::string docAvant = document().toString();
  ouvre();
  EXPECT_TRUE(dialogue().items().empty());
  EXPECT_FALSE(dialogue().open());
  EXPECT_FALSE(dialogue().endedByHost());
  EXPECT_TRUE(dialogue().cancelling());
  ASSERT_EQ(alertes().size(), 1u);
  EXPECT_NE(alertes()[0].find("police"), std::string::npos);
  EXPECT_EQ(PosDialReglages.bottom, avant.bottom);
  EXPECT_EQ(preferences().toString(), prefsAvant);
  EXPECT_EQ(document().toString(), docAvant);
  EXPECT_TRUE(fautes().empty());
}

// The preference reads run as their items are built: each key is read with the number of
// items that exist at that moment.
const AIPreferenceSuite* gVraies = nullptr;
std::vector<std::pair<std::string, size_t>> gLectures;

size_t ElementsExistants() {
  hostsim::adm::Dialog* d = hostsim::dialogs(hostsim::Host::current()).top();
  return d != nullptr ? d->items().size() : 0;
}

TEST_F(DialogueConstruction, ReadsEachPreferenceBesideItsItem) {
  gVraies = sAIPreference;
  gLectures.clear();
  AIPreferenceSuite espion = *sAIPreference;
  espion.GetBooleanPreference = [](const char* prefixe, const char* cle, AIBoolean* valeur) {
    gLectures.emplace_back(cle, ElementsExistants());
    return gVraies->GetBooleanPreference(prefixe, cle, valeur);
  };
  espion.GetIntegerPreference = [](const char* prefixe, const char* cle, int32_t* valeur) {
    gLectures.emplace_back(cle, ElementsExistants());
    return gVraies->GetIntegerPreference(prefixe, cle, valeur);
  };
  espion.GetRealPreference = [](const char* prefixe, const char* cle, double* valeur) {
    gLectures.emplace_back(cle, ElementsExistants());
    return gVraies->GetRealPreference(prefixe, cle, valeur);
  };
  espion.GetStringPreference = [](const char* prefixe, const char* cle, char* valeur, size_t capacite) {
    gLectures.emplace_back(cle, ElementsExistants());
    return gVraies->GetStringPreference(prefixe, cle, valeur, capacite);
  };
  sAIPreference = &espion;
  utilisateur().cancel();
  ouvre();
  sAIPreference = const_cast<AIPreferenceSuite*>(gVraies);

  const std::vector<std::pair<std::string, size_t>> attendu{
      {"AvecNum", 1},     {"AvecNom", 2},      {"PoliceNom", 2},  {"CorpsNom", 4},    {"AvecTaille", 6},
      {"PoliceTaille", 6}, {"CorpsTaille", 8}, {"AvecDate", 10},  {"PoliceDate", 10}, {"CorpsDate", 12},
      {"FormatDate", 14}, {"InfosSuper", 15},  {"TousPlans", 16}, {"Separateur", 17}, {"EnHaut", 19},
      {"EnBas", 20},      {"EnDessous", 21},
  };
  EXPECT_EQ(gLectures, attendu);
}

}  // namespace
}  // namespace dialog_test
