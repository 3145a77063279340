// The document's internals: handles, names, edits of the tree, geometry.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cctype>
#include <set>

#include "document_internal.h"
#include "svg_syntax.h"

namespace hostsim {
namespace {

// Never reused, shared by all documents: a stale or foreign handle never
// names something by accident.
std::atomic<std::uint64_t> gNextHandle{1};

constexpr char kXmlNamespace[] = "http://www.w3.org/XML/1998/namespace";

std::pair<std::string_view, std::string_view> splitName(std::string_view qualified) {
  const auto colon = qualified.find(':');
  if (colon == std::string_view::npos) return {{}, qualified};
  return {qualified.substr(0, colon), qualified.substr(colon + 1)};
}

bool isWhitespaceText(pugi::xml_node node) {
  if (node.type() != pugi::node_pcdata) return false;
  for (const char* p = node.value(); *p; ++p)
    if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') return false;
  return true;
}

pugi::xml_node firstElementChild(pugi::xml_node node) {
  for (pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element) return child;
  return {};
}

pugi::xml_node lastElementChild(pugi::xml_node node) {
  for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
    if (child.type() == pugi::node_element) return child;
  return {};
}

}  // namespace

// --- handles -------------------------------------------------------------------

std::uint64_t Document::Impl::handleOf(pugi::xml_node node) const {
  if (!node) return 0;
  const auto it = idByNode.find(node.internal_object());
  if (it != idByNode.end()) return it->second;
  const std::uint64_t id = gNextHandle.fetch_add(1);
  idByNode.emplace(node.internal_object(), id);
  nodeById.emplace(id, node.internal_object());
  return id;
}

pugi::xml_node Document::Impl::nodeOf(std::uint64_t id) const {
  const auto it = nodeById.find(id);
  return it == nodeById.end() ? pugi::xml_node() : pugi::xml_node(it->second);
}

pugi::xml_node Document::Impl::art(ArtHandle handle) const {
  const pugi::xml_node node = nodeOf(handle.id);
  if (!node) throw InvalidArtError("art handle " + std::to_string(handle.id) + " names no art of this document");
  return node;
}

pugi::xml_node Document::Impl::layer(LayerHandle handle) const {
  const pugi::xml_node node = nodeOf(handle.id);
  if (!node || !isLayer(node))
    throw InvalidArtError("layer handle " + std::to_string(handle.id) + " names no layer of this document");
  return node;
}

pugi::xml_node Document::Impl::text(ArtHandle handle) const {
  const pugi::xml_node node = art(handle);
  if (kindOf(node) != ArtKind::PointText)
    throw std::invalid_argument(std::string("art <") + node.name() + "> is not a point text");
  return node;
}

// --- names and namespaces -----------------------------------------------------

const char* Document::Impl::namespaceOf(pugi::xml_node scope, std::string_view prefix) {
  if (prefix == "xml") return kXmlNamespace;
  const std::string declaration = prefix.empty() ? "xmlns" : "xmlns:" + std::string(prefix);
  for (pugi::xml_node node = scope; node; node = node.parent()) {
    if (node.type() != pugi::node_element) continue;
    if (const pugi::xml_attribute a = node.attribute(declaration.c_str())) return a.value();
  }
  return nullptr;
}

bool Document::Impl::isElement(pugi::xml_node node, std::string_view ns, std::string_view local) {
  if (node.type() != pugi::node_element) return false;
  const auto [prefix, name] = splitName(node.name());
  if (name != local) return false;
  const char* uri = namespaceOf(node, prefix);
  return uri && ns == uri;
}

bool Document::Impl::isSvg(pugi::xml_node node, std::string_view local) {
  if (node.type() != pugi::node_element) return false;
  const auto [prefix, name] = splitName(node.name());
  if (name != local) return false;
  const char* uri = namespaceOf(node, prefix);
  // A bare <svg> without any namespace is taken as SVG too.
  return uri ? std::string_view(uri) == kSvgNamespace : prefix.empty();
}

pugi::xml_attribute Document::Impl::attribute(pugi::xml_node node, std::string_view ns,
                                              std::string_view local) {
  for (pugi::xml_attribute a : node.attributes()) {
    const auto [prefix, name] = splitName(a.name());
    if (prefix.empty() || name != local) continue;
    const char* uri = namespaceOf(node, prefix);
    if (uri && ns == uri) return a;
  }
  return {};
}

std::string Document::Impl::qualifiedName(std::string_view ns, std::string_view local,
                                          std::string_view prefix) {
  // A declared prefix that is not a name could never name anything: one with a colon of its
  // own, or one starting with a digit, a hyphen or a dot (a new element would start "<-").
  const auto usable = [](std::string_view declared) {
    const auto c = static_cast<unsigned char>(declared.empty() ? '0' : declared.front());
    return declared.find(':') == std::string_view::npos && (std::isalpha(c) || c == '_' || c >= 0x80);
  };
  const pugi::xml_node r = root();
  for (pugi::xml_attribute a : r.attributes()) {
    const std::string_view name = a.name();
    if (name.substr(0, 6) == "xmlns:" && ns == a.value() && usable(name.substr(6)))
      return std::string(name.substr(6)) + ":" + std::string(local);
  }
  // A prefix some element or attribute already uses, even undeclared, is not free: binding
  // it would give those names a namespace they never had (an unbound inkscape:page would
  // turn into a page).
  std::set<std::string, std::less<>> used;
  const auto note = [&](std::string_view name) {
    const std::string_view usedPrefix = splitName(name).first;
    if (!usedPrefix.empty()) used.emplace(usedPrefix);
  };
  forEachBelow(xml, [&](pugi::xml_node n, int) {
    if (n.type() != pugi::node_element) return;
    note(n.name());
    for (pugi::xml_attribute a : n.attributes()) note(a.name());
  });
  std::string chosen(prefix);
  for (int n = 2; r.attribute(("xmlns:" + chosen).c_str()) || used.contains(chosen); ++n)
    chosen = std::string(prefix) + std::to_string(n);
  setAttribute(r, "xmlns:" + chosen, ns);
  return chosen + ":" + std::string(local);
}

std::string Document::Impl::svgName(std::string_view local) const {
  const auto [prefix, name] = splitName(root().name());
  return prefix.empty() ? std::string(local) : std::string(prefix) + ":" + std::string(local);
}

// --- edits ---------------------------------------------------------------------

void Document::Impl::setAttribute(pugi::xml_node node, std::string_view name, std::string_view value) {
  const NulTerminated n(name);
  pugi::xml_attribute a = node.attribute(n.c_str());
  if (a && value == a.value()) return;
  if (name == "id") {
    if (a) idRemoved(a.value());
    idAdded(value);
  }
  if (name.starts_with("xmlns")) pagesFound.reset();
  attributeEdited(node, name);
  if (!a) a = node.append_attribute(n.c_str());
  a.set_value(value.data(), value.size());
  touch();
}

void Document::Impl::removeAttribute(pugi::xml_node node, std::string_view name) {
  const pugi::xml_attribute a = node.attribute(NulTerminated(name).c_str());
  if (!a) return;
  if (name == "id") idRemoved(a.value());
  if (name.starts_with("xmlns")) pagesFound.reset();
  attributeEdited(node, name);
  if (layout) layout->forget(a);
  node.remove_attribute(a);
  touch();
}

void Document::Impl::attributeEdited(pugi::xml_node node, std::string_view name) {
  if (name.starts_with("xmlns") || name.ends_with(":groupmode")) kinds.clear();
  if (name == "x" || name == "y") {  // a text's, or its first tspan's
    anchors.erase(node.internal_object());
    anchors.erase(node.parent().internal_object());
    return;
  }
  if (name == "transform") {
    toHost.clear();
    textStyles.clear();  // sizes in points follow the scale
    return;
  }
  const bool styleInput = name == "style" || name == "data-font" || name == "data-indent-start" ||
                          name == "data-indent-first" ||
                          std::find(std::begin(kStylePropertyNames), std::end(kStylePropertyNames), name) !=
                              std::end(kStylePropertyNames);
  if (!styleInput) return;
  // A text is read from itself and the elements above it, never from another text.
  if (splitName(node.name()).second == "text") {
    textStyles.erase(node.internal_object());
    return;
  }
  inheritedStyles.clear();
  textStyles.clear();
}

void Document::Impl::setAttributeNs(pugi::xml_node node, std::string_view ns, std::string_view local,
                                    std::string_view prefix, std::string_view value) {
  if (const pugi::xml_attribute a = attribute(node, ns, local)) {
    setAttribute(node, a.name(), value);
    return;
  }
  setAttribute(node, qualifiedName(ns, local, prefix), value);
}

void Document::Impl::removeAttributeNs(pugi::xml_node node, std::string_view ns, std::string_view local) {
  while (const pugi::xml_attribute a = attribute(node, ns, local)) removeAttribute(node, a.name());
}

void Document::Impl::setStyle(pugi::xml_node node, std::string_view property,
                              std::optional<std::string_view> value) {
  const std::string style = withStyleProperty(node.attribute("style").value(), property, value);
  if (trim(style).empty())
    removeAttribute(node, "style");
  else
    setAttribute(node, "style", style);
}

void Document::Impl::removeNode(pugi::xml_node node) {
  if (idsCounted) {
    const auto forget = [&](pugi::xml_node n, int) {
      if (const pugi::xml_attribute id = n.attribute("id")) idRemoved(id.value());
    };
    forget(node, 0);
    forEachBelow(node, forget);
  }
  const auto forget = [&](pugi::xml_node n, int) {
    forgetCached(n.internal_object());
    const auto it = idByNode.find(n.internal_object());
    if (it == idByNode.end()) return;
    nodeById.erase(it->second);
    idByNode.erase(it);
  };
  forget(node, 0);
  forEachBelow(node, forget);
  if (layout) layout->forget(node);
  pagesMayChange(node.parent());
  anchors.erase(node.parent().internal_object());
  node.parent().remove_child(node);
  touch();
}

void Document::Impl::removeChildren(pugi::xml_node node) {
  while (const pugi::xml_node child = node.first_child()) removeNode(child);
}

pugi::xml_node Document::Impl::insertElement(pugi::xml_node reference, Placement placement,
                                             const char* name) {
  // New elements copy the indentation that precedes their neighbour.
  const auto after = [&](pugi::xml_node ref) {
    pugi::xml_node parent = ref.parent();
    pugi::xml_node node = parent.insert_child_after(name, ref);
    const pugi::xml_node before = ref.previous_sibling();
    if (isWhitespaceText(before))
      parent.insert_child_after(pugi::node_pcdata, ref).set_value(before.value());
    return node;
  };
  const auto beforeOf = [&](pugi::xml_node ref) {
    pugi::xml_node parent = ref.parent();
    pugi::xml_node node = parent.insert_child_before(name, ref);
    const pugi::xml_node previous = node.previous_sibling();
    if (isWhitespaceText(previous))
      parent.insert_child_after(pugi::node_pcdata, node).set_value(previous.value());
    return node;
  };
  pugi::xml_node node;
  switch (placement) {
    case Placement::InsideOnTop:
      if (const pugi::xml_node last = lastElementChild(reference))
        node = after(last);
      else
        node = reference.append_child(name);
      break;
    case Placement::InsideOnBottom:
      if (const pugi::xml_node first = firstElementChild(reference))
        node = beforeOf(first);
      else
        node = reference.append_child(name);
      break;
    case Placement::Above: node = after(reference); break;
    case Placement::Below: node = beforeOf(reference); break;
  }
  pagesMayChange(node.parent());
  anchors.erase(node.parent().internal_object());
  touch();
  return node;
}

void Document::Impl::idAdded(std::string_view id) const {
  if (idsCounted) ++idCount[std::string(id)];
}

void Document::Impl::idRemoved(std::string_view id) const {
  if (!idsCounted) return;
  const auto it = idCount.find(std::string(id));
  if (it == idCount.end() || --it->second > 0) return;
  idCount.erase(it);
  // stem + number, the number without leading zeros: that number is free again.
  std::size_t digits = id.size();
  while (digits > 0 && id[digits - 1] >= '0' && id[digits - 1] <= '9') --digits;
  if (digits == id.size() || id[digits] == '0' || id.size() - digits > 9) return;
  const int number = std::stoi(std::string(id.substr(digits)));
  const auto free = firstFreeNumber.find(std::string(id.substr(0, digits)));
  if (free != firstFreeNumber.end() && number < free->second) free->second = number;
}

std::string Document::Impl::uniqueId(std::string_view stem) const {
  if (!idsCounted) {
    idsCounted = true;
    forEachBelow(xml, [&](pugi::xml_node n, int) {
      if (n.type() == pugi::node_element)
        if (const pugi::xml_attribute id = n.attribute("id")) ++idCount[id.value()];
    });
  }
  // The smallest free number, as the caller gives the id to a new element at once.
  int& n = firstFreeNumber.try_emplace(std::string(stem), 1).first->second;
  for (;; ++n) {
    std::string candidate = std::string(stem) + std::to_string(n);
    if (!idCount.contains(candidate)) return candidate;
  }
}

// --- structure -----------------------------------------------------------------

bool Document::Impl::isLayer(pugi::xml_node node) const {
  return node.parent() == root() && isSvg(node, "g") &&
         std::string_view(attribute(node, kInkscapeNamespace, "groupmode").value()) == "layer";
}

std::vector<pugi::xml_node> Document::Impl::layersInDocumentOrder() const {
  std::vector<pugi::xml_node> layers;
  for (pugi::xml_node child : root().children())
    if (isLayer(child)) layers.push_back(child);
  return layers;
}

ArtKind Document::Impl::kindOf(pugi::xml_node node) const {
  if (const auto kept = kinds.find(node.internal_object()); kept != kinds.end()) return kept->second;
  const ArtKind kind = isLayer(node)           ? ArtKind::LayerGroup
                       : isSvg(node, "g")    ? ArtKind::Group
                       : isSvg(node, "text") ? ArtKind::PointText
                                             : ArtKind::Other;
  kinds.emplace(node.internal_object(), kind);
  return kind;
}

bool Document::Impl::isRendered(pugi::xml_node node) {
  static constexpr std::string_view kNotRendered[] = {
      "defs",   "metadata", "title",  "desc",    "style",          "script",
      "symbol", "clipPath", "mask",   "pattern", "marker",         "linearGradient",
      "filter", "font",     "cursor", "view",    "radialGradient", "foreignObject"};
  if (node.type() != pugi::node_element) return false;
  const auto [prefix, name] = splitName(node.name());
  const char* uri = namespaceOf(node, prefix);
  const bool svg = uri ? std::string_view(uri) == kSvgNamespace : prefix.empty();
  if (!svg) return false;
  for (std::string_view hidden : kNotRendered)
    if (name == hidden) return false;
  return true;
}

bool Document::Impl::ownLocked(pugi::xml_node node) {
  const std::string_view value = attribute(node, kSodipodiNamespace, "insensitive").value();
  return value == "true" || value == "1";
}

bool Document::Impl::ownHidden(pugi::xml_node node) {
  const std::string style = node.attribute("style").value();
  const auto display = styleProperty(style, "display");
  const std::string displayValue = display ? *display : node.attribute("display").value();
  const auto visibility = styleProperty(style, "visibility");
  const std::string visibilityValue = visibility ? *visibility : node.attribute("visibility").value();
  return displayValue == "none" || visibilityValue == "hidden" || visibilityValue == "collapse";
}

// --- geometry --------------------------------------------------------------------

Affine Document::Impl::localToHost(pugi::xml_node node) const {
  if (!node || node == root()) return userToHost;
  const auto own = [&](Affine map) {
    // A malformed transform is ignored, as browsers do.
    if (const auto t = parseTransform(node.attribute("transform").value())) map = map * *t;
    return map;
  };
  if (const auto it = toHost.find(node.internal_object()); it != toHost.end()) {
#ifndef NDEBUG
    // Testing builds check that what was kept is what the tree says.
    Affine fresh = userToHost;
    std::vector<pugi::xml_node> chain;
    for (pugi::xml_node n = node; n && n != root(); n = n.parent()) chain.push_back(n);
    for (auto n = chain.rbegin(); n != chain.rend(); ++n)
      if (const auto t = parseTransform(n->attribute("transform").value())) fresh = fresh * *t;
    if (!(fresh == it->second)) throw std::logic_error("an element's kept transform differs from its attributes");
#endif
    return it->second;
  }
  const Affine map = own(localToHost(node.parent()));  // no deeper than the nesting a file may have
  toHost.emplace(node.internal_object(), map);
  return map;
}

Affine Document::Impl::parentToHost(pugi::xml_node node) const {
  const pugi::xml_node parent = node.parent();
  return parent == root() ? userToHost : localToHost(parent);
}

pugi::xml_node Document::Impl::namedView() const {
  for (pugi::xml_node child : root().children())
    if (isElement(child, kSodipodiNamespace, "namedview")) return child;
  return {};
}

const std::vector<pugi::xml_node>& Document::Impl::pages() const {
  if (pagesFound) return *pagesFound;
  std::vector<pugi::xml_node>& result = pagesFound.emplace();
  if (const pugi::xml_node view = namedView())
    for (pugi::xml_node child : view.children())
      if (isElement(child, kInkscapeNamespace, "page")) result.push_back(child);
  return result;
}

Rect Document::Impl::pageRect(pugi::xml_node page) const {
  const auto number = [&](const char* name) {
    return parseNumber(page.attribute(name).value()).value_or(0.0);
  };
  const double x = number("x"), y = number("y");
  return boundsOfBox(userToHost, x, y, x + number("width"), y + number("height"));
}

}  // namespace hostsim
