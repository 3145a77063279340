#include "color.h"

#include <algorithm>
#include <cmath>

#include "svg_syntax.h"

namespace hostsim {
namespace {

double unit(double x) { return std::isnan(x) ? 0.0 : std::clamp(x, 0.0, 1.0); }
std::uint8_t byte(double x) { return static_cast<std::uint8_t>(std::lround(unit(x) * 255.0)); }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Rgb rgbFromCmyk(double c, double m, double y, double k) {
  const double white = 1.0 - unit(k);
  return {byte((1.0 - unit(c)) * white), byte((1.0 - unit(m)) * white),
          byte((1.0 - unit(y)) * white)};
}

Rgb rgbFromRgb(double r, double g, double b) { return {byte(r), byte(g), byte(b)}; }

Rgb rgbFromGray(double gray) {
  const std::uint8_t v = byte(1.0 - unit(gray));
  return {v, v, v};
}

std::string toHex(Rgb colour) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out = "#";
  for (std::uint8_t v : {colour.r, colour.g, colour.b}) {
    out += kDigits[v >> 4];
    out += kDigits[v & 15];
  }
  return out;
}

std::optional<Rgb> parseCssColour(std::string_view text) {
  text = trim(text);
  if (text == "black") return Rgb{0, 0, 0};
  if (text == "white") return Rgb{255, 255, 255};
  if (text.empty() || text.front() != '#') return std::nullopt;
  text.remove_prefix(1);
  int d[6];
  if (text.size() != 3 && text.size() != 6) return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((d[i] = hexDigit(text[i])) < 0) return std::nullopt;
  if (text.size() == 3)
    return Rgb{static_cast<std::uint8_t>(d[0] * 17), static_cast<std::uint8_t>(d[1] * 17),
               static_cast<std::uint8_t>(d[2] * 17)};
  return Rgb{static_cast<std::uint8_t>(d[0] * 16 + d[1]), static_cast<std::uint8_t>(d[2] * 16 + d[3]),
             static_cast<std::uint8_t>(d[4] * 16 + d[5])};
}

}  // namespace hostsim
