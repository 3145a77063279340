// The four info texts of an artboard: the file name, the artboard number, the size in
// millimetres and today's date, each composed into its global buffer.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/Moteur.h"
#include "host/IAIArtboards.h"
#include "host/IAIFilePath.h"
#include "host/IAIUnicodeString.h"
#include "shell/DateSuites.h"

namespace {

// Appends as much of texte as fits, always leaving the buffer terminated.
void AjouteTexte(char* buffer, size_t capacite, const char* texte) {
  size_t longueur = strnlen(buffer, capacite - 1);
  size_t place = capacite - 1 - longueur;
  size_t ajout = strnlen(texte, place);
  memcpy(buffer + longueur, texte, ajout);
  buffer[longueur + ajout] = '\0';
}

// Appends a whole number; nothing when it does not fit.
void AjouteNombre(char* buffer, size_t capacite, float valeur) {
  size_t longueur = strnlen(buffer, capacite - 1);
  NombreEnChaine(valeur, 0, buffer + longueur, capacite - longueur);
}

// The separator, never more than the 20 characters the dialog allows.
void AjouteSeparateur(char* buffer, size_t capacite) {
  char separateur[kMaxCaracteresSeparateur + 1];
  size_t longueur = strnlen(Separateur, kMaxCaracteresSeparateur);
  memcpy(separateur, Separateur, longueur);
  separateur[longueur] = '\0';
  AjouteTexte(buffer, capacite, separateur);
}

constexpr char kEllipse = '\xC9';  // "…"

// Writes nom into place bytes (terminator included). A name too long keeps its start and
// its end, extension included, around an ellipsis: names that differ only by a version
// before their extension still tell apart.
void CopieNomFichier(char* destination, size_t place, const char* nom) {
  size_t longueur = strlen(nom);
  size_t garde = place - 1;  // characters that fit
  if (longueur <= garde) {
    memcpy(destination, nom, longueur + 1);
    return;
  }
  if (garde < 3) {  // no room to mark a cut
    memcpy(destination, nom, garde);
    destination[garde] = '\0';
    return;
  }
  const char* point = strrchr(nom, '.');
  size_t extension = point != nullptr && point != nom ? strlen(point) : 0;
  // An extension that leaves no room for the start of the name is not kept whole.
  if (extension + 2 > garde) extension = 0;
  size_t fin = std::max(extension, (garde - 1) / 2);
  size_t debut = garde - 1 - fin;
  memcpy(destination, nom, debut);
  destination[debut] = kEllipse;
  memcpy(destination + debut + 1, nom + longueur - fin, fin);
  destination[garde] = '\0';
}

constexpr const char* kNomNonEnregistre = "/Fichier non enregistr\x8E";  // "/Fichier non enregistré"

// Weekdays from the host's numbering, 1 for Friday up to 7 for Thursday.
constexpr const char* kJoursLongs[7] = {"Vendredi ", "Samedi ", "Dimanche ", "Lundi ",
                                        "Mardi ",    "Mercredi ", "Jeudi "};
constexpr const char* kJoursCourts[7] = {"Ven ", "Sam ", "Dim ", "Lun ", "Mar ", "Mer ", "Jeu "};

constexpr const char* kMoisLongs[12] = {
    " janvier ", " f\x8Evrier ", " mars ",     " avril ",   " mai ",       " juin ",  // " février "
    " juillet ", " ao\x9Et ",    " septembre ", " octobre ", " novembre ", " d\216cembre ",  // " août ", " décembre "
};
constexpr const char* kMoisCourts[12] = {
    " jan ", " f\x8Ev ", " mars ", " avr ", " mai ", " jui ",  // " fév "
    " jui ", " ao\x9E ", " sep ",  " oct ", " nov ", " d\216c ",  // " aoû ", " déc "
};
constexpr const char* kMoisNumeriques[12] = {"01/", "02/", "03/", "04/", "05/", "06/",
                                             "07/", "08/", "09/", "10/", "11/", "12/"};

}  // namespace

