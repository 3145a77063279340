// Building the settings dialog: the settings are read from the preferences item by item,
// each just before the item that shows it is given its value.
#include "dialog/DateDialogue.h"

#include <cstring>

#include "engine/Reglages.h"
#include "shell/DateSuites.h"

namespace {

// "QZV•Estampilleur (Réglages)"
constexpr const char* kTitre = "QZV\xA5" "Estampilleur (R\x8E" "glages)";
// "Impossible d'ouvrir les réglages : l'application ne fournit aucune police."
constexpr const char* kAlerteSansPolice =
    "Impossible d'ouvrir les r\x8E" "glages : l'application ne fournit aucune police.";

// "Numéro du plan"
constexpr const char* kTexteCaseNumero = "Num\x8E" "ro du plan";
constexpr const char* kTexteCaseNom = "Nom.";
constexpr const char* kTexteCaseTaille = "Taille.";
constexpr const char* kTexteCaseDate = "Date.";
// "Infos superposées"
constexpr const char* kTexteInfosSuperposees = "Infos superpos\x8E" "es";
constexpr const char* kTexteTousLesPlans = "Sur tous les plans";
// "Séparateurs"
constexpr const char* kTexteSeparateurs = "S\x8E" "parateurs";
constexpr const char* kTexteEnHaut = "Haut.";
constexpr const char* kTexteEnBas = "Bas.";
constexpr const char* kTexteEnDessous = "Dessous.";
constexpr const char* kTexteAnnuler = "Annuler";
constexpr const char* kTexteOK = "OK";

constexpr const char* kBullePoliceNom = "Choix de la police pour le nom du fichier.";
constexpr const char* kBulleCorpsNom = "Corps du texte pour le nom du fichier.";
constexpr const char* kBullePoliceTaille = "Choix de la police pour la taille du document.";
constexpr const char* kBulleCorpsTaille = "Corps du texte pour la taille du document.";
constexpr const char* kBullePoliceDate = "Choix de la police pour la date.";
constexpr const char* kBulleCorpsDate = "Corps du texte pour la date.";
constexpr const char* kBulleFormatDate = "Choix du format de date.";
// "Chaîne de séparation pour Nom, Taille et Date (maximum 20 caractères)."
constexpr const char* kBulleSeparateur =
    "Cha\x94" "ne de s\x8E" "paration pour Nom, Taille et Date (maximum 20 caract\x8F" "res).";
constexpr const char* kBulleEnHaut = "Les informations seront en haut du plan de travail.";
constexpr const char* kBulleEnBas = "Les informations seront en bas du plan de travail.";
constexpr const char* kBulleEnDessous = "Les informations seront en dessous du plan de travail.";
constexpr const char* kBulleAnnuler = "Aucune modification.";
// "Validation des nouveaux réglages."
constexpr const char* kBulleOK = "Validation des nouveaux r\x8E" "glages.";

constexpr const char* kFormatsDate[kNombreFormatsDate] = {
    "Mardi 10 avril 2012",
    "Mar 10 avr 2012",
    "10/04/2012",
};

ADMItemRef Cree(ADMDialogRef dialog, int32_t id, const char* type, int16_t haut, int16_t gauche, int16_t bas,
                int16_t droite) {
  const ADMRect bornes{haut, gauche, bas, droite};
  return sADMItem->Create(dialog, id, type, &bornes, nullptr, nullptr, 0);
}

// A check box or radio button with its label; the setting is read once the item exists.
ADMItemRef CreeCase(ADMDialogRef dialog, int32_t id, const char* type, int16_t haut, int16_t gauche, int16_t bas,
                    int16_t droite, const char* texte, const char* cle, AIBoolean& reglage, AIBoolean defaut) {
  ADMItemRef item = Cree(dialog, id, type, haut, gauche, bas, droite);
  sADMItem->SetText(item, texte);
  LitBooleen(cle, reglage, defaut);
  sADMItem->SetBooleanValue(item, reglage);
  return item;
}

// A point-size field: the setting is read once the item exists.
ADMItemRef CreeCorps(ADMDialogRef dialog, int32_t id, int16_t haut, const char* cle, double& corps,
                     const char* bulle, ADMItemNotifyProc notification) {
  ADMItemRef item = Cree(dialog, id, kADMSpinEditType, haut, 244, haut + 22, 309);
  LitReel(cle, corps, kDefautCorps);
  sADMItem->SetUnits(item, kADMPointUnits);
  sADMItem->SetMinFloatValue(item, 0.1f);
  sADMItem->SetSmallIncrement(item, 1.0f);
  sADMItem->SetLargeIncrement(item, 4.0f);
  sADMItem->SetFloatValue(item, static_cast<float>(corps));
  sADMItem->SetTipString(item, bulle);
  sADMItem->SetNotifyProc(item, notification);
  return item;
}

// The small button that stands for a point size and hands the keyboard to its field.
void CreeMotCorps(ADMDialogRef dialog, int32_t id, int16_t haut, const char* bulle) {
  ADMItemRef item = Cree(dialog, id, kADMPicturePushButtonType, haut, 225, haut + 13, 241);
  sADMItem->SetNotifyProc(item, MotCBP);
  sADMItem->SetDrawProc(item, CorpsEstampillageDraw);
  sADMItem->SetTipString(item, bulle);
}

// A font list: the stored name is read before the item exists.
int32_t CreePolice(ADMDialogRef dialog, int32_t id, int16_t haut, const char* cle, char (&nom)[kTailleNomPolice],
                   const char* bulle, ADMItemNotifyProc notification) {
  LitPolice(cle, nom);
  ADMItemRef item = Cree(dialog, id, kADMTextEditScrollingPopupType, haut, 80, haut + 22, 205);
  sADMItem->SetTipString(item, bulle);
  sADMItem->SetNotifyProc(item, notification);
  return RechercheNomsPolices(item, nom);
}

void Construit(ADMDialogRef dialog) {
  sADMDialog->SetText(dialog, kTitre);
  PosDialReglages.bottom = static_cast<int16_t>(PosDialReglages.top + kHauteurDialogue);
  PosDialReglages.right = static_cast<int16_t>(PosDialReglages.left + kLargeurDialogue);
  sADMDialog->SetBoundsRect(dialog, &PosDialReglages);

  ADMItemRef item = CreeCase(dialog, kIdCaseNumero, kADMTextCheckBoxType, 10, 13, 25, 213, kTexteCaseNumero,
                             kCleAvecNum, CaseAvecNumero, kDefautCaseAvecNumero);
  sADMItem->SetTipString(item, BulleCaseNumero(CaseAvecNumero));
  sADMItem->SetNotifyProc(item, CaseNumeroPlanCBP);
  ADMItemRef caseNumero = item;

  item = CreeCase(dialog, kIdCaseNom, kADMTextCheckBoxType, 40, 13, 55, 73, kTexteCaseNom, kCleAvecNom, CaseAvecNom,
                  kDefautCaseAvecNom);
  sADMItem->SetTipString(item, BulleCaseNom(CaseAvecNom));
  sADMItem->SetNotifyProc(item, CaseAvecNomCBP);
  // The number only ever stands beside the name: without the name it is off and cannot be
  // switched on, as after the user clears the name.
  if (!CaseAvecNom && CaseAvecNumero) {
    CaseAvecNumero = false;
    sADMItem->SetBooleanValue(caseNumero, false);
    sADMItem->SetTipString(caseNumero, BulleCaseNumero(false));
  }
  sADMItem->Enable(caseNumero, CaseAvecNom);

  NumeroPoliceNom = CreePolice(dialog, kIdPoliceNom, 36, kClePoliceNom, NomPoliceNom, kBullePoliceNom,
                               NomsPolicesNomCBP);
  CreeCorps(dialog, kIdCorpsNom, 36, kCleCorpsNom, CorpsNom, kBulleCorpsNom, CorpsNomCBP);
  CreeMotCorps(dialog, kIdMotCorpsNom, 39, kBulleCorpsNom);

  item = CreeCase(dialog, kIdCaseTaille, kADMTextCheckBoxType, 69, 13, 84, 73, kTexteCaseTaille, kCleAvecTaille,
                  CaseAvecTaille, kDefautCaseAvecTaille);
  sADMItem->SetTipString(item, BulleCaseTaille(CaseAvecTaille));
  sADMItem->SetNotifyProc(item, CaseAvecTailleCBP);
  NumeroPoliceTaille = CreePolice(dialog, kIdPoliceTaille, 65, kClePoliceTaille, NomPoliceTaille,
                                  kBullePoliceTaille, NomsPolicesTailleCBP);
  CreeCorps(dialog, kIdCorpsTaille, 65, kCleCorpsTaille, CorpsTaille, kBulleCorpsTaille, CorpsTailleCBP);
  CreeMotCorps(dialog, kIdMotCorpsTaille, 69, kBulleCorpsTaille);

  item = CreeCase(dialog, kIdCaseDate, kADMTextCheckBoxType, 99, 13, 114, 73, kTexteCaseDate, kCleAvecDate,
                  CaseAvecDate, kDefautCaseAvecDate);
  sADMItem->SetTipString(item, BulleCaseDate(CaseAvecDate));
  sADMItem->SetNotifyProc(item, CaseAvecDateCBP);
  NumeroPoliceDate = CreePolice(dialog, kIdPoliceDate, 95, kClePoliceDate, NomPoliceDate, kBullePoliceDate,
                                NomsPolicesDateCBP);
  CreeCorps(dialog, kIdCorpsDate, 95, kCleCorpsDate, CorpsDate, kBulleCorpsDate, CorpsDateCBP);
  CreeMotCorps(dialog, kIdMotCorpsDate, 99, kBulleCorpsDate);

  item = Cree(dialog, kIdFormatDate, kADMPopupListType, 129, 80, 149, 309);
  LitFormatDate();
  // A stored value that names no entry shows, and stamps, the first format.
  if (FormatDate < 0 || FormatDate >= kNombreFormatsDate) FormatDate = kDefautFormatDate;
  if (ADMListRef liste = sADMItem->GetList(item)) {
    for (int32_t i = 0; i < kNombreFormatsDate; ++i) {
      ADMEntryRef entree = sADMEntry->Create(liste);
      if (entree == nullptr) continue;
      sADMEntry->SetText(entree, kFormatsDate[i]);
      sADMEntry->SetID(entree, i);
    }
    if (ADMEntryRef choisie = sADMList->IndexEntry(liste, FormatDate)) sADMEntry->Select(choisie, true);
  }
  sADMItem->SetTipString(item, kBulleFormatDate);
  sADMItem->SetNotifyProc(item, ListeFormatsDateCBP);

  item = CreeCase(dialog, kIdInfosSuperposees, kADMTextCheckBoxType, 159, 13, 174, 160, kTexteInfosSuperposees,
                  kCleInfosSuper, InfosSuperposees, kDefautInfosSuperposees);
  sADMItem->SetTipString(item, BulleInfosSuperposees(InfosSuperposees));
  sADMItem->SetNotifyProc(item, CaseInfosSuperposeesCBP);

  item = CreeCase(dialog, kIdTousLesPlans, kADMTextCheckBoxType, 159, 160, 174, 307, kTexteTousLesPlans,
                  kCleTousPlans, InfosSurTousLesPlans, kDefautInfosSurTousLesPlans);
  sADMItem->SetTipString(item, BulleTousLesPlans(InfosSurTousLesPlans));
  sADMItem->SetNotifyProc(item, CaseInfosSurTousLesPlansCBP);

  item = Cree(dialog, kIdSeparateur, kADMTextEditType, 189, 80, 211, 145);
  sADMItem->Enable(item, SeparateurUtile());
  LitSeparateur();
  // The field holds 20 characters; a longer stored value is cut to what it shows.
  Separateur[kMaxCaracteresSeparateur] = '\0';
  sADMItem->SetMaxTextLength(item, static_cast<int32_t>(kMaxCaracteresSeparateur));
  sADMItem->SetText(item, Separateur);
  sADMItem->SetNotifyProc(item, SeparateurCBP);
  sADMItem->SetTipString(item, kBulleSeparateur);

  item = Cree(dialog, kIdMotSeparateur, kADMTextStaticType, 191, 4, 211, 79);
  sADMItem->SetText(item, kTexteSeparateurs);
  sADMItem->SetNotifyProc(item, MotCBP);
  sADMItem->SetTipString(item, kBulleSeparateur);

  item = CreeCase(dialog, kIdEnHaut, kADMTextRadioButtonType, 187, 160, 211, 220, kTexteEnHaut, kCleEnHaut, EnHaut,
                  kDefautEnHaut);
  sADMItem->SetTipString(item, kBulleEnHaut);
  sADMItem->SetNotifyProc(item, EnHautEnBasEnDessousCBP);
  item = CreeCase(dialog, kIdEnBas, kADMTextRadioButtonType, 187, 244, 211, 314, kTexteEnBas, kCleEnBas, EnBas,
                  kDefautEnBas);
  sADMItem->SetTipString(item, kBulleEnBas);
  sADMItem->SetNotifyProc(item, EnHautEnBasEnDessousCBP);
  item = CreeCase(dialog, kIdEnDessous, kADMTextRadioButtonType, 187, 324, 211, 404, kTexteEnDessous, kCleEnDessous,
                  EnDessous, kDefautEnDessous);
  sADMItem->SetTipString(item, kBulleEnDessous);
  sADMItem->SetNotifyProc(item, EnHautEnBasEnDessousCBP);

  item = Cree(dialog, kIdApercu, kADMPicturePushButtonType, 6, 318, 186, 441);
  sADMItem->SetDrawProc(item, ZoneDessinDansDialogueDraw);

  item = Cree(dialog, kIdAnnuler, kADMTextPushButtonType, 222, 13, 242, 105);
  sADMItem->SetText(item, kTexteAnnuler);
  sADMItem->SetTipString(item, kBulleAnnuler);
  sADMItem->SetNotifyProc(item, AnnulerNomDocCBP);

  item = Cree(dialog, kIdOK, kADMTextPushButtonType, 222, 345, 242, 437);
  sADMItem->SetText(item, kTexteOK);
  sADMItem->SetTipString(item, kBulleOK);
  sADMItem->SetNotifyProc(item, OKNomDocCBP);

  ActiveZones(dialog);
}

}  // namespace

