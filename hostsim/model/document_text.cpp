// Point texts: anchor, content, character and paragraph attributes, bounds.
#include <cmath>

#include "document_internal.h"
#include "mac_roman.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

constexpr double kDefaultFontSizePx = 16;  // CSS "medium"

// A property as CSS would find it: the element's style, then its
// presentation attribute, then the same on each ancestor.
std::optional<std::string> computed(pugi::xml_node node, const char* property) {
  for (pugi::xml_node n = node; n && n.type() == pugi::node_element; n = n.parent()) {
    if (auto value = styleProperty(n.attribute("style").value(), property)) {
      if (*value != "inherit") return value;
      continue;
    }
    if (const pugi::xml_attribute a = n.attribute(property)) {
      if (std::string_view(a.value()) != "inherit") return std::string(a.value());
    }
  }
  return std::nullopt;
}

std::optional<std::string> own(pugi::xml_node node, const char* property) {
  if (auto value = styleProperty(node.attribute("style").value(), property)) return value;
  if (const pugi::xml_attribute a = node.attribute(property)) return std::string(a.value());
  return std::nullopt;
}

// font-size in the element's user units.
double fontSizeUser(pugi::xml_node node) {
  if (!node || node.type() != pugi::node_element) return kDefaultFontSizePx;
  const double inherited = [&] {
    const pugi::xml_node parent = node.parent();
    return parent.type() == pugi::node_element ? fontSizeUser(parent) : kDefaultFontSizePx;
  }();
  const auto text = own(node, "font-size");
  if (!text) return inherited;
  const auto length = parseLength(*text);
  if (!length || length->value <= 0) return inherited;
  switch (length->unit) {
    case LengthUnit::Percent: return inherited * length->value / 100;
    case LengthUnit::Em: return inherited * length->value;
    case LengthUnit::Ex: return inherited * length->value / 2;
    default: return length->value * *pointsPerUnit(length->unit) / 0.75;
  }
}

// A length property (letter-spacing, baseline-shift...) in user units.
std::optional<double> lengthUser(const std::string& text, double fontSize) {
  const auto length = parseLength(text);
  if (!length) return std::nullopt;
  switch (length->unit) {
    case LengthUnit::Percent: return fontSize * length->value / 100;
    case LengthUnit::Em: return fontSize * length->value;
    case LengthUnit::Ex: return fontSize * length->value / 2;
    default: return length->value * *pointsPerUnit(length->unit) / 0.75;
  }
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

std::string quoteFamily(std::string_view family) {
  std::string out = "'";
  for (char c : family) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

int cssWeight(const std::string& text) {
  if (text == "bold" || text == "bolder") return 700;
  if (text == "lighter") return 300;
  if (const auto number = parseNumber(text)) return static_cast<int>(std::lround(*number));
  return 400;
}

// First number of an x or y list; nothing when absent.
std::optional<double> firstCoordinate(pugi::xml_node node, const char* name) {
  const pugi::xml_attribute a = node.attribute(name);
  if (!a) return std::nullopt;
  const auto values = parseNumberList(a.value());
  if (!values || values->empty()) return std::nullopt;
  return values->front();
}

// The anchor in the text's own coordinates: its x/y, else its first tspan's.
Point localAnchor(pugi::xml_node text) {
  std::optional<double> x = firstCoordinate(text, "x"), y = firstCoordinate(text, "y");
  for (pugi::xml_node child = text.first_child(); child && (!x || !y); child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (!x) x = firstCoordinate(child, "x");
    if (!y) y = firstCoordinate(child, "y");
    break;
  }
  return {x.value_or(0), y.value_or(0)};
}

double scaleOf(const Affine& map) { return std::sqrt(std::abs(map.determinant())); }

void collectText(pugi::xml_node node, std::string& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
      out += child.value();
    else if (child.type() == pugi::node_element)
      collectText(child, out);
  }
}

// Well-formed UTF-8 that XML 1.0 can hold.
std::string sanitizeForXml(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const Utf8Step step = decodeUtf8(utf8);
    const auto cp = step.codePoint;
    const bool allowed = cp && (*cp >= 0x20 || *cp == '\t' || *cp == '\n' || *cp == '\r') &&
                         *cp != 0xFFFE && *cp != 0xFFFF;
    if (allowed)
      out.append(utf8.substr(0, step.length));
    else
      out += kMacRomanStandIn;
    utf8.remove_prefix(step.length);
  }
  return out;
}

