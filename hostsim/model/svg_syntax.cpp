#include "svg_syntax.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

namespace hostsim {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void skipSpaces(std::string_view& s) {
  while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
}

// Spaces, at most one comma, spaces.
void skipSeparator(std::string_view& s) {
  skipSpaces(s);
  if (!s.empty() && s.front() == ',') {
    s.remove_prefix(1);
    skipSpaces(s);
  }
}

// Hands each part of a style attribute to `visit`, split at the semicolons that are
// outside quotes and brackets; true when the style ends outside them. No allocation:
// every text style read or written goes through here several times.
template <typename Visit>
bool forEachDeclaration(std::string_view style, Visit&& visit) {
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (char c : {'"', '\'', '(', ')', ';', '\\'}) special[static_cast<unsigned char>(c)] = true;
    return special;
  }();
  char quote = 0;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < style.size(); ++i) {
    const char c = style[i];
    if (c == '\\') {
      ++i;  // an escaped character, as in 'L\'Ancienne'
    } else if (quote) {
      if (c == quote) quote = 0;
    } else if (!kSpecial[static_cast<unsigned char>(c)]) {
      continue;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (c == ';' && depth == 0) {
      visit(style.substr(start, i - start));
      start = i + 1;
    }
  }
  visit(style.substr(start));
  return quote == 0 && depth == 0;
}

}  // namespace

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> scanNumber(std::string_view& text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  bool digits = i > mantissaStart;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < text.size() && isDigit(text[i])) ++i;
    digits = digits || i > fractionStart;
  }
  if (!digits) return std::nullopt;
  // An exponent only counts when digits follow it ("2em" is 2 and a unit).
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && isDigit(text[j])) {
      while (j < text.size() && isDigit(text[j])) ++j;
      i = j;
    }
  }
  std::string_view number = text.substr(0, i);
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc{} || end != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  text.remove_prefix(i);
  return value;
}

std::optional<double> parseNumber(std::string_view text) {
  text = trim(text);
  const auto value = scanNumber(text);
  if (!value || !text.empty()) return std::nullopt;
  return value;
}

std::optional<std::vector<double>> parseNumberList(std::string_view text) {
  std::vector<double> values;
  skipSpaces(text);
  while (!text.empty()) {
    const auto value = scanNumber(text);
    if (!value) return std::nullopt;
    values.push_back(*value);
    const std::size_t before = text.size();
    skipSeparator(text);
    // Numbers may touch when the next one starts with a sign or a point ("1-2", "0.5.5").
    if (!text.empty() && text.size() == before && text.front() != '-' && text.front() != '+' &&
        text.front() != '.')
      return std::nullopt;
  }
  return values;
}

std::optional<Length> parseLength(std::string_view text) {
  text = trim(text);
  const auto value = scanNumber(text);
  if (!value) return std::nullopt;
  static constexpr std::pair<std::string_view, LengthUnit> kUnits[] = {
      {"", LengthUnit::None}, {"px", LengthUnit::Px}, {"pt", LengthUnit::Pt},
      {"pc", LengthUnit::Pc}, {"mm", LengthUnit::Mm}, {"cm", LengthUnit::Cm},
      {"in", LengthUnit::In}, {"%", LengthUnit::Percent}, {"em", LengthUnit::Em},
      {"ex", LengthUnit::Ex}};
  for (const auto& [name, unit] : kUnits)
    if (sameIgnoringCase(text, name)) return Length{*value, unit};
  return std::nullopt;
}

std::optional<double> pointsPerUnit(LengthUnit unit) {
  switch (unit) {
    case LengthUnit::None:
    case LengthUnit::Px: return 0.75;
    case LengthUnit::Pt: return 1.0;
    case LengthUnit::Pc: return 12.0;
    case LengthUnit::Mm: return 72.0 / 25.4;
    case LengthUnit::Cm: return 72.0 / 2.54;
    case LengthUnit::In: return 72.0;
    case LengthUnit::Percent:
    case LengthUnit::Em:
    case LengthUnit::Ex: return std::nullopt;
  }
  return std::nullopt;
}

