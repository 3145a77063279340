// Point texts: anchor, content, character and paragraph attributes, bounds.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "document_internal.h"
#include "mac_roman.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

// The property a declaration's name sets (names compare without case), or -1.
int declaredProperty(std::string_view name) {
  for (int p = 0; p < kStylePropertyCount; ++p)
    if (name.size() == kStylePropertyNames[p].size() && sameIgnoringCase(name, kStylePropertyNames[p])) return p;
  return -1;
}

// What one element says of the style properties, read in one pass over its attributes;
// its style attribute is left out when `withStyle` is false.
OwnStyle ownStyleOf(pugi::xml_node n, bool withStyle = true) {
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
  if (const auto only = parseNumber(a.value())) return only;  // mostly
  const auto values = parseNumberList(a.value());
  if (!values || values->empty()) return std::nullopt;
  return values->front();
}

// The anchor in the text's own coordinates: its x/y, else its first tspan's.
Point anchorOf(pugi::xml_node text) {
  std::optional<double> x = firstCoordinate(text, "x"), y = firstCoordinate(text, "y");
  for (pugi::xml_node child = text.first_child(); child && (!x || !y); child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    if (!x) x = firstCoordinate(child, "x");
    if (!y) y = firstCoordinate(child, "y");
    break;
  }
  return {x.value_or(0), y.value_or(0)};
}

