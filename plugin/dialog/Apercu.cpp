// The schematic preview: one or two sample artboards, the placeholder words where the
// current settings put the texts, and the bleed outline when they go below. It reads only
// the settings, never the document, and keeps no state between draws.
#include "dialog/DateDialogue.h"
#include "engine/Reglages.h"
#include "shell/DateSuites.h"

namespace {

constexpr int16_t kPas = 12;  // height of a stacked line, and of the one-line bleed
constexpr int16_t kLargeur = 123;

constexpr ADMRect kPlanSeul{0, 0, 143, kLargeur};
constexpr ADMRect kPlanHaut{0, 0, 51, kLargeur};
constexpr ADMRect kPlanBas{92, 0, 143, kLargeur};

enum class Plan { Seul, Haut, Bas };
enum class Position { Haut, Bas, Dessous };

Position PositionChoisie() {
  if (EnDessous) return Position::Dessous;
  if (EnBas) return Position::Bas;
  return Position::Haut;
}

int16_t NombreAffiches(bool nom, bool taille, bool date) {
  return static_cast<int16_t>((nom ? 1 : 0) + (taille ? 1 : 0) + (date ? 1 : 0));
}

// Top of the first stacked line.
int16_t HautPremiereLigne(Plan plan, Position position, int16_t n) {
  switch (position) {
    case Position::Haut:
      return plan == Plan::Bas ? 91 : 0;
    case Position::Bas:
      if (plan == Plan::Haut) return n == 1 ? 37 : static_cast<int16_t>(50 - kPas * n);
      return static_cast<int16_t>(142 - kPas * n);
    case Position::Dessous:
      return plan == Plan::Haut ? 50 : 142;
  }
  return 0;
}

// Baseline of the single line.
int16_t LigneDeBase(Plan plan, Position position) {
  switch (position) {
    case Position::Haut:
      return plan == Plan::Bas ? 103 : 11;
    case Position::Bas:
      return plan == Plan::Haut ? 48 : 140;
    case Position::Dessous:
      return plan == Plan::Haut ? 61 : 153;
  }
  return 0;
}

// The name line when stacked: the sample numbers are fixed by the layout, not counted.
const char* LigneNom(Plan plan, Position position, bool seul) {
  if (!(CaseAvecNumero && CaseAvecNom)) return "Nom";
  if (seul && position == Position::Haut) return plan == Plan::Bas ? "2/2 Nom" : "1/2 Nom";
  return plan == Plan::Haut ? "2/2 Nom" : "1/2 Nom";
}

// The number label on one line, or null when none is shown.
const char* NumeroSurUneLigne(Plan plan, bool taille, bool date) {
  if (!(CaseAvecNumero && CaseAvecNom)) return nullptr;
  const bool tous = taille && date;
  if (plan == Plan::Haut) return tous ? "2/2" : "1/2";
  return tous ? "1/2" : "2/2";
}

void TexteCentre(ADMDrawerRef drawer, const char* texte, int16_t haut) {
  const ADMRect ligne{haut, 0, static_cast<int16_t>(haut + kPas), kLargeur};
  sADMDrawer->DrawTextCentered(drawer, texte, &ligne);
}

void Texte(ADMDrawerRef drawer, const char* texte, int16_t v, int16_t h) {
  const ADMPoint point{v, h};
  sADMDrawer->DrawText(drawer, texte, &point);
}

void TraceTextesDUnPlan(ADMDrawerRef drawer, Plan plan, bool nom, bool taille, bool date) {
  const Position position = PositionChoisie();
  const int16_t n = NombreAffiches(nom, taille, date);
  if (InfosSuperposees) {
    int16_t haut = HautPremiereLigne(plan, position, n);
    if (nom) {
      TexteCentre(drawer, LigneNom(plan, position, n == 1), haut);
      haut = static_cast<int16_t>(haut + kPas);
    }
    if (taille) {
      TexteCentre(drawer, "Taille", haut);
      haut = static_cast<int16_t>(haut + kPas);
    }
    if (date) TexteCentre(drawer, "Date", haut);
    return;
  }
  const int16_t v = LigneDeBase(plan, position);
  if (nom) {
    if (const char* numero = NumeroSurUneLigne(plan, taille, date)) Texte(drawer, numero, v, 3);
    Texte(drawer, "Nom", v, 24);
  }
  if (taille) Texte(drawer, "Taille", v, 57);
  if (date) Texte(drawer, "Date", v, 94);
}

void TracePlan(ADMDrawerRef drawer, const ADMRect& plan, int16_t fondPerdu) {
  sADMDrawer->SetADMColor(drawer, kADMBlackColor);
  sADMDrawer->FrameRect(drawer, &plan);
  sADMDrawer->SetADMColor(drawer, kADMWhiteColor);
  const ADMRect interieur{static_cast<int16_t>(plan.top + 1), static_cast<int16_t>(plan.left + 1),
                          static_cast<int16_t>(plan.bottom - 1), static_cast<int16_t>(plan.right - 1)};
  sADMDrawer->FillRect(drawer, &interieur);
  if (!EnDessous) return;
  sADMDrawer->SetADMColor(drawer, kADMRedColor);
  const int16_t b = plan.bottom;
  const int16_t fond = static_cast<int16_t>(b + fondPerdu);
  const int16_t droite = static_cast<int16_t>(plan.right - 1);
  const ADMPoint hautGauche{b, 0}, hautDroite{b, droite}, basGauche{fond, 0}, basDroite{fond, droite};
  sADMDrawer->DrawLine(drawer, &hautGauche, &basGauche);
  sADMDrawer->DrawLine(drawer, &hautDroite, &basDroite);
  sADMDrawer->DrawLine(drawer, &basGauche, &basDroite);
}

// The depth of the bleed outline: 12 per stacked line, one line of 12 when the items run
// on one line, 0 with nothing shown.
int16_t ProfondeurFondPerdu() {
  const int16_t n = NombreAffiches(CaseAvecNom, CaseAvecTaille, CaseAvecDate);
  if (InfosSuperposees) return static_cast<int16_t>(kPas * n);
  return n >= 1 ? kPas : 0;
}

}  // namespace

