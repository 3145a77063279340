// Fill colours. Documents hold sRGB; the host's process (CMYK), RGB and gray
// colours are turned into it the simple, device-independent way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Components 0..1, clamped (NaN counts as 0).
Rgb rgbFromCmyk(double c, double m, double y, double k);
Rgb rgbFromRgb(double r, double g, double b);
Rgb rgbFromGray(double gray);  // 0 white .. 1 black, as the host's gray

std::string toHex(Rgb colour);  // "#rrggbb"
// "#rgb", "#rrggbb" and the names black and white; nothing otherwise.
std::optional<Rgb> parseCssColour(std::string_view text);

}  // namespace hostsim
