// Point texts' styles as read: what each element says of the style properties, what it
// passes on to what it holds, and a text's style in points, kept until an edit could
// change it.
#include <cmath>
#include <stdexcept>
#include <vector>

#include "document_internal.h"
#include "svg_syntax.h"

namespace hostsim {

int declaredProperty(std::string_view name) {
  for (int p = 0; p < kStylePropertyCount; ++p)
    if (name.size() == kStylePropertyNames[p].size() && sameIgnoringCase(name, kStylePropertyNames[p])) return p;
  return -1;
}

OwnStyle ownStyleOf(pugi::xml_node n, bool withStyle) {
  OwnStyle element;
  thread_local std::vector<StyleDeclaration> declarations;
  bool styleSeen = false;
  for (const pugi::xml_attribute a : n.attributes()) {
    const std::string_view name = a.name();
    if (name == "style") {
      if (styleSeen || !withStyle) continue;  // the first one counts, as for any attribute
      styleSeen = true;
      styleDeclarations(a.value(), declarations);
      for (const StyleDeclaration& declaration : declarations)
        if (const int p = declaredProperty(declaration.name); p >= 0) element.style[p] = declaration.value;
      continue;
    }
    if (name.starts_with("data-")) {
      if (name == "data-font" && element.font.empty()) element.font = a.value();
      if (name == "data-indent-start" && element.startIndent.empty()) element.startIndent = a.value();
      if (name == "data-indent-first" && element.firstLineIndent.empty()) element.firstLineIndent = a.value();
      continue;
    }
    for (int p = 0; p < kStylePropertyCount; ++p)
      if (name == kStylePropertyNames[p] && !element.attribute[p]) element.attribute[p] = std::string_view(a.value());
  }
  return element;
}

namespace {

// A length in user units, relative ones taken of `fontSize`.
double inUser(const Length& length, double fontSize) {
  switch (length.unit) {
    case LengthUnit::Percent: return fontSize * length.value / 100;
    case LengthUnit::Em: return fontSize * length.value;
    case LengthUnit::Ex: return fontSize * length.value / 2;
    default: return length.value * *pointsPerUnit(length.unit) / 0.75;
  }
}

// A length property (letter-spacing, baseline-shift...) in user units.
std::optional<double> lengthUser(std::string_view text, double fontSize) {
  const auto length = parseLength(text);
  if (!length) return std::nullopt;
  return inUser(*length, fontSize);
}

// A font-size over the size it inherits.
double appliedFontSize(double inherited, std::optional<std::string_view> text) {
  if (!text) return inherited;
  const auto length = parseLength(*text);
  if (!length || length->value <= 0) return inherited;
  return inUser(*length, inherited);
}

// What an element passes on, from what it says itself and what it inherits (its font size
// in user units when already known).
InheritedStyle inheritedBelow(const OwnStyle& own, const InheritedStyle& above,
                              std::optional<double> fontSizeUser = std::nullopt) {
  InheritedStyle result;
  for (int p = 0; p < kStylePropertyCount; ++p) {
    const auto value = own.own(static_cast<StyleProperty>(p));
    result.computed[p] = value && *value != "inherit" ? value : above.computed[p];
  }
  result.fontSizeUser = fontSizeUser ? *fontSizeUser : appliedFontSize(above.fontSizeUser, own.own(kFontSize));
  return result;
}

std::string firstFamily(std::string_view list) {
  std::string_view first = list.substr(0, list.find(','));
  first = trim(first);
  if (first.size() >= 2 && (first.front() == '\'' || first.front() == '"') && first.back() == first.front())
    first = first.substr(1, first.size() - 2);
  std::string out;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i] == '\\' && i + 1 < first.size()) ++i;
    out += first[i];
  }
  return out;
}

int cssWeight(std::string_view text) {
  if (text == "bold" || text == "bolder") return 700;
  if (text == "lighter") return 300;
  if (const auto number = parseNumber(text)) return static_cast<int>(std::lround(*number));
  return 400;
}

// What `element` passes on, found once for every element above it.
const InheritedStyle& inheritedFrom(const Document::Impl& impl, pugi::xml_node element) {
  static const InheritedStyle kNothing;
  if (!element || element.type() != pugi::node_element) return kNothing;
  const auto found = impl.inheritedStyles.find(element.internal_object());
  if (found != impl.inheritedStyles.end()) return found->second;
  const InheritedStyle& above = inheritedFrom(impl, element.parent());  // no deeper than a file nests
  return impl.inheritedStyles.emplace(element.internal_object(), inheritedBelow(ownStyleOf(element), above))
      .first->second;
}

}  // namespace