std::size_t codePointCount(std::string_view utf8) {
  std::size_t n = 0;
  while (!utf8.empty()) {
    utf8.remove_prefix(decodeUtf8(utf8).length);
    ++n;
  }
  return n;
}

}  // namespace

Point Document::textAnchor(ArtHandle art) const {
  const pugi::xml_node node = impl_->text(art);
  return impl_->localToHost(node).apply(localAnchor(node));
}

void Document::setTextAnchor(ArtHandle art, Point anchor) {
  const pugi::xml_node node = impl_->text(art);
  const auto inverse = impl_->localToHost(node).inverse();
  if (!inverse) throw std::invalid_argument("a text under a flat transform cannot be moved");
  const Point target = inverse->apply(anchor);
  const Point current = localAnchor(node);
  const double dx = target.h - current.h, dy = target.v - current.v;
  // Move every x and y of the text and its tspans alike, so lines keep their places.
  const auto shift = [&](auto&& self, pugi::xml_node n) -> void {
    for (const auto& [name, delta] : {std::pair{"x", dx}, std::pair{"y", dy}}) {
      const pugi::xml_attribute a = n.attribute(name);
      if (!a) continue;
      const auto values = parseNumberList(a.value());
      if (!values) continue;
      std::string text;
      for (double v : *values) {
        if (!text.empty()) text += ' ';
        text += formatNumber(v + delta);
      }
      impl_->setAttribute(n, name, text);
    }
    for (pugi::xml_node child : n.children())
      if (child.type() == pugi::node_element) self(self, child);
  };
  if (!node.attribute("x")) impl_->setAttribute(node, "x", formatNumber(current.h));
  if (!node.attribute("y")) impl_->setAttribute(node, "y", formatNumber(current.v));
  shift(shift, node);
}

std::string Document::text(ArtHandle art) const {
  std::string out;
  collectText(impl_->text(art), out);
  return out;
}

void Document::setText(ArtHandle art, std::string_view utf8) {
  pugi::xml_node node = impl_->text(art);
  const std::string clean = sanitizeForXml(utf8);
  bool onlyText = true;
  for (pugi::xml_node child : node.children()) onlyText = onlyText && child.type() == pugi::node_pcdata;
  if (onlyText && text(art) == clean) return;
  impl_->removeChildren(node);
  impl_->setAttribute(node, "xml:space", "preserve");
  if (!clean.empty()) {
    node.append_child(pugi::node_pcdata).set_value(clean.c_str());
    impl_->touch();
  }
}

std::string Document::textMacRoman(ArtHandle art) const { return utf8ToMacRoman(text(art)); }

void Document::setTextMacRoman(ArtHandle art, std::string_view macRoman) {
  setText(art, macRomanToUtf8(macRoman));
}

TextStyle Document::textStyle(ArtHandle art) const {
  const pugi::xml_node node = impl_->text(art);
  const double scale = scaleOf(impl_->localToHost(node));
  const double size = fontSizeUser(node);
  TextStyle style;
  style.font.postscriptName = node.attribute("data-font").value();
  if (const auto family = computed(node, "font-family")) style.font.family = firstFamily(*family);
  if (const auto weight = computed(node, "font-weight")) style.font.weight = cssWeight(*weight);
  if (const auto slant = computed(node, "font-style"))
    style.font.slant = *slant == "italic"    ? FontSlant::Italic
                       : *slant == "oblique" ? FontSlant::Oblique
                                             : FontSlant::Upright;
  style.sizePt = size * scale;
  if (const auto anchor = computed(node, "text-anchor"))
    style.justification = *anchor == "end"      ? Justification::Right
                          : *anchor == "middle" ? Justification::Center
                                                : Justification::Left;
  if (const auto fill = computed(node, "fill"))
    if (const auto rgb = parseCssColour(*fill)) style.fill = *rgb;
  if (const auto spacing = computed(node, "letter-spacing"))
    if (const auto user = lengthUser(*spacing, size)) style.tracking = *user / size * 1000;
  if (const auto shift = own(node, "baseline-shift"))
    if (const auto user = lengthUser(*shift, size)) style.baselineShiftPt = *user * scale;
  if (const auto leading = computed(node, "line-height")) {
    if (const auto number = parseNumber(*leading))
      style.leadingPt = *number * size * scale;  // a bare number is a multiple of the size
    else if (const auto user = lengthUser(*leading, size))
      style.leadingPt = *user * scale;
  }
  style.startIndentPt = parseNumber(node.attribute("data-indent-start").value()).value_or(0);
  style.firstLineIndentPt = parseNumber(node.attribute("data-indent-first").value()).value_or(0);
  return style;
}

