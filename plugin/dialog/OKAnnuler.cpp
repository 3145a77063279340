// OK stamps the document and stores the settings; Cancel only remembers where the dialog
// stood. Both always close the dialog, whatever the host or the text engine reports.
#include "dialog/DateDialogue.h"
#include "engine/Moteur.h"
#include "engine/Reglages.h"
#include "host/IAIArtboards.h"
#include "shell/DateSuites.h"

namespace {

// The bleed the host accepts below the artboards, in points.
constexpr AIReal kFondPerduMaximum = 72.0f;

// "L'application impose un fond perdu maximum de 72 points.\rDécochez Infos superposées et/ou
// réduisez les corps des polices."
constexpr const char* kAlerteFondPerdu =
    "L'application impose un fond perdu maximum de 72 points.\r"
    "D\x8E" "cochez Infos superpos\x8E" "es et/ou r\x8E" "duisez les corps des polices.";
// "L'estampillage a été interrompu par une erreur de l'application."
constexpr const char* kAlerteInterruption = "L'estampillage a \x8E" "t\x8E" " interrompu par une erreur de l'application.";

// Every stamp of an earlier run that is not locked, wherever the user moved it.
void SupprimeAnciensTextes() {
  AIMatchingArtSpec critere{kTextFrameArt, kArtLocked, 0};
  AIArtHandle** trouves = nullptr;
  int32_t nombre = 0;
  ASErr erreur = sAIMatchingArt->GetMatchingArt(&critere, 1, &trouves, &nombre);
  if (erreur != kNoErr || trouves == nullptr) return;
  for (int32_t i = 0; i < nombre; ++i) {
    AIArtHandle texte = (*trouves)[i];
    if (sTag->GetTag(texte, kNomEtiquette, nullptr) == kNoErr && sAIArt->ValidArt(texte, true))
      sAIArt->DisposeArt(texte);
  }
  sAIMDMemory->MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(trouves));
}

// Removes the earlier stamps, stamps the artboards and sets the bottom bleed.
void Estampille() {
  SupprimeAnciensTextes();
  const bool groupeCree = CreationGroupe() == kNoErr;

  // Only a bleed the host told is written back: the sides the plug-in does not set must
  // stay as the document has them, never become zeros.
  AIRealRect fondPerdu{0.0f, 0.0f, 0.0f, 0.0f};
  bool fondLu = sDoc->GetDocumentBleeds(&fondPerdu) == kNoErr;
  if (!fondLu) fondPerdu = AIRealRect{0.0f, 0.0f, 0.0f, 0.0f};

  ai::ArtboardList plans;
  int32_t nombre = 0;
  sAIArtboard->GetCount(plans.GetHandle(), &nombre);
  NbrPlans = nombre;

  VideListesTextes();

  // Every artboard needs the same depth; one whose stamping failed answers 0, which must
  // not undo the depth of those stamped.
  bool profondeurCalculee = false;
  AIReal profondeur = 0.0f;
  if (groupeCree) {
    try {
      if (InfosSurTousLesPlans) {
        for (int32_t i = 0; i < NbrPlans; ++i) {
          const AIReal plan = CalculeInfosPourUnPlan(i);
          if (plan > profondeur) profondeur = plan;
          profondeurCalculee = true;
        }
      } else {
        // An active artboard the host cannot name is not guessed.
        int32_t actif = 0;
        if (sAIArtboard->GetActive(plans.GetHandle(), &actif) == kNoErr) {
          profondeur = CalculeInfosPourUnPlan(actif);
          profondeurCalculee = true;
        }
      }
    } catch (...) {
      // The stamps made so far stay, tagged, and the next run removes them. The bleed is
      // still set for the artboards already stamped.
      sADMBasic->ErrorAlert(kAlerteInterruption);
    }
  }

  if (!fondLu) {
    AIRealRect relu{0.0f, 0.0f, 0.0f, 0.0f};
    fondLu = sDoc->GetDocumentBleeds(&relu) == kNoErr;
    if (fondLu) fondPerdu = relu;
  }
  if (profondeurCalculee) fondPerdu.bottom = profondeur;
  if (fondPerdu.bottom > kFondPerduMaximum) {
    sADMBasic->MessageAlert(kAlerteFondPerdu);
    fondPerdu.bottom = kFondPerduMaximum;
  }
  if (EnDessous && fondLu) sDoc->SetDocumentBleeds(&fondPerdu);
}

}  // namespace

void OKNomDocCBP(ADMItemRef item, ADMNotifierRef notifier) {
  ADMDialogRef dialog = nullptr;
  try {
    dialog = sADMItem->GetDialog(item);
    sADMItem->DefaultNotify(item, notifier);
    sADMDialog->GetBoundsRect(dialog, &PosDialReglages);
  } catch (...) {
  }
  try {
    Estampille();
  } catch (...) {
    sADMBasic->ErrorAlert(kAlerteInterruption);
  }
  try {
    EnregistreReglages();
  } catch (...) {
  }
  sADMDialog->EndModal(dialog, 1, true);
}

void AnnulerNomDocCBP(ADMItemRef item, ADMNotifierRef notifier) {
  ADMDialogRef dialog = nullptr;
  try {
    dialog = sADMItem->GetDialog(item);
    sADMItem->DefaultNotify(item, notifier);
    sADMDialog->GetBoundsRect(dialog, &PosDialReglages);
  } catch (...) {
  }
  sADMDialog->EndModal(dialog, 1, true);
}
