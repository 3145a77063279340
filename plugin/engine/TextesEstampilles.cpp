// The stamped text frames: created in the stamp group and tagged, recorded in their item's
// list, moved to their anchor point and filled with their text and attributes.
#include <cstdint>

#include "engine/Moteur.h"
#include "host/IText.h"
#include "shell/DateSuites.h"
#include "shell/SysBeep.h"

namespace {

// Nodes come from the host's heap, like everything the plug-in allocates, and a refusal
// is an answer, not an exception.
MaillonAHTexte* AlloueMaillon() {
  if (sSPBasic == nullptr) return nullptr;
  void* bloc = nullptr;
  if (sSPBasic->AllocateBlock(sizeof(MaillonAHTexte), &bloc) != kNoErr) return nullptr;
  return static_cast<MaillonAHTexte*>(bloc);
}

void LibereMaillon(MaillonAHTexte* maillon) {
  if (sSPBasic != nullptr && maillon != nullptr) sSPBasic->FreeBlock(maillon);
}

// The tail of each of the four lists, so that recording a frame does not walk the list
// (which made stamping grow with the square of the artboards). Trusted only while its list
// has a head: a list found empty starts afresh, however it was emptied.
struct Queue {
  MaillonAHTexte* const* premier;
  MaillonAHTexte* dernier;
};
Queue Queues[] = {{&PtrPremierAHTexteNumero, nullptr},
                  {&PtrPremierAHTexteNom, nullptr},
                  {&PtrPremierAHTexteTaille, nullptr},
                  {&PtrPremierAHTexteDate, nullptr}};

Queue* QueueDe(MaillonAHTexte* const& premier) {
  for (Queue& queue : Queues)
    if (queue.premier == &premier) return &queue;
  return nullptr;
}

void VideListe(MaillonAHTexte*& premier) {
  if (Queue* queue = QueueDe(premier)) queue->dernier = nullptr;
  MaillonAHTexte* maillon = premier;
  while (maillon != nullptr) {
    MaillonAHTexte* suivant = maillon->Suivant;
    if (sAIArt->ValidArt(maillon->AHTexte, true)) sAIArt->DisposeArt(maillon->AHTexte);
    LibereMaillon(maillon);
    maillon = suivant;
  }
  premier = nullptr;
}

// The shared fill sequence of the four items.
ASErr Affichage(AIArtHandle art, const char* texte, double corps, int32_t numeroPolice,
                ATE::ParagraphJustification justification) {
  ATE::IParaFeatures paragraphe;
  ATE::ICharFeatures caracteres;
  if (!sAIArt->ValidArt(art, true)) return kNoErr;

  ATE::TextRangeRef reference = nullptr;
  ASErr erreur = sAITextFrame->GetATETextRange(art, &reference);
  if (erreur != kNoErr) return erreur;
  ATE::ITextRange plage(reference);
  plage.Remove();

  paragraphe.SetLeadingType(ATE::kRomanLeadingType);
  paragraphe.SetStartIndent(0.0f);
  paragraphe.SetFirstLineIndent(0.0f);
  caracteres.SetTracking(0);

  ATE::ApplicationPaintRef peinture = nullptr;
  erreur = sATEPaint->CreateATEApplicationPaint(&CouleurTexte, &peinture);
  // Without a paint the text keeps the engine's default fill.
  if (erreur == kNoErr && peinture != nullptr) caracteres.SetFillColor(ATE::IApplicationPaint(peinture));

  paragraphe.SetJustification(justification);
  caracteres.SetFontSize(static_cast<float>(corps));
  caracteres.SetBaselineShift(0.0f);

  // A font the host cannot give leaves the engine's default font in place.
  AIFontKey cle = nullptr;
  int64_t index = static_cast<int64_t>(numeroPolice) + KPOLICE;
  erreur = index >= 0 && index <= INT32_MAX ? sAIFont->IndexFontList(static_cast<int32_t>(index), &cle)
                                            : kBadParameterErr;
  if (erreur == kNoErr) {
    ATE::FontRef police = nullptr;
    erreur = sAIFont->FontFromFontKey(cle, &police);
    if (erreur == kNoErr && police != nullptr) caracteres.SetFont(ATE::IFont(police));
  }

  plage.InsertAfter(texte, -1, ATE::IFont());
  plage.SetLocalCharFeatures(caracteres);
  plage.SetLocalParaFeatures(paragraphe);
  return erreur;
}

}  // namespace

MaillonAHTexte* CreationTexteEstampille(MaillonAHTexte*& premier) {
  MaillonAHTexte* maillon = AlloueMaillon();
  if (maillon == nullptr) {
    SysBeep(1);
    return nullptr;
  }
  maillon->Suivant = nullptr;
  maillon->AHTexte = nullptr;
  Queue* queue = QueueDe(premier);
  if (premier == nullptr) {
    premier = maillon;
  } else {
    MaillonAHTexte* dernier = queue != nullptr && queue->dernier != nullptr ? queue->dernier : premier;
    while (dernier->Suivant != nullptr) dernier = dernier->Suivant;
    dernier->Suivant = maillon;
  }
  if (queue != nullptr) queue->dernier = maillon;

  AIRealPoint origine = {0.0f, 0.0f};
  AIArtHandle texte = nullptr;
  if (sAITextFrame->NewPointText(kPlaceInsideOnTop, AHGroupe, kHorizontalTextOrientation, origine, &texte) != kNoErr)
    texte = nullptr;
  // Only the tag lets a later run find a stamp once this process is gone: a frame that
  // cannot carry it would stay in the document for good, so it goes at once.
  if (texte != nullptr && sTag->SetTag(texte, kNomEtiquette, kTypeEtiquette, kValeurEtiquette) != kNoErr) {
    sAIArt->DisposeArt(texte);
    texte = nullptr;
  }
  maillon->AHTexte = texte;
  return maillon;
}

void DeplaceTexte(AIArtHandle art, const AIRealPoint& position) {
  AIRealPoint ancre = {0.0f, 0.0f};
  sAITextFrame->GetPointTextAnchor(art, &ancre);
  AIRealMatrix translation = {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
  sMath->AIRealMatrixSetTranslate(&translation, position.h - ancre.h, position.v - ancre.v);
  sAITransformArt->TransformArt(art, &translation, 0.0f, kTransformObjects);
}

ASErr AffichageNumero(AIArtHandle art) {
  return Affichage(art, TexteNumero, CorpsNom, NumeroPoliceNom, ATE::kRightJustify);
}

ASErr AffichageNomFichier(AIArtHandle art) {
  return Affichage(art, TexteNomFichier, CorpsNom, NumeroPoliceNom,
                   InfosSuperposees ? ATE::kCenterJustify : ATE::kRightJustify);
}

ASErr AffichageTexteTaille(AIArtHandle art) {
  return Affichage(art, TexteTaille, CorpsTaille, NumeroPoliceTaille, ATE::kCenterJustify);
}

ASErr AffichageTexteDate(AIArtHandle art) {
  return Affichage(art, TexteDate, CorpsDate, NumeroPoliceDate,
                   InfosSuperposees ? ATE::kCenterJustify : ATE::kLeftJustify);
}

void VideListesTextes() {
  VideListe(PtrPremierAHTexteNumero);
  VideListe(PtrPremierAHTexteNom);
  VideListe(PtrPremierAHTexteTaille);
  VideListe(PtrPremierAHTexteDate);
}
