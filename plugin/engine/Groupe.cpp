// The stamp layer and the group that holds one stamping run's text frames.
#include "engine/Moteur.h"
#include "host/IAIUnicodeString.h"
#include "shell/DateSuites.h"

namespace {

constexpr const char* kTitreCalque = "QZV\xA5" "Estampilleur";                   // "QZV•Estampilleur"
constexpr const char* kCalqueVerrouille = "Impossible, le calque est verrouill\x8E.";  // "...verrouillé."

// The groups of earlier runs, emptied by the removal of their stamps, among the layer's
// top-level art. The plug-in knows the group it made only while loaded, so each fresh start
// would otherwise leave one more behind. Groups that hold anything stay, as does whatever
// the host cannot tell about.
void SupprimeGroupesVides(AIArtHandle calque) {
  AIArtHandle art = nullptr;
  if (calque == nullptr || sAIArt->GetArtFirstChild(calque, &art) != kNoErr) return;
  while (art != nullptr) {
    AIArtHandle suivant = nullptr;
    if (sAIArt->GetArtSibling(art, &suivant) != kNoErr) suivant = nullptr;
    int16_t type = kUnknownArt;
    AIArtHandle premierEnfant = nullptr;
    if (sAIArt->GetArtType(art, &type) == kNoErr && type == kGroupArt &&
        sAIArt->GetArtFirstChild(art, &premierEnfant) == kNoErr && premierEnfant == nullptr)
      sAIArt->DisposeArt(art);
    art = suivant;
  }
}

}  // namespace

ASErr CreationGroupe() {
  ai::UnicodeString titreEstampille(kTitreCalque, kAIPlatformCharacterEncoding);
  ai::UnicodeString titre;

  // The stamp layer is the first layer with the stamp title.
  ASErr erreur = kNoErr;
  AILayerHandle calqueEstampille = nullptr;
  int32_t nombreCalques = 0;
  erreur = sLayer->CountLayers(&nombreCalques);
  for (int32_t i = 0; i < nombreCalques; ++i) {
    AILayerHandle calque = nullptr;
    erreur = sLayer->GetNthLayer(i, &calque);
    erreur = sLayer->GetLayerTitle(calque, titre.GetHandleAddress());
    if (sAIUnicodeString->Compare(titre.GetHandle(), titreEstampille.GetHandle()) == 0) {
      AIBoolean modifiable = false;
      erreur = sLayer->GetLayerEditable(calque, &modifiable);
      if (!modifiable) {
        sADMBasic->MessageAlert(kCalqueVerrouille);
        return kErreurCalqueVerrouille;
      }
      calqueEstampille = calque;
      break;
    }
  }

  if (calqueEstampille == nullptr) {
    AILayerHandle courant = nullptr;
    erreur = sLayer->GetCurrentLayer(&courant);
    // A locked current layer refuses the run: it must not leave an empty stamp layer behind.
    if (courant != nullptr) {
      AIBoolean courantModifiable = true;
      erreur = sLayer->GetLayerEditable(courant, &courantModifiable);
      if (!courantModifiable) {
        sADMBasic->MessageAlert(kCalqueVerrouille);
        return kErreurCalqueVerrouille;
      }
    }
    erreur = sLayer->InsertLayer(courant, kPlaceAboveAll, &calqueEstampille);
    erreur = sLayer->SetLayerTitle(calqueEstampille, titreEstampille.GetHandle());
  }

  // New art goes through the current layer too: it must accept it.
  AILayerHandle courant = nullptr;
  erreur = sLayer->GetCurrentLayer(&courant);
  AIBoolean courantModifiable = false;
  erreur = sLayer->GetLayerEditable(courant, &courantModifiable);
  if (!courantModifiable) {
    sADMBasic->MessageAlert(kCalqueVerrouille);
    return kErreurCalqueVerrouille;
  }

  AIArtHandle reference = nullptr;
  erreur = sAIArt->GetFirstArtOfLayer(calqueEstampille, &reference);

  // The previous group goes once its stamps are gone; one the user filled stays, and so
  // does one whose content the host could not tell.
  if (sAIArt->ValidArt(AHGroupe, true)) {
    AIArtHandle premierEnfant = nullptr;
    erreur = sAIArt->GetArtFirstChild(AHGroupe, &premierEnfant);
    if (erreur == kNoErr && premierEnfant == nullptr && sAIArt->ValidArt(AHGroupe, true))
      erreur = sAIArt->DisposeArt(AHGroupe);
  }
  SupprimeGroupesVides(reference);

  AIArtHandle groupe = nullptr;
  erreur = sAIArt->NewArt(kGroupArt, kPlaceInsideOnTop, reference, &groupe);
  if (erreur == kNoErr) AHGroupe = groupe;
  return erreur;
}