void ZoneDessinDansDialogueDraw(ADMItemRef, ADMDrawerRef drawer) {
  try {
    sADMDrawer->Clear(drawer);
    TraceDocumentEtFondPerduDraw(drawer, ProfondeurFondPerdu());
    if (CaseAvecNom || CaseAvecTaille || CaseAvecDate) TraceTexteDraw(drawer, CaseAvecNom, CaseAvecTaille, CaseAvecDate);
  } catch (...) {
  }
}

void TraceDocumentEtFondPerduDraw(ADMDrawerRef drawer, int16_t fondPerdu) {
  try {
    if (InfosSurTousLesPlans) {
      TracePlan(drawer, kPlanHaut, fondPerdu);
      TracePlan(drawer, kPlanBas, fondPerdu);
    } else {
      TracePlan(drawer, kPlanSeul, fondPerdu);
    }
  } catch (...) {
  }
}

void TraceTexteDraw(ADMDrawerRef drawer, ASBoolean avecNom, ASBoolean avecTaille, ASBoolean avecDate) {
  try {
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->SetFont(drawer, kADMPaletteFont);
    if (InfosSurTousLesPlans) {
      TraceTextesDUnPlan(drawer, Plan::Haut, avecNom, avecTaille, avecDate);
      TraceTextesDUnPlan(drawer, Plan::Bas, avecNom, avecTaille, avecDate);
    } else {
      TraceTextesDUnPlan(drawer, Plan::Seul, avecNom, avecTaille, avecDate);
    }
  } catch (...) {
  }
}

void CorpsEstampillageDraw(ADMItemRef, ADMDrawerRef drawer) {
  ADMIconRef icone = nullptr;
  try {
    SPPluginRef plugin = nullptr;
    if (sSPAccess->GetCurrentPlugin(&plugin) == kNoErr && plugin != nullptr)
      icone = sADMIcon2->GetFromResource(plugin, kIconeCorps, 0);
    if (icone != nullptr) {
      const ADMPoint coin{0, 0};
      sADMDrawer->DrawIcon(drawer, icone, &coin);
    }
  } catch (...) {
  }
  // Fetched for each draw and given back at once, so no icon outlives the dialog.
  if (icone != nullptr) sADMIcon2->Destroy(icone);
}
