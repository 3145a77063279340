// Point texts: anchor, content, character and paragraph attributes, bounds.
#include <array>
#include <cmath>
#include <deque>
#include <vector>

#include "document_internal.h"
#include "mac_roman.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

constexpr double kDefaultFontSizePx = 16;  // CSS "medium"

// The properties a text's style is read from.
enum Property {
  kFontFamily, kFontWeight, kFontStyle, kFontSize, kTextAnchor,
  kFill, kLetterSpacing, kBaselineShift, kLineHeight, kPropertyCount
};
constexpr std::string_view kPropertyNames[kPropertyCount] = {
    "font-family", "font-weight",    "font-style",     "font-size",   "text-anchor",
    "fill",        "letter-spacing", "baseline-shift", "line-height"};

// What one element says of those properties, read in one pass over its attributes: the
// host reads a text's style several times for every text it stamps. A style declaration
// (the last one of a name) stands before the presentation attribute of the same name.
struct OwnProperties {
  std::array<std::optional<std::string_view>, kPropertyCount> style;
  std::array<std::optional<std::string_view>, kPropertyCount> attribute;

  std::optional<std::string_view> own(Property property) const {
    return style[property] ? style[property] : attribute[property];
  }
};

// The text and each element above it, in that order; the views point into the tree.
class StyleChain {
 public:
  explicit StyleChain(pugi::xml_node node) {
    elements_.reserve(8);
    std::vector<StyleDeclaration> declarations;
    declarations.reserve(16);
    for (pugi::xml_node n = node; n && n.type() == pugi::node_element; n = n.parent()) {
      OwnProperties& element = elements_.emplace_back();
      bool styleSeen = false;
      for (const pugi::xml_attribute a : n.attributes()) {
        const std::string_view name = a.name();
        if (name == "style") {
          if (styleSeen) continue;  // the first one counts, as for any attribute
          styleSeen = true;
          styleDeclarations(a.value(), declarations);
          for (const StyleDeclaration& declaration : declarations)
            for (int p = 0; p < kPropertyCount; ++p)
              if (declaration.name.size() == kPropertyNames[p].size() &&
                  sameIgnoringCase(declaration.name, kPropertyNames[p]))
                element.style[p] = declaration.value;
          continue;
        }
        for (int p = 0; p < kPropertyCount; ++p)
          if (name == kPropertyNames[p] && !element.attribute[p]) element.attribute[p] = std::string_view(a.value());
      }
    }
  }

  // The value as CSS would find it: the element's own, else its parent's, and so on;
  // "inherit" passes the question up.
  std::optional<std::string_view> computed(Property property) const {
    for (const OwnProperties& element : elements_) {
      if (const auto value = element.style[property]) {
        if (*value != "inherit") return value;
        continue;
      }
      if (const auto value = element.attribute[property]; value && *value != "inherit") return value;
    }
    return std::nullopt;
  }

  std::optional<std::string_view> own(Property property) const { return elements_.front().own(property); }

  // font-size in the text's user units: each element's own size applied from the top down.
  double fontSizeUser() const {
    double size = kDefaultFontSizePx;
    for (auto element = elements_.rbegin(); element != elements_.rend(); ++element) {
      const double inherited = size;
      const auto text = element->own(kFontSize);
      if (!text) continue;
      const auto length = parseLength(*text);
      if (!length || length->value <= 0) continue;
      switch (length->unit) {
        case LengthUnit::Percent: size = inherited * length->value / 100; break;
        case LengthUnit::Em: size = inherited * length->value; break;
        case LengthUnit::Ex: size = inherited * length->value / 2; break;
        default: size = length->value * *pointsPerUnit(length->unit) / 0.75; break;
      }
    }
    return size;
  }

 private:
  std::vector<OwnProperties> elements_;
};

