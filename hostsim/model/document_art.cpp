// The art tree: navigation, creation, disposal, moves, tags and matching.
#include <cmath>

#include "document_internal.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

const char* kindName(ArtKind kind) {
  switch (kind) {
    case ArtKind::LayerGroup: return "layer group";
    case ArtKind::Group: return "group";
    case ArtKind::PointText: return "point text";
    case ArtKind::Other: return "other art";
  }
  return "art";
}

void checkTagName(std::string_view name) {
  bool ok = !name.empty();
  for (char c : name)
    ok = ok && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                c == '_' || c == '-' || c == '.');
  if (!ok)
    throw std::invalid_argument("tag name \"" + std::string(name) +
                                "\" must be letters, digits, '_', '-' or '.'");
}

bool isWhitespaceText(pugi::xml_node node) {
  if (node.type() != pugi::node_pcdata) return false;
  for (const char* p = node.value(); *p; ++p)
    if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') return false;
  return true;
}

}  // namespace

bool Document::valid(ArtHandle art) const { return static_cast<bool>(impl_->nodeOf(art.id)); }

ArtKind Document::kind(ArtHandle art) const { return impl_->kindOf(impl_->art(art)); }

ArtHandle Document::firstChild(ArtHandle art) const {
  const pugi::xml_node node = impl_->art(art);
  const ArtKind k = impl_->kindOf(node);
  if (k != ArtKind::LayerGroup && k != ArtKind::Group) return {};
  for (pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element) return {impl_->handleOf(child)};
  return {};
}

ArtHandle Document::nextSibling(ArtHandle art) const {
  const pugi::xml_node node = impl_->art(art);
  if (impl_->isLayer(node)) return {};
  const bool topLevel = node.parent() == impl_->root();
  for (pugi::xml_node next = node.next_sibling(); next; next = next.next_sibling()) {
    if (next.type() != pugi::node_element) continue;
    // At the top level only loose art counts: layers, defs and the namedview are not siblings.
    if (topLevel && (impl_->isLayer(next) || !Impl::isRendered(next))) continue;
    return {impl_->handleOf(next)};
  }
  return {};
}

ArtHandle Document::parent(ArtHandle art) const {
  const pugi::xml_node node = impl_->art(art);
  const pugi::xml_node up = node.parent();
  if (!up || up == impl_->root() || up.type() != pugi::node_element) return {};
  return {impl_->handleOf(up)};
}

bool Document::locked(ArtHandle art) const {
  for (pugi::xml_node n = impl_->art(art); n && n != impl_->root(); n = n.parent())
    if (Impl::ownLocked(n)) return true;
  return false;
}

bool Document::hidden(ArtHandle art) const {
  for (pugi::xml_node n = impl_->art(art); n && n != impl_->root(); n = n.parent())
    if (Impl::ownHidden(n)) return true;
  return false;
}

void Document::setLocked(ArtHandle art, bool locked) {
  const pugi::xml_node node = impl_->art(art);
  if (locked)
    impl_->setAttributeNs(node, kSodipodiNamespace, "insensitive", "sodipodi", "true");
  else
    impl_->removeAttributeNs(node, kSodipodiNamespace, "insensitive");
}

void Document::setHidden(ArtHandle art, bool hidden) {
  const pugi::xml_node node = impl_->art(art);
  if (hidden) {
    impl_->setStyle(node, "display", "none");
  } else {
    // Layers say display:inline when shown; other art just drops the property.
    if (impl_->isLayer(node))
      impl_->setStyle(node, "display", "inline");
    else
      impl_->setStyle(node, "display", std::nullopt);
    impl_->setStyle(node, "visibility", std::nullopt);
    impl_->removeAttribute(node, "display");
    impl_->removeAttribute(node, "visibility");
  }
}

namespace {

void checkPlacement(const Document::Impl& impl, pugi::xml_node reference, Placement placement) {
  const ArtKind k = impl.kindOf(reference);
  const bool inside = placement == Placement::InsideOnTop || placement == Placement::InsideOnBottom;
  if (inside && k != ArtKind::LayerGroup && k != ArtKind::Group)
    throw std::invalid_argument(std::string("new art cannot go inside a ") + kindName(k));
  if (!inside && k == ArtKind::LayerGroup)
    throw std::invalid_argument("new art cannot go above or below a layer group, only inside it");
}

}  // namespace

ArtHandle Document::newGroup(ArtHandle reference, Placement placement) {
  const pugi::xml_node ref = impl_->art(reference);
  checkPlacement(*impl_, ref, placement);
  const pugi::xml_node node = impl_->insertElement(ref, placement, impl_->svgName("g").c_str());
  impl_->setAttribute(node, "id", impl_->uniqueId("g"));
  return {impl_->handleOf(node)};
}