ASErr ValeursDefautDialogue(ADMDialogRef dialog) {
  try {
    if (ChargePoliceDeDepart() != kNoErr) {
      // Without a font there is nothing to build, not even a button to close the dialog:
      // say so and close it.
      sADMBasic->MessageAlert(kAlerteSansPolice);
      sADMDialog->EndModal(dialog, kIdAnnuler, true);
      return kNoErr;
    }
    Construit(dialog);
  } catch (...) {
    // A dialog left half built could not be closed: close it.
    sADMDialog->EndModal(dialog, kIdAnnuler, true);
  }
  return kNoErr;
}

int32_t RechercheNomsPolices(ADMItemRef item, const char* nom) {
  int32_t position = 0;
  ADMListRef liste = sADMItem->GetList(item);
  int32_t nombre = 0;
  ASErr erreur = sAIFont->CountFonts(&nombre);
  if (erreur != kNoErr) nombre = 0;
  for (int32_t i = 0; i < nombre && erreur == kNoErr; ++i) {
    char tampon[kTailleTamponPolice];
    std::memset(tampon, 0, sizeof tampon);
    AIFontKey police = nullptr;
    erreur = sAIFont->IndexFontList(i, &police);
    if (erreur == kNoErr) erreur = sAIFont->GetFontName(police, tampon, kTailleTamponPolice);
    tampon[kTailleTamponPolice - 1] = '\0';

    // The stored name is this font's when it begins with the font's whole name; a stored
    // name is at most 255 bytes, so a longer font name is compared by what would be stored.
    size_t longueur = std::strlen(tampon);
    if (longueur > kTailleNomPolice - 1) longueur = kTailleNomPolice - 1;
    if (std::strncmp(tampon, nom, longueur) == 0) position = KPOLICE + i;

    if (liste != nullptr) {
      if (ADMEntryRef entree = sADMEntry->Create(liste)) {
        sADMEntry->SetText(entree, tampon);
        sADMEntry->SetID(entree, i);
      }
    }
  }
  if (liste != nullptr) {
    if (ADMEntryRef choisie = sADMList->IndexEntry(liste, position)) sADMEntry->Select(choisie, true);
  }
  return position;
}