std::optional<Affine> parseTransform(std::string_view text) {
  Affine result;
  skipSpaces(text);
  while (!text.empty()) {
    std::size_t nameEnd = 0;
    while (nameEnd < text.size() && ((text[nameEnd] >= 'a' && text[nameEnd] <= 'z') ||
                                     (text[nameEnd] >= 'A' && text[nameEnd] <= 'Z')))
      ++nameEnd;
    const std::string_view name = text.substr(0, nameEnd);
    text.remove_prefix(nameEnd);
    skipSpaces(text);
    if (text.empty() || text.front() != '(') return std::nullopt;
    const auto close = text.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    const auto args = parseNumberList(text.substr(1, close - 1));
    text.remove_prefix(close + 1);
    if (!args) return std::nullopt;
    const std::vector<double>& v = *args;
    const std::size_t n = v.size();
    constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
    Affine step;
    if (name == "matrix" && n == 6) {
      step = {v[0], v[1], v[2], v[3], v[4], v[5]};
    } else if (name == "translate" && (n == 1 || n == 2)) {
      step = Affine::translate(v[0], n == 2 ? v[1] : 0.0);
    } else if (name == "scale" && (n == 1 || n == 2)) {
      step = Affine::scale(v[0], n == 2 ? v[1] : v[0]);
    } else if (name == "rotate" && (n == 1 || n == 3)) {
      const double r = v[0] * kRadiansPerDegree;
      const Affine rotation{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
      step = n == 3 ? Affine::translate(v[1], v[2]) * rotation * Affine::translate(-v[1], -v[2])
                    : rotation;
    } else if (name == "skewX" && n == 1) {
      step = {1, 0, std::tan(v[0] * kRadiansPerDegree), 1, 0, 0};
    } else if (name == "skewY" && n == 1) {
      step = {1, std::tan(v[0] * kRadiansPerDegree), 0, 1, 0, 0};
    } else {
      return std::nullopt;
    }
    result = result * step;
    skipSeparator(text);
  }
  return result;
}

std::string formatNumber(double value) {
  if (value == 0) value = 0;  // no "-0"
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;  // 64 bytes hold any double
  return std::string(buffer, end);
}

namespace {

// The value of a declaration that has a name: trimmed, without "!important".
std::string_view declarationValue(std::string_view declaration) {
  std::string_view value = trim(declaration.substr(declaration.find(':') + 1));
  constexpr std::string_view kImportant = "!important";
  if (value.size() >= kImportant.size() &&
      sameIgnoringCase(value.substr(value.size() - kImportant.size()), kImportant))
    value = trim(value.substr(0, value.size() - kImportant.size()));
  return value;
}

}  // namespace

std::optional<std::string> styleProperty(std::string_view style, std::string_view name) {
  std::optional<std::string_view> found;
  forEachDeclaration(style, [&](std::string_view declaration) {
    if (sameIgnoringCase(styleDeclarationName(declaration), name)) found = declarationValue(declaration);
  });
  if (!found) return std::nullopt;
  return std::string(*found);
}

void styleDeclarations(std::string_view style, std::vector<StyleDeclaration>& out) {
  out.clear();
  forEachDeclaration(style, [&](std::string_view declaration) {
    const std::string_view name = styleDeclarationName(declaration);
    if (!name.empty()) out.push_back({name, declarationValue(declaration)});
  });
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

bool splitStyle(std::string_view style, std::vector<std::string_view>& parts) {
  parts.clear();
  return forEachDeclaration(style, [&](std::string_view part) { parts.push_back(part); });
}

std::string_view styleDeclarationName(std::string_view part) {
  const auto colon = part.find(':');
  if (colon == std::string_view::npos) return {};
  return trim(part.substr(0, colon));
}

std::string withStyleProperty(std::string_view style, std::string_view name,
                              std::optional<std::string_view> value) {
  // The parts are written straight into `out`, joined by ';'; `last` is where the latest starts.
  std::string out;
  out.reserve(style.size() + name.size() + (value ? value->size() : 0) + 2);
  bool any = false, placed = false;
  std::size_t last = 0;
  const auto startPart = [&] {
    if (any) out += ';';
    any = true;
    last = out.size();
  };
  const auto appendDeclaration = [&] {
    out += name;
    out += ':';
    out += *value;
  };
  forEachDeclaration(style, [&](std::string_view declaration) {
    if (sameIgnoringCase(styleDeclarationName(declaration), name)) {
      if (value && !placed) {
        startPart();
        appendDeclaration();
      }
      placed = true;
      return;
    }
    startPart();
    out += declaration;
  });
  if (value && !placed) {
    // A trailing ";" leaves an empty last part: fill it rather than add "; ;".
    if (any && trim(std::string_view(out).substr(last)).empty())
      out.resize(last);
    else
      startPart();
    appendDeclaration();
  }
  // Removing the only declaration of "a:b;" should not leave a lone ";".
  if (trim(out) == ";") out.clear();
  return out;
}

}  // namespace hostsim
