// Point texts' styles as set: each property written as a declaration of the text's style
// attribute, and the style then known without reading the attribute again.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <stdexcept>
#include <vector>

#include "document_internal.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

std::string quoteFamily(std::string_view family) {
  std::string out = "'";
  for (char c : family) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
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
    const WrittenStyle written{style, size};
    impl_->textStyles.insert_or_assign(node.internal_object(), textStyleOf(*impl_, node, own, scale, &written));
  }
}

}  // namespace hostsim
