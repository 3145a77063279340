// Numbers into the decimal texts of the stamps: sizes in millimetres, artboard numbers,
// days and years. The steps keep the original float roundings so that every value comes out
// as it always has.
#include <cmath>

#include "engine/Moteur.h"

namespace {

// Digits of a whole number held in a float, most significant first; k is its digit count.
void EcritChiffres(float entier, int k, char* chiffres) {
  for (int i = 0; i < k; ++i) {
    float t = static_cast<float>(0.1 * entier);
    entier = static_cast<float>(std::floor(t));
    float reste = t - entier;
    float dizaine = 10.0f * reste;
    chiffres[k - 1 - i] = static_cast<char>('0' + static_cast<int>(std::round(dizaine)));
  }
}

// 1 + floor(log10(entier)), kept right where the logarithm of a power of ten falls short.
int NombreDeChiffres(float entier) {
  int k = 1 + static_cast<int>(std::floor(std::log10(static_cast<double>(entier))));
  if (k > 1 && std::pow(10.0, k - 1) > entier) --k;
  if (std::pow(10.0, k) <= entier) ++k;
  return k;
}

}  // namespace

int NombreEnChaine(float valeur, char decimales, char* buffer, size_t capacite) {
  if (buffer == nullptr || capacite == 0) return 0;
  buffer[0] = '\0';

  int n = static_cast<signed char>(decimales);
  if (n < 0) n = 0;

  // Rounding to the precision asked for, halves away from zero.
  float v = static_cast<float>(std::round(static_cast<double>(valeur) * std::pow(10.0, n)) * std::pow(0.1, n));
  if (!std::isfinite(v)) return 0;
  bool negatif = v < 0.0f;
  if (negatif) v = -v;

  float entier = static_cast<float>(std::floor(v));
  // Half a unit of the next decimal place, so that 0.7 held as 0.6999... prints as 7.
  float fraction = static_cast<float>((static_cast<double>(v) + 5.0 * std::pow(0.1, n + 1)) - entier);

  int k = entier == 0.0f ? 1 : NombreDeChiffres(entier);
  size_t longueur = (negatif ? 1u : 0u) + static_cast<size_t>(k) + (n > 0 ? 1u + static_cast<size_t>(n) : 0u);
  // A number is written whole or not at all: a cut one would read as another number.
  if (longueur >= capacite) return 0;

  char* p = buffer;
  if (negatif) *p++ = '-';
  if (entier == 0.0f) {
    *p++ = '0';
  } else {
    EcritChiffres(entier, k, p);
    p += k;
  }
  if (n > 0) {
    *p++ = ',';
    for (int i = 0; i < n; ++i) {
      float d = static_cast<float>(std::floor(10.0 * fraction));
      fraction = static_cast<float>(10.0 * fraction - d);
      *p++ = static_cast<char>('0' + static_cast<int>(d));
    }
  }
  *p = '\0';
  return static_cast<int>(p - buffer);
}