void Document::setTextStyle(ArtHandle art, const TextStyle& style) {
  const pugi::xml_node node = impl_->text(art);
  if (!(style.sizePt > 0) || !std::isfinite(style.sizePt))
    throw std::invalid_argument("a font size of " + formatNumber(style.sizePt) + " pt is not possible");
  const double scale = scaleOf(impl_->localToHost(node));
  if (!(scale > 0)) throw std::invalid_argument("a text under a flat transform has no size");
  const double size = style.sizePt / scale;

  if (style.font.postscriptName.empty())
    impl_->removeAttribute(node, "data-font");
  else
    impl_->setAttribute(node, "data-font", style.font.postscriptName);
  if (style.font.family.empty())
    impl_->setStyle(node, "font-family", std::nullopt);
  else
    impl_->setStyle(node, "font-family", quoteFamily(style.font.family));
  const int weight = style.font.weight;
  impl_->setStyle(node, "font-weight",
                  weight == 400 ? "normal" : weight == 700 ? "bold" : std::to_string(weight));
  impl_->setStyle(node, "font-style",
                  style.font.slant == FontSlant::Italic    ? "italic"
                  : style.font.slant == FontSlant::Oblique ? "oblique"
                                                           : "normal");
  impl_->setStyle(node, "font-size", formatNumber(size) + "px");
  impl_->setStyle(node, "text-anchor",
                  style.justification == Justification::Right    ? "end"
                  : style.justification == Justification::Center ? "middle"
                                                                 : "start");
  impl_->setStyle(node, "fill", toHex(style.fill));
  if (style.tracking != 0)
    impl_->setStyle(node, "letter-spacing", formatNumber(style.tracking / 1000 * size) + "px");
  else
    impl_->setStyle(node, "letter-spacing", std::nullopt);
  if (style.baselineShiftPt != 0)
    impl_->setStyle(node, "baseline-shift", formatNumber(style.baselineShiftPt / scale) + "px");
  else
    impl_->setStyle(node, "baseline-shift", std::nullopt);
  if (style.leadingPt)
    impl_->setStyle(node, "line-height", formatNumber(*style.leadingPt / scale) + "px");
  else
    impl_->setStyle(node, "line-height", std::nullopt);
  if (style.startIndentPt != 0)
    impl_->setAttribute(node, "data-indent-start", formatNumber(style.startIndentPt));
  else
    impl_->removeAttribute(node, "data-indent-start");
  if (style.firstLineIndentPt != 0)
    impl_->setAttribute(node, "data-indent-first", formatNumber(style.firstLineIndentPt));
  else
    impl_->removeAttribute(node, "data-indent-first");
}

Rect Document::textBounds(ArtHandle art, TextMeasurer& measurer) const {
  const pugi::xml_node node = impl_->text(art);
  const Affine map = impl_->localToHost(node);
  const Point anchor = localAnchor(node);
  const std::string content = text(art);
  if (content.empty()) {
    const Point p = map.apply(anchor);
    return {p.h, p.v, p.h, p.v};
  }
  const TextStyle style = textStyle(art);
  const double size = fontSizeUser(node);
  const double scale = scaleOf(map);
  const LineExtent extent = measurer.measure(style.font, content);
  // Tracking follows every character, as letter-spacing does in a browser.
  const double width = extent.advance * size +
                       static_cast<double>(codePointCount(content)) * style.tracking / 1000 * size;
  const double offset = style.justification == Justification::Right    ? width
                        : style.justification == Justification::Center ? width / 2
                                                                       : 0;
  const double x0 = anchor.h - offset;
  const double baseline = anchor.v - (scale > 0 ? style.baselineShiftPt / scale : 0);
  return boundsOfBox(map, x0, baseline - extent.ascent * size, x0 + width,
                     baseline - extent.descent * size);
}

}  // namespace hostsim
