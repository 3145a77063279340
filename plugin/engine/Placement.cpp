// One artboard's stamps: four frames, their anchor points from the artboard's rectangle,
// the position, the layout and the point sizes, and the depth they need below it.
//
// Widths and gaps are float differences; products and sums with a size, a factor or one
// half are formed in double; every anchor is stored as a float. The factors are floats too.
#include "engine/Moteur.h"
#include "host/IAIArtboards.h"
#include "shell/DateSuites.h"

namespace {

constexpr float kInterligne = 1.2f;   // a line's height for its point size
constexpr float kFondPerdu = 1.4f;    // the bleed's depth for the sizes below the artboard

struct Ligne {
  AIRealPoint* position;
  double corps;
  bool montree;
};

// The vertical anchors (and, stacked, the horizontal ones) of the name, size and date
// lines; returns the bleed the texts need below the artboard.
AIReal PlaceLignes(const AIRealRect& plan) {
  Ligne lignes[3] = {{&PositionTexteNomFichier, CorpsNom, CaseAvecNom != 0},
                     {&PositionTexteTaille, CorpsTaille, CaseAvecTaille != 0},
                     {&PositionTexteDate, CorpsDate, CaseAvecDate != 0}};
  const double interligne = kInterligne;
  const double fondPerdu = kFondPerdu;
  const float centre = PositionTexteTaille.h;

  if (InfosSuperposees) {
    double total = 0.0;
    for (const Ligne& ligne : lignes)
      if (ligne.montree) total += ligne.corps;

    double dessus = 0.0;  // sizes of this shown line and the ones above it
    for (int i = 0; i < 3; ++i) {
      Ligne& ligne = lignes[i];
      if (!ligne.montree) {
        if (ligne.position != &PositionTexteTaille) ligne.position->h = 0.0f;
        ligne.position->v = 0.0f;
        continue;
      }
      dessus += ligne.corps;
      double dessous = 0.0;  // sizes of this shown line and the ones below it
      for (int j = i; j < 3; ++j)
        if (lignes[j].montree) dessous += lignes[j].corps;

      ligne.position->h = centre;
      if (EnDessous)
        ligne.position->v = static_cast<float>(plan.bottom - interligne * dessus);
      else if (EnBas)
        ligne.position->v = static_cast<float>(plan.bottom + interligne * dessous);
      else
        ligne.position->v = static_cast<float>(plan.top - interligne * dessus);
    }
    return EnDessous ? static_cast<float>(fondPerdu * total) : 0.0f;
  }

  double plusGrand = 0.0;
  for (const Ligne& ligne : lignes)
    if (ligne.montree && ligne.corps > plusGrand) plusGrand = ligne.corps;

  float ligneDeBase;
  if (EnDessous)
    ligneDeBase = static_cast<float>(plan.bottom - interligne * plusGrand);
  else if (EnBas)
    ligneDeBase = static_cast<float>(plan.bottom + interligne * plusGrand);
  else
    ligneDeBase = static_cast<float>(plan.top - interligne * plusGrand);
  for (const Ligne& ligne : lignes) ligne.position->v = ligne.montree ? ligneDeBase : 0.0f;
  return EnDessous ? static_cast<float>(fondPerdu * plusGrand) : 0.0f;
}

float Largeur(AIArtHandle art) {
  AIRealRect bornes = {};
  sAIArt->GetArtBounds(art, &bornes);
  return bornes.right - bornes.left;
}

}  // namespace

AIReal CalculeInfosPourUnPlan(long index) {
  ai::ArtboardList plans;
  ai::ArtboardProperties proprietes;

  // An index that names no artboard has nothing to stamp.
  int32_t nombrePlans = 0;
  sAIArtboard->GetCount(plans.GetHandle(), &nombrePlans);
  if (index < 0 || index >= nombrePlans) return 0.0f;

  MaillonAHTexte* numero = CreationTexteEstampille(PtrPremierAHTexteNumero);
  if (numero == nullptr) return 0.0f;
  MaillonAHTexte* taille = CreationTexteEstampille(PtrPremierAHTexteTaille);
  if (taille == nullptr) return 0.0f;
  MaillonAHTexte* nom = CreationTexteEstampille(PtrPremierAHTexteNom);
  if (nom == nullptr) return 0.0f;
  MaillonAHTexte* date = CreationTexteEstampille(PtrPremierAHTexteDate);
  if (date == nullptr) return 0.0f;

  ASErr erreur = sAIArtboard->GetArtboardProperties(plans.GetHandle(), static_cast<int32_t>(index),
                                                    proprietes.GetHandle());
  AIRealRect plan = {};
  erreur = sAIArtboard->GetPosition(proprietes.GetHandle(), &plan);

  float largeurPlan = plan.right - plan.left;
  PositionTexteTaille.h = static_cast<float>(plan.left + 0.5 * largeurPlan);
  AIReal fondPerdu = PlaceLignes(plan);

  // The size first: on one line the name ends at its left edge and the date starts at its
  // right edge, whether the size is shown or not.
  DeplaceTexte(taille->AHTexte, PositionTexteTaille);
  TrouveTaille(TexteTaille, index);
  erreur = AffichageTexteTaille(taille->AHTexte);
  if (!InfosSuperposees) {
    float largeurTaille = Largeur(taille->AHTexte);
    PositionTexteNomFichier.h = static_cast<float>(PositionTexteTaille.h - 0.5 * largeurTaille);
    PositionTexteDate.h = static_cast<float>(PositionTexteTaille.h + 0.5 * largeurTaille);
  }

  // The right-aligned number ends where the name's text begins.
  DeplaceTexte(nom->AHTexte, PositionTexteNomFichier);
  TrouveNomFichier(TexteNomFichier);
  erreur = AffichageNomFichier(nom->AHTexte);
  PositionTexteNumero.v = PositionTexteNomFichier.v;
  float largeurNom = Largeur(nom->AHTexte);
  if (InfosSuperposees)
    PositionTexteNumero.h = static_cast<float>(PositionTexteNomFichier.h - 0.5 * largeurNom);
  else
    PositionTexteNumero.h = PositionTexteNomFichier.h - largeurNom;

  DeplaceTexte(numero->AHTexte, PositionTexteNumero);
  TrouveNumero(index, TexteNumero);
  erreur = AffichageNumero(numero->AHTexte);

  DeplaceTexte(date->AHTexte, PositionTexteDate);
  TrouveDate(TexteDate);
  erreur = AffichageTexteDate(date->AHTexte);
  (void)erreur;

  // The number belongs to the file name's line: without the name it has nothing to count.
  if (!CaseAvecNumero || !CaseAvecNom) sAIArt->DisposeArt(numero->AHTexte);
  if (!CaseAvecNom) sAIArt->DisposeArt(nom->AHTexte);
  if (!CaseAvecTaille) sAIArt->DisposeArt(taille->AHTexte);
  if (!CaseAvecDate) sAIArt->DisposeArt(date->AHTexte);

  return fondPerdu;
}
