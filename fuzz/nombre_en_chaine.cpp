// The plug-in's number writer on any value, decimal count and capacity: it never writes
// past the capacity, always terminates what it writes, writes only a sign, digits and one
// decimal comma, and writes whole numbers back exactly.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/Moteur.h"
#include "fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  float value = 0;
  std::memcpy(&value, data, sizeof value);
  const char decimals = static_cast<char>(data[4]);
  const std::size_t capacity = data[5] % 80;
  const int places = decimals < 0 ? 0 : decimals;

  // Exactly `capacity` bytes, so that AddressSanitizer sees any byte written past them.
  std::vector<char> buffer(capacity, 'X');
  const int written = NombreEnChaine(value, decimals, buffer.data(), capacity);
  require(capacity > 0 ? written >= 0 && static_cast<std::size_t>(written) < capacity : written == 0);
  if (capacity == 0) return 0;
  require(buffer[static_cast<std::size_t>(written)] == '\0');
  const std::string text(buffer.data(), static_cast<std::size_t>(written));
  require(text.find('\0') == std::string::npos);
  if (written == 0) return 0;  // nothing fits, or no finite rounding: nothing written

  // Shape: an optional minus, digits without a leading zero, and with decimals a comma
  // followed by exactly that many digits.
  const std::size_t sign = text[0] == '-' ? 1 : 0, comma = text.find(','), whole = std::min(comma, text.size());
  require(text.find_first_not_of("0123456789", sign) == comma && whole > sign && (whole == sign + 1 || text[sign] != '0'));
  require(places == 0 ? comma == std::string::npos
                      : text.size() - whole - 1 == static_cast<std::size_t>(places) &&
                            text.find_first_not_of("0123456789", whole + 1) == std::string::npos);

  // Below a million (far above the plug-in's numbers) the digit loop's float steps resolve every digit: whole
  // numbers come back exactly, halves away from zero; decimals read back as the value rounded to that many places.
  if (!std::isfinite(value) || std::fabs(value) >= 1'000'000.0f || places > 6) return 0;
  if (places == 0) {
    const long long rounded = std::llround(static_cast<double>(value));
    require(text == (rounded == 0 ? "0" : std::to_string(rounded)));
  } else {
    const double back = std::strtod(std::string(text).replace(comma, 1, ".").c_str(), nullptr);
    require(std::fabs(back - value) <= std::pow(10.0, -places) / 2 + std::fabs(value) * 1e-6 + 1e-9);
  }
  return 0;
}