// A length property (letter-spacing, baseline-shift...) in user units.
std::optional<double> lengthUser(std::string_view text, double fontSize) {
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

int cssWeight(std::string_view text) {
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

// The style of a text whose host points are `scale` times its user units; `size` gets its
// font size in user units.
TextStyle readTextStyle(pugi::xml_node node, double scale, double& size) {
  const StyleChain chain(node);
  size = chain.fontSizeUser();
  TextStyle style;
  style.font.postscriptName = node.attribute("data-font").value();
  if (const auto family = chain.computed(kFontFamily)) style.font.family = firstFamily(*family);
  if (const auto weight = chain.computed(kFontWeight)) style.font.weight = cssWeight(*weight);
  if (const auto slant = chain.computed(kFontStyle))
    style.font.slant = *slant == "italic"    ? FontSlant::Italic
                       : *slant == "oblique" ? FontSlant::Oblique
                                             : FontSlant::Upright;
  style.sizePt = size * scale;
  if (const auto anchor = chain.computed(kTextAnchor))
    style.justification = *anchor == "end"      ? Justification::Right
                          : *anchor == "middle" ? Justification::Center
                                                : Justification::Left;
  if (const auto fill = chain.computed(kFill))
    if (const auto rgb = parseCssColour(*fill)) style.fill = *rgb;
  if (const auto spacing = chain.computed(kLetterSpacing))
    if (const auto user = lengthUser(*spacing, size)) style.tracking = *user / size * 1000;
  if (const auto shift = chain.own(kBaselineShift))
    if (const auto user = lengthUser(*shift, size)) style.baselineShiftPt = *user * scale;
  if (const auto leading = chain.computed(kLineHeight)) {
    if (const auto number = parseNumber(*leading))
      style.leadingPt = *number * size * scale;  // a bare number is a multiple of the size
    else if (const auto user = lengthUser(*leading, size))
      style.leadingPt = *user * scale;
  }
  style.startIndentPt = parseNumber(node.attribute("data-indent-start").value()).value_or(0);
  style.firstLineIndentPt = parseNumber(node.attribute("data-indent-first").value()).value_or(0);
  return style;
}

// Edits of one element's style attribute, each made as Impl::setStyle makes it, but with
// the style split into its declarations once and the attribute written once at the end: a
// text's whole style is set several times for every text stamped. What the separate edits
// would leave is kept exactly: the attribute goes when its style becomes blank (and comes
// back last among the attributes when a later edit fills it again), and the document
// counts as edited whenever one of the edits changed something.
//
// The declarations stand apart as long as each ends outside quotes and brackets; when one
// does not, the edits go on over the whole text, as withStyleProperty makes them.
class StyleEdits {
 public:
  explicit StyleEdits(pugi::xml_node node) : node_(node) {
    const pugi::xml_attribute a = node.attribute("style");
    present_ = static_cast<bool>(a);
    split_ = splitStyle(a.value(), parts_);
    if (!split_) whole_ = a.value();
  }

  void set(std::string_view property, std::optional<std::string_view> value) {
    std::optional<std::string_view> declaration;
    if (value && split_) {
      std::string& text = added_.emplace_back(property);
      (text += ':') += *value;
      if (!splitStyle(text, scratch_) || scratch_.size() != 1) joinUp();
      declaration = text;
    }
    if (split_)
      setInParts(property, declaration);
    else
      setInWhole(property, value);
  }

  void write(Document::Impl& impl) {
    if (split_) joinUp();
    if (removed_ || !present_) impl.removeAttribute(node_, "style");
    if (present_) impl.setAttribute(node_, "style", whole_);
    if (changed_) impl.touch();
  }

 private:
  // What withStyleProperty does, part by part.
  void setInParts(std::string_view property, std::optional<std::string_view> declaration) {
    bool stepChanged = false, placed = false;
    std::size_t kept = 0;
    for (const std::string_view part : parts_) {
      const std::string_view name = styleDeclarationName(part);
      if (name.size() == property.size() && sameIgnoringCase(name, property)) {
        if (declaration && !placed) {
          stepChanged = stepChanged || part != *declaration;
          parts_[kept++] = *declaration;
        } else {
          stepChanged = true;
        }
        placed = true;
        continue;
      }
      parts_[kept++] = part;
    }
    parts_.resize(kept);
    if (declaration && !placed) {
      // A blank last part (after a trailing ';') is filled rather than followed.
      if (!parts_.empty() && trim(parts_.back()).empty())
        parts_.back() = *declaration;
      else
        parts_.push_back(*declaration);
      stepChanged = true;
    }
    // Blank: nothing, one blank part, or a lone ';' between blanks (which withStyleProperty clears).
    const bool blank = parts_.empty() || (parts_.size() <= 2 && trim(parts_.front()).empty() &&
                                          trim(parts_.back()).empty());
    if (blank) parts_.assign(1, std::string_view());
    settle(blank, stepChanged);
  }

  void setInWhole(std::string_view property, std::optional<std::string_view> value) {
    std::string next = withStyleProperty(whole_, property, value);
    const bool blank = trim(next).empty();
    const bool stepChanged = next != whole_;
    whole_ = blank ? std::string() : std::move(next);
    settle(blank, stepChanged);
  }

  // A blank style takes the attribute away; anything else puts it (back) or changes it.
  void settle(bool blank, bool stepChanged) {
    if (blank) {
      if (present_) removed_ = changed_ = true;
      present_ = false;
    } else {
      if (!present_ || stepChanged) changed_ = true;
      present_ = true;
    }
  }

  // From parts to the whole text.
  void joinUp() {
    whole_.clear();
    for (std::size_t i = 0; i < parts_.size(); ++i) {
      if (i > 0) whole_ += ';';
      whole_ += parts_[i];
    }
    split_ = false;
  }

  pugi::xml_node node_;
  bool split_ = false;  // the style is in parts_, else in whole_
  std::vector<std::string_view> parts_;  // into the attribute's value or added_
  std::deque<std::string> added_;        // the declarations set, where parts_ can point
  std::vector<std::string_view> scratch_;
  std::string whole_;
  bool present_ = false;  // the element has a style attribute
  bool removed_ = false;  // the one it had went on the way
  bool changed_ = false;
};

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
  double size = 0;
  return readTextStyle(node, scaleOf(impl_->localToHost(node)), size);
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
  StyleEdits edits(node);
  if (style.font.family.empty())
    edits.set("font-family", std::nullopt);
  else
    edits.set("font-family", quoteFamily(style.font.family));
  const int weight = style.font.weight;
  edits.set("font-weight", weight == 400 ? "normal" : weight == 700 ? "bold" : std::to_string(weight));
  edits.set("font-style", style.font.slant == FontSlant::Italic    ? "italic"
                          : style.font.slant == FontSlant::Oblique ? "oblique"
                                                                   : "normal");
  edits.set("font-size", formatNumber(size) + "px");
  edits.set("text-anchor", style.justification == Justification::Right    ? "end"
                           : style.justification == Justification::Center ? "middle"
                                                                          : "start");
  edits.set("fill", toHex(style.fill));
  if (style.tracking != 0)
    edits.set("letter-spacing", formatNumber(style.tracking / 1000 * size) + "px");
  else
    edits.set("letter-spacing", std::nullopt);
  if (style.baselineShiftPt != 0)
    edits.set("baseline-shift", formatNumber(style.baselineShiftPt / scale) + "px");
  else
    edits.set("baseline-shift", std::nullopt);
  if (style.leadingPt)
    edits.set("line-height", formatNumber(*style.leadingPt / scale) + "px");
  else
    edits.set("line-height", std::nullopt);
  edits.write(*impl_);
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
  const double scale = scaleOf(map);
  double size = 0;
  const TextStyle style = readTextStyle(node, scale, size);
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
