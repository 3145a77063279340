// The plug-in's number writer on any value, decimal count and capacity: it never writes
// past the capacity, always terminates what it writes, writes only a sign, digits and one
// decimal comma, and writes whole numbers back exactly.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "engine/Moteur.h"

namespace {

// A broken property names itself before the abort that the fuzzer reports.
void fail(const char* condition, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, line, condition);
  std::abort();
}
#define require(condition) ((condition) ? (void)0 : fail(#condition, __LINE__))

// Within this the float steps of the digit loop resolve every digit; the plug-in's
// numbers (millimetres, artboard numbers, days, years) stay far below it.
constexpr float kExactBelow = 1'000'000.0f;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  float value = 0;
  std::memcpy(&value, data, sizeof value);
  const char decimals = static_cast<char>(data[4]);
  const std::size_t capacity = data[5] % 80;

  // Exactly `capacity` bytes, so that AddressSanitizer sees any byte written past them.
  std::unique_ptr<char[]> buffer(capacity > 0 ? new char[capacity] : nullptr);
  if (capacity > 0) std::memset(buffer.get(), 'X', capacity);
  const int written = NombreEnChaine(value, decimals, buffer.get(), capacity);
  if (capacity == 0) {
    require(written == 0);
    return 0;
  }
  require(written >= 0 && static_cast<std::size_t>(written) < capacity);
  require(buffer[static_cast<std::size_t>(written)] == '\0');
  const std::string text(buffer.get(), static_cast<std::size_t>(written));
  require(text.find('\0') == std::string::npos);

  const int places = decimals < 0 ? 0 : decimals;
  if (written == 0) return 0;  // nothing fits, or no finite rounding: nothing written

  // Shape: an optional minus, digits without a leading zero, and with decimals a comma
  // followed by exactly that many digits.
  std::size_t i = text[0] == '-' ? 1 : 0;
  const std::size_t digitsBegin = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
  require(i > digitsBegin);
  require(i - digitsBegin == 1 || text[digitsBegin] != '0');
  if (places > 0) {
    require(i < text.size() && text[i] == ',');
    ++i;
    const std::size_t fractionBegin = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    require(i - fractionBegin == static_cast<std::size_t>(places));
  }
  require(i == text.size());

  // Whole numbers (and values rounded to them) come back exactly, the halves away from zero.
  if (places == 0 && std::isfinite(value) && std::fabs(value) < kExactBelow) {
    const long long rounded = std::llround(static_cast<double>(value));
    const std::string expected = rounded == 0 ? "0" : std::to_string(rounded);
    require(text == expected);
  }
  // With decimals, the text reads back as the value rounded to that many places.
  if (places > 0 && places <= 6 && std::isfinite(value) && std::fabs(value) < kExactBelow) {
    std::string dotted = text;
    dotted[dotted.find(',')] = '.';
    const double back = std::strtod(dotted.c_str(), nullptr);
    const double step = std::pow(10.0, -places);
    require(std::fabs(back - static_cast<double>(value)) <= step / 2 + std::fabs(value) * 1e-6 + 1e-9);
  }
  return 0;
}