void TrouveNomFichier(char* destination) {
  constexpr size_t capacite = sizeof TexteNomFichier;
  destination[0] = '\0';
  if (CaseAvecNumero) AjouteSeparateur(destination, capacite);
  size_t p = strlen(destination);

  ai::FilePath fichier;
  sDoc->GetDocumentFileSpecification(fichier.GetHandleAddress());
  AIBoolean estUnFichier = false;
  sAIFilePath->Exists(fichier.GetHandle(), 1, nullptr, &estUnFichier);

  // The fixed name is used in place: a string made of it would need the heap.
  std::string chemin;
  const char* nom = kNomNonEnregistre + 1;
  if (estUnFichier) {
    chemin = fichier.GetFullPath(false).as_Platform();
    std::string::size_type barre = chemin.rfind('/');
    nom = chemin.c_str() + (barre == std::string::npos ? 0 : barre + 1);
  }
  CopieNomFichier(destination + p, capacite - p, nom);
}

void TrouveNumero(long index, char* destination) {
  constexpr size_t capacite = sizeof TexteNumero;
  destination[0] = '\0';
  AjouteNombre(destination, capacite, static_cast<float>(index + 1));
  AjouteTexte(destination, capacite, "/");
  AjouteNombre(destination, capacite, static_cast<float>(NbrPlans));
}

void TrouveTaille(char* destination, long index) {
  constexpr size_t capacite = sizeof TexteTaille;
  ai::ArtboardList plans;
  ai::ArtboardProperties proprietes;
  sAIArtboard->GetArtboardProperties(plans.GetHandle(), static_cast<int32_t>(index), proprietes.GetHandle());
  AIRealRect rectangle = {};
  sAIArtboard->GetPosition(proprietes.GetHandle(), &rectangle);

  // Millimetres from points: times 25.4, over 72, in that order.
  float largeurPoints = rectangle.right - rectangle.left;
  float hauteurPoints = rectangle.top - rectangle.bottom;
  float largeur = static_cast<float>(static_cast<double>(largeurPoints) * 25.4 / 72.0);
  float hauteur = static_cast<float>(static_cast<double>(hauteurPoints) * 25.4 / 72.0);

  destination[0] = '\0';
  if (CaseAvecNom && !InfosSuperposees) AjouteSeparateur(destination, capacite);
  AjouteNombre(destination, capacite, largeur);
  AjouteTexte(destination, capacite, " mm x ");
  AjouteNombre(destination, capacite, hauteur);
  AjouteTexte(destination, capacite, " mm");
  if (CaseAvecDate && !InfosSuperposees) AjouteSeparateur(destination, capacite);
}

char* TrouveDate(char* destination) {
  constexpr size_t capacite = sizeof TexteDate;
  AIUserDateTime maintenant = {};
  sAIUser->GetDateAndTime(&maintenant);
  int32_t jourDeSemaine = 0;
  int32_t jour = 0;
  int32_t mois = 0;
  int32_t annee = 0;
  sAIUser->GetDayOfWeek(&maintenant, &jourDeSemaine);
  sAIUser->GetDay(&maintenant, &jour);
  sAIUser->GetMonth(&maintenant, &mois);
  sAIUser->GetYear(&maintenant, &annee);

  int32_t format = FormatDate >= 0 && FormatDate <= 2 ? FormatDate : kDefautFormatDate;
  bool jourValide = jourDeSemaine >= 1 && jourDeSemaine <= 7;
  bool moisValide = mois >= 1 && mois <= 12;

  destination[0] = '\0';
  if (format == 0 && jourValide) AjouteTexte(destination, capacite, kJoursLongs[jourDeSemaine - 1]);
  if (format == 1 && jourValide) AjouteTexte(destination, capacite, kJoursCourts[jourDeSemaine - 1]);
  AjouteNombre(destination, capacite, static_cast<float>(jour));
  if (format == 2) AjouteTexte(destination, capacite, "/");
  if (moisValide) {
    const char* const* textes = format == 0 ? kMoisLongs : format == 1 ? kMoisCourts : kMoisNumeriques;
    AjouteTexte(destination, capacite, textes[mois - 1]);
  }
  AjouteNombre(destination, capacite, static_cast<float>(annee));
  return destination;
}