ReadTextStyle textStyleOf(const Document::Impl& impl, pugi::xml_node node, const OwnStyle& own, double scale,
                          const WrittenStyle* written) {
  const auto declared = [&](StyleProperty p) { return written != nullptr && own.style[p].has_value(); };
  static const TextStyle kNothingWritten;
  const TextStyle& ws = written ? written->style : kNothingWritten;
  const double writtenSize = written ? written->size : 0;
  const auto pxUser = [](double px) { return inUser({px, LengthUnit::Px}, 0); };
  std::optional<double> knownSize;
  if (declared(kFontSize) && std::isnormal(writtenSize)) knownSize = pxUser(writtenSize);
  const InheritedStyle chain = inheritedBelow(own, inheritedFrom(impl, node.parent()), knownSize);
  const auto computed = [&](StyleProperty p) { return chain.computed[p]; };
  const double size = chain.fontSizeUser;
  TextStyle style;
  style.font.postscriptName = own.font;
  if (declared(kFontFamily))
    style.font.family = ws.font.family;
  else if (const auto family = computed(kFontFamily))
    style.font.family = firstFamily(*family);
  if (declared(kFontWeight))
    style.font.weight = ws.font.weight;
  else if (const auto weight = computed(kFontWeight))
    style.font.weight = cssWeight(*weight);
  if (const auto slant = computed(kFontStyle))
    style.font.slant = *slant == "italic"    ? FontSlant::Italic
                       : *slant == "oblique" ? FontSlant::Oblique
                                             : FontSlant::Upright;
  style.sizePt = size * scale;
  if (const auto anchor = computed(kTextAnchor))
    style.justification = *anchor == "end"      ? Justification::Right
                          : *anchor == "middle" ? Justification::Center
                                                : Justification::Left;
  if (declared(kFill))
    style.fill = ws.fill;
  else if (const auto fill = computed(kFill))
    if (const auto rgb = parseCssColour(*fill)) style.fill = *rgb;
  // Numbers that are not finite are written as no number reads; those are read as written.
  const auto finite = [&](StyleProperty p, double value) { return declared(p) && std::isfinite(value); };
  if (knownSize && finite(kLetterSpacing, ws.tracking / 1000 * writtenSize))
    style.tracking = pxUser(ws.tracking / 1000 * writtenSize) / size * 1000;
  else if (const auto spacing = computed(kLetterSpacing))
    if (const auto user = lengthUser(*spacing, size)) style.tracking = *user / size * 1000;
  if (finite(kBaselineShift, ws.baselineShiftPt / scale))
    style.baselineShiftPt = pxUser(ws.baselineShiftPt / scale) * scale;
  else if (const auto shift = own.own(kBaselineShift))
    if (const auto user = lengthUser(*shift, size)) style.baselineShiftPt = *user * scale;
  if (finite(kLineHeight, ws.leadingPt.value_or(0) / scale)) {
    style.leadingPt = pxUser(*ws.leadingPt / scale) * scale;
  } else if (const auto leading = computed(kLineHeight)) {
    if (const auto number = parseNumber(*leading))
      style.leadingPt = *number * size * scale;  // a bare number is a multiple of the size
    else if (const auto user = lengthUser(*leading, size))
      style.leadingPt = *user * scale;
  }
  const auto indent = [&](double value, std::string_view text) {
    if (written && std::isfinite(value)) return value == 0 ? 0.0 : value;  // zero is left unwritten
    return parseNumber(text).value_or(0);
  };
  style.startIndentPt = indent(ws.startIndentPt, own.startIndent);
  style.firstLineIndentPt = indent(ws.firstLineIndentPt, own.firstLineIndent);
  return {std::move(style), size};
}

const ReadTextStyle& readStyle(const Document::Impl& impl, pugi::xml_node node) {
  const auto read = [&] { return textStyleOf(impl, node, ownStyleOf(node), scaleOf(impl.localToHost(node))); };
  const auto cached = impl.textStyles.find(node.internal_object());
  if (cached == impl.textStyles.end()) return impl.textStyles.emplace(node.internal_object(), read()).first->second;
#ifndef NDEBUG
  // Testing builds check that what was kept is what the tree says.
  const ReadTextStyle fresh = read();
  if (!(fresh.style == cached->second.style) || fresh.sizeUser != cached->second.sizeUser)
    throw std::logic_error("a text's kept style differs from its attributes: " +
                           std::string(node.attribute("style").value()));
#endif
  return cached->second;
}

TextStyle Document::textStyle(ArtHandle art) const {
  return readStyle(*impl_, impl_->text(art)).style;
}

}  // namespace hostsim
