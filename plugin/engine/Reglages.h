// The settings and the variables shared by the engine and the dialog, declared once with
// their defaults. Every variable starts as zero bytes when the plug-in is loaded; the
// defaults are set by code when the dialog opens.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapi/HostAPI.h"

// --- Settings kept in the host's preferences ---------------------------------------------
extern AIBoolean CaseAvecNumero;    // "AvecNum": the artboard number before the file name
extern AIBoolean CaseAvecNom;       // "AvecNom": the file name
extern AIBoolean CaseAvecTaille;    // "AvecTaille": the artboard size
extern AIBoolean CaseAvecDate;      // "AvecDate": the date
extern char NomPoliceNom[256];      // "PoliceNom": font of the name and number
extern char NomPoliceTaille[256];   // "PoliceTaille"
extern char NomPoliceDate[256];     // "PoliceDate"
extern double CorpsNom;             // "CorpsNom": point size of the name and number
extern double CorpsTaille;          // "CorpsTaille"
extern double CorpsDate;            // "CorpsDate"
extern int32_t FormatDate;          // "FormatDate": 0 long, 1 abbreviated, 2 numeric
extern AIBoolean InfosSuperposees;  // "InfosSuper": stacked lines rather than one line
extern AIBoolean InfosSurTousLesPlans;  // "TousPlans": every artboard rather than the active one
extern char Separateur[22];         // "Separateur": at most 20 characters
extern AIBoolean EnHaut;            // "EnHaut": at the top of the artboard
extern AIBoolean EnBas;             // "EnBas": at its bottom
extern AIBoolean EnDessous;         // "EnDessous": below it, in the bleed

constexpr AIBoolean kDefautCaseAvecNumero = true;
constexpr AIBoolean kDefautCaseAvecNom = true;
constexpr AIBoolean kDefautCaseAvecTaille = true;
constexpr AIBoolean kDefautCaseAvecDate = true;
constexpr double kDefautCorps = 12.0;
constexpr int32_t kDefautFormatDate = 0;
constexpr AIBoolean kDefautInfosSuperposees = true;
constexpr AIBoolean kDefautInfosSurTousLesPlans = true;
constexpr const char* kDefautSeparateur = " - ";
constexpr AIBoolean kDefautEnHaut = false;
constexpr AIBoolean kDefautEnBas = false;
constexpr AIBoolean kDefautEnDessous = true;

constexpr size_t kTailleNomPolice = 256;
constexpr size_t kTailleSeparateur = 22;
constexpr size_t kMaxCaracteresSeparateur = 20;

// Preference section and keys.
constexpr const char* kPrefixe = "QZVEstampillage";
constexpr const char* kCleAvecNum = "AvecNum";
constexpr const char* kCleAvecNom = "AvecNom";
constexpr const char* kCleAvecTaille = "AvecTaille";
constexpr const char* kCleAvecDate = "AvecDate";
constexpr const char* kClePoliceNom = "PoliceNom";
constexpr const char* kClePoliceTaille = "PoliceTaille";
constexpr const char* kClePoliceDate = "PoliceDate";
constexpr const char* kCleCorpsNom = "CorpsNom";
constexpr const char* kCleCorpsTaille = "CorpsTaille";
constexpr const char* kCleCorpsDate = "CorpsDate";
constexpr const char* kCleFormatDate = "FormatDate";
constexpr const char* kCleInfosSuper = "InfosSuper";
constexpr const char* kCleTousPlans = "TousPlans";
constexpr const char* kCleSeparateur = "Separateur";
constexpr const char* kCleEnHaut = "EnHaut";
constexpr const char* kCleEnBas = "EnBas";
constexpr const char* kCleEnDessous = "EnDessous";

// --- Shared variables, not stored ---------------------------------------------------------
extern int32_t NumeroPoliceNom;     // index of the chosen font in the host's font list
extern int32_t NumeroPoliceTaille;
extern int32_t NumeroPoliceDate;
extern int32_t KPOLICE;             // offset from a list position to a font index; always 0
extern AIColor CouleurTexte;        // fill of every stamped text: CMYK 1, 1, 1, 1
extern ADMRect PosDialReglages;     // the settings dialog's bounds on the screen
extern int32_t NbrPlans;            // artboards of the document being stamped
extern AIArtHandle AHGroupe;        // the stamp group

constexpr int16_t kLargeurDialogue = 450;
constexpr int16_t kHauteurDialogue = 280;

// A node of the lists of stamped text frames.
struct MaillonAHTexte {
  MaillonAHTexte* Suivant;
  AIArtHandle AHTexte;
};
extern MaillonAHTexte* PtrPremierAHTexteNumero;
extern MaillonAHTexte* PtrPremierAHTexteNom;
extern MaillonAHTexte* PtrPremierAHTexteTaille;
extern MaillonAHTexte* PtrPremierAHTexteDate;

// Info-text buffers and the anchor points of their frames.
extern char TexteNomFichier[256];
extern char TexteNumero[14];
extern char TexteTaille[100];
extern char TexteDate[64];
extern AIRealPoint PositionTexteNumero;
extern AIRealPoint PositionTexteNomFichier;
extern AIRealPoint PositionTexteTaille;
extern AIRealPoint PositionTexteDate;

// --- Loading and storing ----------------------------------------------------------------
// The starting font (index 0 of the host's list) into the three font names, then the text
// colour. Non-zero when the host cannot give the font: the dialog is then not built.
ASErr ChargePoliceDeDepart();
// Each reader sets the default, then reads the key; a missing key keeps the default.
void LitBooleen(const char* cle, AIBoolean& variable, AIBoolean defaut);
void LitReel(const char* cle, double& variable, double defaut);
void LitFormatDate();                                  // a stored value outside 0..2 reads as 0
void LitPolice(const char* cle, char (&nom)[kTailleNomPolice]);  // keeps the starting font when missing
void LitSeparateur();                                  // no default first; empty becomes " - "
// Stores every setting, in the host's order of keys.
void EnregistreReglages();
// Every variable above back to zero bytes, as when the plug-in is loaded.
void RemetAZero();
// Copies a font name of any length into a font-name variable, cut to fit.
void CopieNomPolice(char (&destination)[kTailleNomPolice], const char* source);