// The same, kept until the text or its first tspan changes.
Point localAnchor(const Document::Impl& impl, pugi::xml_node text) {
  const auto kept = impl.anchors.find(text.internal_object());
  if (kept == impl.anchors.end())
    return impl.anchors.emplace(text.internal_object(), anchorOf(text)).first->second;
#ifndef NDEBUG
  // Testing builds check that what was kept is what the tree says.
  if (!(anchorOf(text) == kept->second))
    throw std::logic_error("a text's kept anchor differs from its attributes");
#endif
  return kept->second;
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

// What setTextStyle just wrote a text's declarations from: each reads back as exactly the
// value it was made from (numbers are written so that they do), so needs no parsing.
struct Written {
  const TextStyle& style;
  double size;  // the font size written, in user units
};

// The style of a text whose host points are `scale` times its user units, from what it
// says itself (`own`) and what it inherits.
ReadTextStyle textStyleOf(const Document::Impl& impl, pugi::xml_node node, const OwnStyle& own, double scale,
                          const Written* written = nullptr) {
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

// A text's style as read, kept until an edit could change it.
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

// A family name whose quoted declaration reads back as itself.
bool plainFamily(std::string_view family) {
  static constexpr auto kOdd = [] {
    std::array<bool, 256> odd{};
    for (int c = 0; c < 0x20; ++c) odd[c] = true;
    for (const char c : std::string_view("'\"\\;:,!/*(){}[]<>")) odd[static_cast<unsigned char>(c)] = true;
    return odd;
  }();
  if (family != trim(family)) return false;
  for (const char c : family)
    if (kOdd[static_cast<unsigned char>(c)]) return false;
  return true;
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
  StyleEdits(Document::Impl& impl, pugi::xml_node node) : impl_(impl), node_(node) {
    const pugi::xml_attribute a = node.attribute("style");
    present_ = static_cast<bool>(a);
    // The parts the last edit left, when the attribute still says what that edit wrote.
    if (const auto kept = impl.splitStyles.find(node.internal_object()); kept != impl.splitStyles.end()) {
      SplitStyle split = std::move(kept->second);
      impl.splitStyles.erase(kept);
      if (present_ && split.text == a.value()) {
        source_ = std::move(split.text);
        parts_.reserve(split.parts.size() + 4);
        for (const SplitStyle::Part& part : split.parts)
          parts_.push_back({std::string_view(source_).substr(part.begin, part.size), part.property});
        set_ = split.set;
        split_ = true;
        return;
      }
    }
    std::vector<std::string_view> parts;
    split_ = splitStyle(a.value(), parts);
    if (!split_) {
      whole_ = a.value();
      return;
    }
    parts_.reserve(parts.size() + 4);
    for (const std::string_view part : parts)
      parts_.push_back({part, declaredProperty(styleDeclarationName(part))});
  }

  void set(StyleProperty property, std::optional<std::string_view> value) {
    const std::string_view name = kStylePropertyNames[property];
    if (split_ && set_[property] && setTo(property) == value) return;  // what the last edit set
    std::optional<std::string_view> declaration;
    if (value && split_) {
      std::string& text = added_.emplace_back(name);
      (text += ':') += *value;
      // Only quotes, brackets and ';' can make a declaration more than one part.
      static constexpr auto kSplitting = [] {
        std::array<bool, 256> splitting{};
        for (const char c : std::string_view("'\"();")) splitting[static_cast<unsigned char>(c)] = true;
        return splitting;
      }();
      if (std::any_of(value->begin(), value->end(),
                      [](char c) { return kSplitting[static_cast<unsigned char>(c)]; })) {
        std::vector<std::string_view> scratch;
        if (!splitStyle(text, scratch) || scratch.size() != 1) joinUp();
      }
      declaration = text;
    }
    if (split_) {
      setInParts(property, declaration);
      set_[property] = true;
    } else {
      setInWhole(name, value);
    }
  }

  // Whether every declaration still stands apart, each as it was set.
  bool inParts() const { return split_; }

  void write() {
    const bool wasSplit = split_;
    std::vector<SplitStyle::Part> offsets;
    if (split_) offsets = joinUp();
    if (removed_ || !present_) impl_.removeAttribute(node_, "style");
    if (present_) impl_.setAttribute(node_, "style", whole_);
    if (changed_) impl_.touch();
    if (wasSplit && present_)
      impl_.splitStyles.insert_or_assign(node_.internal_object(),
                                         SplitStyle{std::move(whole_), std::move(offsets), set_});
  }

 private:
  struct Part {
    std::string_view text;  // into source_, added_ or the attribute's value
    int property = -1;
  };

  // The value a property set by the last edit has: its one declaration's, or none.
  std::optional<std::string_view> setTo(StyleProperty property) const {
    for (const Part& part : parts_)
      if (part.property == property) return part.text.substr(kStylePropertyNames[property].size() + 1);
    return std::nullopt;
  }

  // What withStyleProperty does, part by part.
  void setInParts(StyleProperty property, std::optional<std::string_view> declaration) {
    bool stepChanged = false, placed = false;
    std::size_t kept = 0;
    for (const Part& part : parts_) {
      if (part.property == property) {
        if (declaration && !placed) {
          stepChanged = stepChanged || part.text != *declaration;
          parts_[kept++] = {*declaration, property};
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
      if (!parts_.empty() && trim(parts_.back().text).empty())
        parts_.back() = {*declaration, property};
      else
        parts_.push_back({*declaration, property});
      stepChanged = true;
    }
    // Blank: nothing, one blank part, or a lone ';' between blanks (which withStyleProperty clears).
    const bool blank = parts_.empty() || (parts_.size() <= 2 && trim(parts_.front().text).empty() &&
                                          trim(parts_.back().text).empty());
    if (blank) parts_.assign(1, Part{});
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

  // From parts to the whole text; where each part went in it.
  std::vector<SplitStyle::Part> joinUp() {
    std::vector<SplitStyle::Part> offsets;
    offsets.reserve(parts_.size());
    std::size_t size = parts_.size();
    for (const Part& part : parts_) size += part.text.size();
    std::string whole;
    whole.reserve(size);
    for (const Part& part : parts_) {
      if (!offsets.empty()) whole += ';';
      offsets.push_back({static_cast<std::uint32_t>(whole.size()), static_cast<std::uint32_t>(part.text.size()),
                         part.property});
      whole += part.text;
    }
    whole_ = std::move(whole);
    split_ = false;
    return offsets;
  }

  Document::Impl& impl_;
  pugi::xml_node node_;
  bool split_ = false;  // the style is in parts_, else in whole_
  std::string source_;  // the text the last edit wrote, where kept parts point
  std::vector<Part> parts_;
  std::deque<std::string> added_;  // the declarations set, where parts_ can point
  std::array<bool, kStylePropertyCount> set_{};
  std::string whole_;
  bool present_ = false;  // the element has a style attribute
  bool removed_ = false;  // the one it had went on the way
  bool changed_ = false;
};

}  // namespace

Point Document::textAnchor(ArtHandle art) const {
  const pugi::xml_node node = impl_->text(art);
  return impl_->localToHost(node).apply(localAnchor(*impl_, node));
}

void Document::setTextAnchor(ArtHandle art, Point anchor) {
  const pugi::xml_node node = impl_->text(art);
  const auto inverse = impl_->localToHost(node).inverse();
  if (!inverse) throw std::invalid_argument("a text under a flat transform cannot be moved");
  const Point target = inverse->apply(anchor);
  const Point current = localAnchor(*impl_, node);
  const double dx = target.h - current.h, dy = target.v - current.v;
  // Move every x and y of the text and its tspans alike, so lines keep their places.
  const auto shift = [&](auto&& self, pugi::xml_node n) -> void {
    for (const auto& [name, delta] : {std::pair{"x", dx}, std::pair{"y", dy}}) {
      const pugi::xml_attribute a = n.attribute(name);
      if (!a) continue;
      std::string text;
      if (const auto only = parseNumber(a.value())) {  // mostly
        text = formatNumber(*only + delta);
      } else {
        const auto values = parseNumberList(a.value());
        if (!values) continue;
        for (double v : *values) {
          if (!text.empty()) text += ' ';
          text += formatNumber(v + delta);
        }
      }
      impl_->setAttribute(n, name, text);
    }
    for (pugi::xml_node child : n.children())
      if (child.type() == pugi::node_element) self(self, child);
  };
  if (!node.attribute("x")) impl_->setAttribute(node, "x", formatNumber(current.h));
  if (!node.attribute("y")) impl_->setAttribute(node, "y", formatNumber(current.v));
  // When the text's own x and y are one number each, where it then stands is known.
  const auto x = parseNumber(node.attribute("x").value()), y = parseNumber(node.attribute("y").value());
  shift(shift, node);
  if (!x || !y) return;
  const Point moved{*x + dx == 0 ? 0.0 : *x + dx, *y + dy == 0 ? 0.0 : *y + dy};  // written without a sign
  if (std::isfinite(moved.h) && std::isfinite(moved.v))
    impl_->anchors.insert_or_assign(node.internal_object(), moved);
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
  // A text placed by its first tspan keeps its place when the tspans go.
  const Point anchor = localAnchor(*impl_, node);
  if (!node.attribute("x")) impl_->setAttribute(node, "x", formatNumber(anchor.h));
  if (!node.attribute("y")) impl_->setAttribute(node, "y", formatNumber(anchor.v));
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
  return readStyle(*impl_, impl_->text(art)).style;
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
  // Each declaration's value, none for a property taken away.
  std::array<std::optional<std::string_view>, kStylePropertyCount> values;
  std::string family, weight, fontSize, fill, spacing, shift, leading;  // where the values are made
  if (!style.font.family.empty()) values[kFontFamily] = family = quoteFamily(style.font.family);
  values[kFontWeight] = style.font.weight == 400   ? "normal"
                        : style.font.weight == 700 ? "bold"
                                                   : std::string_view(weight = std::to_string(style.font.weight));
  values[kFontStyle] = style.font.slant == FontSlant::Italic    ? "italic"
                       : style.font.slant == FontSlant::Oblique ? "oblique"
                                                                : "normal";
  values[kFontSize] = fontSize = formatNumber(size) + "px";
  values[kTextAnchor] = style.justification == Justification::Right    ? "end"
                        : style.justification == Justification::Center ? "middle"
                                                                       : "start";
  values[kFill] = fill = toHex(style.fill);
  if (style.tracking != 0) values[kLetterSpacing] = spacing = formatNumber(style.tracking / 1000 * size) + "px";
  if (style.baselineShiftPt != 0) values[kBaselineShift] = shift = formatNumber(style.baselineShiftPt / scale) + "px";
  if (style.leadingPt) values[kLineHeight] = leading = formatNumber(*style.leadingPt / scale) + "px";

  StyleEdits edits(*impl_, node);
  for (const StyleProperty p : {kFontFamily, kFontWeight, kFontStyle, kFontSize, kTextAnchor, kFill,
                                kLetterSpacing, kBaselineShift, kLineHeight})
    edits.set(p, values[p]);
  const bool declarationsKnown = edits.inParts() && plainFamily(style.font.family);
  edits.write();
  if (style.startIndentPt != 0)
    impl_->setAttribute(node, "data-indent-start", formatNumber(style.startIndentPt));
  else
    impl_->removeAttribute(node, "data-indent-start");
  if (style.firstLineIndentPt != 0)
    impl_->setAttribute(node, "data-indent-first", formatNumber(style.firstLineIndentPt));
  else
    impl_->removeAttribute(node, "data-indent-first");

  // The host reads the style back at once: when the declarations written are exactly these
  // values, it is known without reading the attribute again.
  if (declarationsKnown) {
    OwnStyle own = ownStyleOf(node, false);
    for (int p = 0; p < kStylePropertyCount; ++p)
      if (values[p]) own.style[p] = values[p];
    const Written written{style, size};
    impl_->textStyles.insert_or_assign(node.internal_object(), textStyleOf(*impl_, node, own, scale, &written));
  }
}

Rect Document::textBounds(ArtHandle art, TextMeasurer& measurer) const {
  const pugi::xml_node node = impl_->text(art);
  const Affine map = impl_->localToHost(node);
  const Point anchor = localAnchor(*impl_, node);
  const std::string content = text(art);
  if (content.empty()) {
    const Point p = map.apply(anchor);
    return {p.h, p.v, p.h, p.v};
  }
  const double scale = scaleOf(map);
  const auto& [style, size] = readStyle(*impl_, node);
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
