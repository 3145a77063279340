// The settings, the variables shared by the engine and the dialog, and their round trip
// through the host's preferences.
#include "engine/Reglages.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "shell/DateSuites.h"

// --- Settings kept in the host's preferences ---------------------------------------------
AIBoolean CaseAvecNumero;
AIBoolean CaseAvecNom;
AIBoolean CaseAvecTaille;
AIBoolean CaseAvecDate;
char NomPoliceNom[256];
char NomPoliceTaille[256];
char NomPoliceDate[256];
double CorpsNom;
double CorpsTaille;
double CorpsDate;
int32_t FormatDate;
AIBoolean InfosSuperposees;
AIBoolean InfosSurTousLesPlans;
char Separateur[22];
AIBoolean EnHaut;
AIBoolean EnBas;
AIBoolean EnDessous;

// --- Shared variables, not stored ---------------------------------------------------------
int32_t NumeroPoliceNom;
int32_t NumeroPoliceTaille;
int32_t NumeroPoliceDate;
int32_t KPOLICE;
AIColor CouleurTexte;
ADMRect PosDialReglages;
int32_t NbrPlans;
AIArtHandle AHGroupe;

MaillonAHTexte* PtrPremierAHTexteNumero;
MaillonAHTexte* PtrPremierAHTexteNom;
MaillonAHTexte* PtrPremierAHTexteTaille;
MaillonAHTexte* PtrPremierAHTexteDate;

char TexteNomFichier[256];
char TexteNumero[14];
char TexteTaille[100];
char TexteDate[64];
AIRealPoint PositionTexteNumero;
AIRealPoint PositionTexteNomFichier;
AIRealPoint PositionTexteTaille;
AIRealPoint PositionTexteDate;

namespace {

// The smallest point size the dialog's fields accept.
constexpr double kCorpsMinimum = 0.1;

// The font suite writes names of up to 1023 bytes and a terminator.
constexpr int16_t kTailleNomPoliceHote = 1024;

// A name of the starting font, cut to fit a font-name variable.
ASErr CopieNomPoliceDeDepart(AIFontKey police, char (&destination)[kTailleNomPolice]) {
  char nom[kTailleNomPoliceHote] = {};
  ASErr erreur = sAIFont->GetFontName(police, nom, kTailleNomPoliceHote);
  if (erreur != kNoErr) return erreur;
  nom[kTailleNomPoliceHote - 1] = '\0';
  CopieNomPolice(destination, nom);
  return kNoErr;
}

}  // namespace

void CopieNomPolice(char (&destination)[kTailleNomPolice], const char* source) {
  if (source == nullptr) {
    destination[0] = '\0';
    return;
  }
  size_t longueur = strnlen(source, kTailleNomPolice - 1);
  memcpy(destination, source, longueur);
  destination[longueur] = '\0';
}

ASErr ChargePoliceDeDepart() {
  AIFontKey police = nullptr;
  ASErr erreur = sAIFont->IndexFontList(0, &police);
  if (erreur != kNoErr) return erreur;
  erreur = CopieNomPoliceDeDepart(police, NomPoliceNom);
  if (erreur != kNoErr) return erreur;
  erreur = CopieNomPoliceDeDepart(police, NomPoliceTaille);
  if (erreur != kNoErr) return erreur;
  erreur = CopieNomPoliceDeDepart(police, NomPoliceDate);
  if (erreur != kNoErr) return erreur;

  CouleurTexte = {};
  CouleurTexte.kind = kFourColor;
  CouleurTexte.c.f = {1.0f, 1.0f, 1.0f, 1.0f};
  return kNoErr;
}

void LitBooleen(const char* cle, AIBoolean& variable, AIBoolean defaut) {
  variable = defaut;
  sAIPreference->GetBooleanPreference(kPrefixe, cle, &variable);
  // A damaged entry may hold any byte; the settings are 0 or 1.
  variable = variable != 0;
}

void LitReel(const char* cle, double& variable, double defaut) {
  variable = defaut;
  sAIPreference->GetRealPreference(kPrefixe, cle, &variable);
  // A damaged entry: a point size the dialog's field could not hold (under its 0.1 pt, or
  // beyond single precision) would make every text refuse its size, so the default stands.
  if (!std::isfinite(variable) || variable < kCorpsMinimum || variable > std::numeric_limits<float>::max())
    variable = defaut;
}

