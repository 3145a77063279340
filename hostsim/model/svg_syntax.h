// The small grammars inside SVG attribute values: numbers, lengths, number
// lists, transform lists and style declarations. Pure functions, no XML.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry.h"

namespace hostsim {

// A whole string that is one finite number (surrounding spaces allowed).
std::optional<double> parseNumber(std::string_view text);

// Consumes one number at the start of `text` (no leading spaces); nothing on failure.
std::optional<double> scanNumber(std::string_view& text);

// Numbers separated by spaces and/or one comma; nothing if anything else is there.
std::optional<std::vector<double>> parseNumberList(std::string_view text);

enum class LengthUnit { None, Px, Pt, Pc, Mm, Cm, In, Percent, Em, Ex };

struct Length {
  double value = 0;
  LengthUnit unit = LengthUnit::None;
};

std::optional<Length> parseLength(std::string_view text);

// Points per unit for absolute units (a unitless length is CSS pixels, 0.75 pt);
// nothing for relative units.
std::optional<double> pointsPerUnit(LengthUnit unit);

// The SVG transform list; nothing when malformed. An empty list is the identity.
std::optional<Affine> parseTransform(std::string_view text);

// Shortest text that reads back as the same double; "-0" is written "0".
std::string formatNumber(double value);

// The value of a property in a style attribute ("a:b;c:d"), trimmed, without
// "!important". Property names compare case-insensitively; the last one wins.
std::optional<std::string> styleProperty(std::string_view style, std::string_view name);

// Every declaration of a style attribute in order, read as styleProperty reads them (the
// value trimmed and without "!important"; parts without a name left out), into `out`:
// for reading many properties at once. The views point into `style`.
struct StyleDeclaration {
  std::string_view name;
  std::string_view value;
};
void styleDeclarations(std::string_view style, std::vector<StyleDeclaration>& out);

// ASCII letters compared without case, as property names are.
bool sameIgnoringCase(std::string_view a, std::string_view b);

// The parts of a style between its semicolons outside quotes and brackets, in order and
// empty ones included: joined with ';' they give the style back. False when the style
// ends inside quotes or brackets, where a part added after it would not stand apart.
bool splitStyle(std::string_view style, std::vector<std::string_view>& parts);
// The property a part of a style names, trimmed; empty when it has no colon.
std::string_view styleDeclarationName(std::string_view part);

// The style with one property set (or removed when `value` is empty). Every
// other declaration keeps its text and place; a new one goes at the end.
std::string withStyleProperty(std::string_view style, std::string_view name,
                              std::optional<std::string_view> value);

std::string_view trim(std::string_view text);

}  // namespace hostsim
