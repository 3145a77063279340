// The settings dialog: its construction, the procedures the host calls for its items, the
// OK and Cancel handlers and the preview. Every procedure here is called by the host inside
// the modal loop and never lets an exception pass back into it.
#pragma once

#include <cstdint>

#include "hostapi/HostAPI.h"

// --- Item IDs -------------------------------------------------------------------------
constexpr int32_t kIdOK = 1;
constexpr int32_t kIdAnnuler = 2;
constexpr int32_t kIdPoliceNom = 3;
constexpr int32_t kIdPoliceTaille = 4;
constexpr int32_t kIdPoliceDate = 5;
constexpr int32_t kIdCorpsNom = 6;
constexpr int32_t kIdCorpsTaille = 7;
constexpr int32_t kIdCorpsDate = 8;
constexpr int32_t kIdMotCorpsNom = 9;
constexpr int32_t kIdMotCorpsTaille = 10;
constexpr int32_t kIdMotCorpsDate = 11;
constexpr int32_t kIdFormatDate = 12;
constexpr int32_t kIdCaseNom = 13;
constexpr int32_t kIdCaseTaille = 14;
constexpr int32_t kIdCaseDate = 15;
constexpr int32_t kIdInfosSuperposees = 16;
constexpr int32_t kIdTousLesPlans = 17;
constexpr int32_t kIdApercu = 18;
constexpr int32_t kIdSeparateur = 19;
constexpr int32_t kIdMotSeparateur = 20;
constexpr int32_t kIdCaseNumero = 21;
constexpr int32_t kIdEnHaut = 22;
constexpr int32_t kIdEnBas = 23;
constexpr int32_t kIdEnDessous = 24;

constexpr int32_t kNombreFormatsDate = 3;

// The whole-font-name buffer: the host's names may be up to 1023 bytes.
constexpr int16_t kTailleTamponPolice = 1024;

// Icon of the three small buttons beside the point sizes.
constexpr int32_t kIconeCorps = 1000;

// --- Construction (DateDialogue.cpp) ------------------------------------------------------
// The modal dialog's init procedure: loads the settings and builds the 24 items. Always 0.
ASErr ValeursDefautDialogue(ADMDialogRef dialog);
// Fills a font list with the host's fonts, selects the one named `nom` and returns its position.
int32_t RechercheNomsPolices(ADMItemRef item, const char* nom);

// --- OK and Cancel (OKAnnuler.cpp) ---------------------------------------------------------
// OK's stamping: removes the earlier stamps, stamps the artboards and sets the bottom bleed.
void Estampille();

// --- Item callbacks (DateDialogueCBP.cpp) -------------------------------------------------
void ActiveZones(ADMDialogRef dialog);
int32_t NumeroEntreeMenu(ADMItemRef item);
void MotPlusCBP(ADMItemRef item, int16_t id);

void CaseNumeroPlanCBP(ADMItemRef item, ADMNotifierRef notifier);
void CaseAvecNomCBP(ADMItemRef item, ADMNotifierRef notifier);
void CaseAvecTailleCBP(ADMItemRef item, ADMNotifierRef notifier);
void CaseAvecDateCBP(ADMItemRef item, ADMNotifierRef notifier);
void CaseInfosSuperposeesCBP(ADMItemRef item, ADMNotifierRef notifier);
void CaseInfosSurTousLesPlansCBP(ADMItemRef item, ADMNotifierRef notifier);
void NomsPolicesNomCBP(ADMItemRef item, ADMNotifierRef notifier);
void NomsPolicesTailleCBP(ADMItemRef item, ADMNotifierRef notifier);
void NomsPolicesDateCBP(ADMItemRef item, ADMNotifierRef notifier);
void CorpsNomCBP(ADMItemRef item, ADMNotifierRef notifier);
void CorpsTailleCBP(ADMItemRef item, ADMNotifierRef notifier);
void CorpsDateCBP(ADMItemRef item, ADMNotifierRef notifier);
void ListeFormatsDateCBP(ADMItemRef item, ADMNotifierRef notifier);
void SeparateurCBP(ADMItemRef item, ADMNotifierRef notifier);
void EnHautEnBasEnDessousCBP(ADMItemRef item, ADMNotifierRef notifier);
void MotCBP(ADMItemRef item, ADMNotifierRef notifier);

// Separator field: enabled when a separator can stand between two shown items.
bool SeparateurUtile();

// Tooltip texts of the check boxes, after their setting.
const char* BulleCaseNumero(bool coche);
const char* BulleCaseNom(bool coche);
const char* BulleCaseTaille(bool coche);
const char* BulleCaseDate(bool coche);
const char* BulleInfosSuperposees(bool coche);
const char* BulleTousLesPlans(bool coche);

// --- OK and Cancel (OKAnnuler.cpp) --------------------------------------------------------
void OKNomDocCBP(ADMItemRef item, ADMNotifierRef notifier);
void AnnulerNomDocCBP(ADMItemRef item, ADMNotifierRef notifier);

// --- Preview (Apercu.cpp) -----------------------------------------------------------------
void ZoneDessinDansDialogueDraw(ADMItemRef item, ADMDrawerRef drawer);
void TraceDocumentEtFondPerduDraw(ADMDrawerRef drawer, int16_t fondPerdu);
void TraceTexteDraw(ADMDrawerRef drawer, ASBoolean avecNom, ASBoolean avecTaille, ASBoolean avecDate);
void CorpsEstampillageDraw(ADMItemRef item, ADMDrawerRef drawer);
