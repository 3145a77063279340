// Point texts: anchor, content and bounds. Their styles are read in document_style.cpp and
// set in document_style_edits.cpp.
#include <cmath>
#include <stdexcept>

#include "document_internal.h"
#include "mac_roman.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

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