void LitFormatDate() {
  FormatDate = kDefautFormatDate;
  sAIPreference->GetIntegerPreference(kPrefixe, kCleFormatDate, &FormatDate);
  if (FormatDate < 0 || FormatDate > 2) FormatDate = kDefautFormatDate;
}

void LitPolice(const char* cle, char (&nom)[kTailleNomPolice]) {
  sAIPreference->GetStringPreference(kPrefixe, cle, nom, kTailleNomPolice);
  nom[kTailleNomPolice - 1] = '\0';
}

void LitSeparateur() {
  // Room for the 20 characters the dialog allows, whatever the stored entry holds.
  sAIPreference->GetStringPreference(kPrefixe, kCleSeparateur, Separateur, kMaxCaracteresSeparateur + 1);
  Separateur[kMaxCaracteresSeparateur] = '\0';
  Separateur[kTailleSeparateur - 1] = '\0';
  if (Separateur[0] == '\0') strcpy(Separateur, kDefautSeparateur);
}

void EnregistreReglages() {
  sAIPreference->PutStringPreference(kPrefixe, kClePoliceNom, NomPoliceNom);
  sAIPreference->PutStringPreference(kPrefixe, kClePoliceTaille, NomPoliceTaille);
  sAIPreference->PutStringPreference(kPrefixe, kClePoliceDate, NomPoliceDate);
  sAIPreference->PutRealPreference(kPrefixe, kCleCorpsNom, CorpsNom);
  sAIPreference->PutRealPreference(kPrefixe, kCleCorpsTaille, CorpsTaille);
  sAIPreference->PutRealPreference(kPrefixe, kCleCorpsDate, CorpsDate);
  sAIPreference->PutIntegerPreference(kPrefixe, kCleFormatDate, FormatDate);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleInfosSuper, InfosSuperposees);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleTousPlans, InfosSurTousLesPlans);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleAvecNum, CaseAvecNumero);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleAvecNom, CaseAvecNom);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleAvecTaille, CaseAvecTaille);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleAvecDate, CaseAvecDate);
  Separateur[kMaxCaracteresSeparateur] = '\0';
  Separateur[kTailleSeparateur - 1] = '\0';
  sAIPreference->PutStringPreference(kPrefixe, kCleSeparateur, Separateur);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleEnHaut, EnHaut);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleEnBas, EnBas);
  sAIPreference->PutBooleanPreference(kPrefixe, kCleEnDessous, EnDessous);
}

void RemetAZero() {
  CaseAvecNumero = CaseAvecNom = CaseAvecTaille = CaseAvecDate = 0;
  std::memset(NomPoliceNom, 0, sizeof NomPoliceNom);
  std::memset(NomPoliceTaille, 0, sizeof NomPoliceTaille);
  std::memset(NomPoliceDate, 0, sizeof NomPoliceDate);
  CorpsNom = CorpsTaille = CorpsDate = 0.0;
  FormatDate = 0;
  InfosSuperposees = InfosSurTousLesPlans = 0;
  std::memset(Separateur, 0, sizeof Separateur);
  EnHaut = EnBas = EnDessous = 0;
  NumeroPoliceNom = NumeroPoliceTaille = NumeroPoliceDate = KPOLICE = 0;
  CouleurTexte = {};
  PosDialReglages = {};
  NbrPlans = 0;
  AHGroupe = nullptr;
  PtrPremierAHTexteNumero = PtrPremierAHTexteNom = PtrPremierAHTexteTaille = PtrPremierAHTexteDate = nullptr;
  std::memset(TexteNomFichier, 0, sizeof TexteNomFichier);
  std::memset(TexteNumero, 0, sizeof TexteNumero);
  std::memset(TexteTaille, 0, sizeof TexteTaille);
  std::memset(TexteDate, 0, sizeof TexteDate);
  PositionTexteNumero = PositionTexteNomFichier = PositionTexteTaille = PositionTexteDate = {};
}
