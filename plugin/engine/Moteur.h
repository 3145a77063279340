// The stamping engine: number formatting, info texts, the stamp layer and group, the text
// frames and the placement of one artboard's stamps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/Reglages.h"

// The decimal text of value rounded to `decimales` places (a decimal comma), written into
// buffer of `capacite` bytes, never past it; returns the number of characters written.
int NombreEnChaine(float valeur, char decimales, char* buffer, size_t capacite);

// The four info texts of artboard `index` (from 0), each into its global buffer: the
// destination holds as many bytes as that buffer (TexteNomFichier, TexteNumero, TexteTaille,
// TexteDate) and is never written past them.
void TrouveNomFichier(char* destination);
void TrouveNumero(long index, char* destination);
void TrouveTaille(char* destination, long index);
char* TrouveDate(char* destination);

// The stamp tag.
constexpr const char* kNomEtiquette = "QZVNOM";
constexpr const char* kTypeEtiquette = "string";
constexpr const char* kValeurEtiquette = "jj";

// Finds or creates the stamp layer and a fresh group in AHGroupe; non-zero (after the
// locked-layer alert, kErreurCalqueVerrouille) when nothing may be stamped.
constexpr ASErr kErreurCalqueVerrouille = fourcc("LOCK");
ASErr CreationGroupe();

// A new empty point text at (0, 0) in AHGroupe, tagged, recorded at the end of the list
// headed by `premier`. Null, after one beep, when no node can be allocated.
MaillonAHTexte* CreationTexteEstampille(MaillonAHTexte*& premier);
// Moves a text frame so that its anchor lands on `position`.
void DeplaceTexte(AIArtHandle art, const AIRealPoint& position);

// Fill a stamped text frame with its item's text and attributes.
ASErr AffichageNumero(AIArtHandle art);
ASErr AffichageNomFichier(AIArtHandle art);
ASErr AffichageTexteTaille(AIArtHandle art);
ASErr AffichageTexteDate(AIArtHandle art);

// Disposes of every listed frame that is still valid and empties the four lists.
void VideListesTextes();

// Stamps artboard `index` and returns the depth in points its texts need below it.
AIReal CalculeInfosPourUnPlan(long index);
