// The item callbacks: each writes its setting at once, keeps the dependent items enabled or
// not, and has the preview redrawn when the preview shows what changed. Host calls here
// return no error worth acting on; exceptions are stopped at each procedure's edge.
#include <cstring>

#include "dialog/DateDialogue.h"
#include "engine/Reglages.h"
#include "shell/DateSuites.h"

namespace {

bool ChangementUtilisateur(ADMNotifierRef notifier) {
  return sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier) != 0;
}

ADMItemRef Element(ADMDialogRef dialog, int32_t id) { return sADMDialog->GetItem(dialog, id); }

void Active(ADMDialogRef dialog, int32_t id, bool actif) {
  if (ADMItemRef item = Element(dialog, id)) sADMItem->Enable(item, actif);
}

void RedessineApercu(ADMItemRef item) {
  if (ADMItemRef apercu = Element(sADMItem->GetDialog(item), kIdApercu)) sADMItem->Invalidate(apercu);
}

ADMEntryRef EntreeActive(ADMItemRef item) {
  ADMListRef liste = sADMItem->GetList(item);
  return liste != nullptr ? sADMList->GetActiveEntry(liste) : nullptr;
}

// The font the user picked in a font list: its index, and its name cut to the setting's size.
void ChoixPolice(ADMItemRef item, int32_t& numero, char (&nom)[kTailleNomPolice]) {
  ADMEntryRef entree = EntreeActive(item);
  if (entree == nullptr) return;
  numero = sADMEntry->GetID(entree);
  char tampon[kTailleTamponPolice];
  std::memset(tampon, 0, sizeof tampon);
  AIFontKey police = nullptr;
  if (sAIFont->IndexFontList(numero + KPOLICE, &police) == kNoErr)
    sAIFont->GetFontName(police, tampon, kTailleTamponPolice);
  tampon[kTailleTamponPolice - 1] = '\0';
  CopieNomPolice(nom, tampon);
}

// Runs a callback's body; nothing it throws goes back into the host.
template <typename Corps>
void Protege(Corps corps) {
  try {
    corps();
  } catch (...) {
  }
}

}  // namespace

// "Le numéro du plan de travail sera ajouté au nom du fichier." / "... ne sera pas ajouté ..."
const char* BulleCaseNumero(bool coche) {
  return coche ? "Le num\x8E" "ro du plan de travail sera ajout\x8E" " au nom du fichier."
               : "Le num\x8E" "ro du plan de travail ne sera pas ajout\x8E" " au nom du fichier.";
}

// "Le nom du fichier sera affiché." / "Le nom du fichier ne sera pas affiché."
const char* BulleCaseNom(bool coche) {
  return coche ? "Le nom du fichier sera affich\x8E" "." : "Le nom du fichier ne sera pas affich\x8E" ".";
}

// "La taille du document sera affichée." / "La taille du document ne sera pas affichée."
const char* BulleCaseTaille(bool coche) {
  return coche ? "La taille du document sera affich\x8E" "e." : "La taille du document ne sera pas affich\x8E" "e.";
}

// "La date sera affichée." / "La date ne sera pas affichée."
const char* BulleCaseDate(bool coche) {
  return coche ? "La date sera affich\x8E" "e." : "La date ne sera pas affich\x8E" "e.";
}

// "Infos superposées" / "Infos sur une seule ligne."
const char* BulleInfosSuperposees(bool coche) {
  return coche ? "Infos superpos\x8E" "es" : "Infos sur une seule ligne.";
}

const char* BulleTousLesPlans(bool coche) {
  return coche ? "Infos sur tous les plans de travail." : "Infos seulement sur le plan de travail actif.";
}

bool SeparateurUtile() {
  if (InfosSuperposees) return CaseAvecNom && CaseAvecNumero;
  return CaseAvecNumero || CaseAvecNom || CaseAvecDate;
}

void ActiveZones(ADMDialogRef dialog) {
  Active(dialog, kIdPoliceNom, CaseAvecNom);
  Active(dialog, kIdMotCorpsNom, CaseAvecNom);
  Active(dialog, kIdCorpsNom, CaseAvecNom);
  Active(dialog, kIdPoliceTaille, CaseAvecTaille);
  Active(dialog, kIdMotCorpsTaille, CaseAvecTaille);
  Active(dialog, kIdCorpsTaille, CaseAvecTaille);
  Active(dialog, kIdPoliceDate, CaseAvecDate);
  Active(dialog, kIdMotCorpsDate, CaseAvecDate);
  Active(dialog, kIdCorpsDate, CaseAvecDate);
  Active(dialog, kIdFormatDate, CaseAvecDate);
  Active(dialog, kIdSeparateur, SeparateurUtile());
}

int32_t NumeroEntreeMenu(ADMItemRef item) {
  ADMEntryRef entree = EntreeActive(item);
  if (entree == nullptr) return -1;
  return sADMEntry->GetIndex(entree);
}

void MotPlusCBP(ADMItemRef item, int16_t id) {
  if (ADMItemRef champ = Element(sADMItem->GetDialog(item), id)) sADMItem->Activate(champ, true);
}

void CaseNumeroPlanCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] {
    CaseAvecNumero = sADMItem->GetBooleanValue(item) ? 1 : 0;
    sADMItem->SetTipString(item, BulleCaseNumero(CaseAvecNumero));
    ActiveZones(sADMItem->GetDialog(item));
    RedessineApercu(item);
  });
}

void CaseAvecNomCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (!ChangementUtilisateur(notifier)) return;
    CaseAvecNom = !CaseAvecNom;
    sADMItem->SetTipString(item, BulleCaseNom(CaseAvecNom));
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    ADMItemRef caseNumero = Element(dialog, kIdCaseNumero);
    if (!CaseAvecNom) {
      CaseAvecNumero = false;
      if (caseNumero != nullptr) {
        sADMItem->SetBooleanValue(caseNumero, false);
        sADMItem->SetTipString(caseNumero, BulleCaseNumero(false));
      }
    }
    if (caseNumero != nullptr) sADMItem->Enable(caseNumero, CaseAvecNom);
    ActiveZones(dialog);
    RedessineApercu(item);
  });
}

void CaseAvecTailleCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (!ChangementUtilisateur(notifier)) return;
    CaseAvecTaille = !CaseAvecTaille;
    sADMItem->SetTipString(item, BulleCaseTaille(CaseAvecTaille));
    ActiveZones(sADMItem->GetDialog(item));
    RedessineApercu(item);
  });
}

void CaseAvecDateCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (!ChangementUtilisateur(notifier)) return;
    CaseAvecDate = !CaseAvecDate;
    sADMItem->SetTipString(item, BulleCaseDate(CaseAvecDate));
    ActiveZones(sADMItem->GetDialog(item));
    RedessineApercu(item);
  });
}

void CaseInfosSuperposeesCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] {
    InfosSuperposees = sADMItem->GetBooleanValue(item) ? 1 : 0;
    sADMItem->SetTipString(item, BulleInfosSuperposees(InfosSuperposees));
    ActiveZones(sADMItem->GetDialog(item));
    RedessineApercu(item);
  });
}

void CaseInfosSurTousLesPlansCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] {
    InfosSurTousLesPlans = sADMItem->GetBooleanValue(item) ? 1 : 0;
    sADMItem->SetTipString(item, BulleTousLesPlans(InfosSurTousLesPlans));
    RedessineApercu(item);
  });
}

void NomsPolicesNomCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (ChangementUtilisateur(notifier)) ChoixPolice(item, NumeroPoliceNom, NomPoliceNom);
  });
}

void NomsPolicesTailleCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (ChangementUtilisateur(notifier)) ChoixPolice(item, NumeroPoliceTaille, NomPoliceTaille);
  });
}

void NomsPolicesDateCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (ChangementUtilisateur(notifier)) ChoixPolice(item, NumeroPoliceDate, NomPoliceDate);
  });
}

void CorpsNomCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] { CorpsNom = static_cast<double>(sADMItem->GetFloatValue(item)); });
}

void CorpsTailleCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] { CorpsTaille = static_cast<double>(sADMItem->GetFloatValue(item)); });
}

void CorpsDateCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] { CorpsDate = static_cast<double>(sADMItem->GetFloatValue(item)); });
}

void ListeFormatsDateCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (!ChangementUtilisateur(notifier)) return;
    const int32_t position = NumeroEntreeMenu(item);
    if (position >= 0 && position < kNombreFormatsDate) FormatDate = position;
  });
}

void SeparateurCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (!ChangementUtilisateur(notifier)) return;
    int32_t longueur = sADMItem->GetTextLength(item);
    if (longueur < 0) longueur = 0;
    if (longueur > static_cast<int32_t>(kMaxCaracteresSeparateur))
      longueur = static_cast<int32_t>(kMaxCaracteresSeparateur);
    Separateur[0] = '\0';
    sADMItem->GetText(item, Separateur, longueur + 1);
    Separateur[longueur] = '\0';
  });
}

void EnHautEnBasEnDessousCBP(ADMItemRef item, ADMNotifierRef notifier) {
  Protege([&] {
    if (!ChangementUtilisateur(notifier)) return;
    switch (sADMItem->GetID(item) - kIdEnHaut) {
      case 0:
        EnHaut = true, EnBas = false, EnDessous = false;
        break;
      case 1:
        EnHaut = false, EnBas = true, EnDessous = false;
        break;
      case 2:
        EnHaut = false, EnBas = false, EnDessous = true;
        break;
      default:
        return;
    }
    RedessineApercu(item);
  });
}

void MotCBP(ADMItemRef item, ADMNotifierRef) {
  Protege([&] {
    switch (sADMItem->GetID(item)) {
      case kIdMotCorpsNom:
        MotPlusCBP(item, kIdCorpsNom);
        break;
      case kIdMotCorpsTaille:
        MotPlusCBP(item, kIdCorpsTaille);
        break;
      case kIdMotCorpsDate:
        MotPlusCBP(item, kIdCorpsDate);
        break;
      case kIdMotSeparateur:
        MotPlusCBP(item, kIdSeparateur);
        break;
      default:
        break;
    }
  });
}