ArtHandle Document::newPointText(ArtHandle reference, Placement placement, Point anchor) {
  const pugi::xml_node ref = impl_->art(reference);
  checkPlacement(*impl_, ref, placement);
  // Under a flat transform a text would have no size and no place: refused before anything
  // is made, so that no half-made text stays behind.
  const bool inside = placement == Placement::InsideOnTop || placement == Placement::InsideOnBottom;
  if (!impl_->localToHost(inside ? ref : ref.parent()).inverse())
    throw std::invalid_argument("a text under a flat transform has no size");
  const pugi::xml_node node = impl_->insertElement(ref, placement, impl_->svgName("text").c_str());
  impl_->setAttribute(node, "xml:space", "preserve");
  impl_->setAttribute(node, "id", impl_->uniqueId("text"));
  const ArtHandle handle{impl_->handleOf(node)};
  // The anchor in the text's own coordinates, written at once.
  const Point at = impl_->localToHost(node).inverse().value().apply(anchor);
  impl_->setAttribute(node, "x", formatNumber(at.h));
  impl_->setAttribute(node, "y", formatNumber(at.v));
  setTextStyle(handle, TextStyle{});
  impl_->addedTexts.push_back(handle.id);
  return handle;
}

void Document::dispose(ArtHandle art) {
  const pugi::xml_node node = impl_->art(art);
  // Take the indentation before it along, so repeated runs leave no blank lines.
  const pugi::xml_node before = node.previous_sibling();
  if (isWhitespaceText(before)) impl_->removeNode(before);
  impl_->removeNode(node);
}

void Document::translate(ArtHandle art, double dh, double dv) {
  const pugi::xml_node node = impl_->art(art);
  if (dh == 0 && dv == 0) return;
  if (impl_->kindOf(node) == ArtKind::PointText) {
    setTextAnchor(art, [&] {
      const Point p = textAnchor(art);
      return Point{p.h + dh, p.v + dv};
    }());
    return;
  }
  const auto inverse = impl_->parentToHost(node).inverse();
  if (!inverse) throw std::invalid_argument("art under a flat transform cannot be moved");
  const Point d = inverse->applyLinear({dh, dv});
  const std::string existing = node.attribute("transform").value();
  const auto parsed = parseTransform(existing);
  std::string transform;
  if (trim(existing).empty()) {
    transform = "translate(" + formatNumber(d.h) + "," + formatNumber(d.v) + ")";
  } else if (parsed && trim(existing).substr(0, 10) == "translate(" &&
             trim(existing).find(')') == trim(existing).size() - 1) {
    // A lone translate() absorbs the move instead of growing a chain.
    transform = "translate(" + formatNumber(parsed->e + d.h) + "," + formatNumber(parsed->f + d.v) + ")";
  } else {
    transform = "translate(" + formatNumber(d.h) + "," + formatNumber(d.v) + ") " + existing;
  }
  impl_->setAttribute(node, "transform", transform);
}

std::vector<ArtHandle> Document::allArt() const {
  std::vector<ArtHandle> found;
  const auto visit = [&](auto&& self, pugi::xml_node parent) -> void {
    for (pugi::xml_node child : parent.children()) {
      if (!Impl::isRendered(child)) continue;
      found.push_back({impl_->handleOf(child)});
      // Texts hold tspans, not art; a nested <svg> has a viewport of its own.
      if (Impl::isSvg(child, "text") || Impl::isSvg(child, "svg")) continue;
      self(self, child);
    }
  };
  visit(visit, impl_->root());
  return found;
}

std::vector<ArtHandle> Document::matchingArt(ArtKind kind, LockFilter filter) const {
  std::vector<ArtHandle> found;
  for (ArtHandle art : allArt()) {
    if (kind != this->kind(art)) continue;
    if (filter != LockFilter::Any && (filter == LockFilter::Locked) != locked(art)) continue;
    found.push_back(art);
  }
  return found;
}

void Document::setTag(ArtHandle art, std::string_view name, std::string_view value,
                      std::string_view type) {
  checkTagName(name);
  const pugi::xml_node node = impl_->art(art);
  impl_->setAttribute(node, "data-tag-" + std::string(name), value);
  if (type == "string")
    impl_->removeAttribute(node, "data-tagtype-" + std::string(name));
  else
    impl_->setAttribute(node, "data-tagtype-" + std::string(name), type);
}

std::optional<Tag> Document::tag(ArtHandle art, std::string_view name) const {
  checkTagName(name);
  const pugi::xml_node node = impl_->art(art);
  const pugi::xml_attribute value = node.attribute(("data-tag-" + std::string(name)).c_str());
  if (!value) return std::nullopt;
  const pugi::xml_attribute type = node.attribute(("data-tagtype-" + std::string(name)).c_str());
  return Tag{type ? type.value() : "string", value.value()};
}

std::string Document::elementId(ArtHandle art) const { return impl_->art(art).attribute("id").value(); }

std::string Document::elementName(ArtHandle art) const {
  const std::string_view name = impl_->art(art).name();
  const auto colon = name.find(':');
  return std::string(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

}  // namespace hostsim
