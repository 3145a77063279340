// Layers: the top-level <g inkscape:groupmode="layer"> elements.
#include "document_internal.h"
#include "svg_syntax.h"

namespace hostsim {

int Document::layerCount() const { return static_cast<int>(impl_->layersInDocumentOrder().size()); }

LayerHandle Document::layer(int index) const {
  const auto layers = impl_->layersInDocumentOrder();
  const int count = static_cast<int>(layers.size());
  if (index < 0 || index >= count)
    throw std::out_of_range("layer " + std::to_string(index) + " does not exist (the document has " +
                            std::to_string(count) + ")");
  // Index 0 is the topmost layer, painted last.
  return {impl_->handleOf(layers[static_cast<std::size_t>(count - 1 - index)])};
}

std::optional<int> Document::layerIndex(LayerHandle handle) const {
  const pugi::xml_node node = impl_->layer(handle);
  const auto layers = impl_->layersInDocumentOrder();
  for (std::size_t i = 0; i < layers.size(); ++i)
    if (layers[i] == node) return static_cast<int>(layers.size() - 1 - i);
  return std::nullopt;
}

bool Document::valid(LayerHandle handle) const {
  const pugi::xml_node node = impl_->nodeOf(handle.id);
  return node && impl_->isLayer(node);
}

LayerHandle Document::currentLayer() const {
  if (valid(LayerHandle{impl_->currentLayer})) return {impl_->currentLayer};
  // The current layer was removed: fall back to the topmost one.
  const auto layers = impl_->layersInDocumentOrder();
  return layers.empty() ? LayerHandle{} : LayerHandle{impl_->handleOf(layers.back())};
}

void Document::setCurrentLayer(LayerHandle handle) {
  impl_->layer(handle);
  impl_->currentLayer = handle.id;
}

LayerHandle Document::insertLayer(LayerHandle relativeTo, LayerPlacement placement) {
  const auto layers = impl_->layersInDocumentOrder();
  const bool hadLayers = !layers.empty();
  const std::string name = impl_->svgName("g");
  pugi::xml_node node;
  switch (placement) {
    case LayerPlacement::Above:
      node = impl_->insertElement(impl_->layer(relativeTo), Placement::Above, name.c_str());
      break;
    case LayerPlacement::Below:
      node = impl_->insertElement(impl_->layer(relativeTo), Placement::Below, name.c_str());
      break;
    case LayerPlacement::AboveAll:
      node = impl_->insertElement(impl_->root(), Placement::InsideOnTop, name.c_str());
      break;
    case LayerPlacement::BelowAll:
      node = hadLayers ? impl_->insertElement(layers.front(), Placement::Below, name.c_str())
                       : impl_->insertElement(impl_->root(), Placement::InsideOnTop, name.c_str());
      break;
  }
  impl_->setAttributeNs(node, kInkscapeNamespace, "groupmode", "inkscape", "layer");
  impl_->setAttribute(node, "id", impl_->uniqueId("layer"));
  const LayerHandle handle{impl_->handleOf(node)};
  if (!hadLayers) impl_->currentLayer = handle.id;
  return handle;
}

std::string Document::layerTitle(LayerHandle handle) const {
  return Impl::attribute(impl_->layer(handle), kInkscapeNamespace, "label").value();
}

void Document::setLayerTitle(LayerHandle handle, std::string_view utf8) {
  impl_->setAttributeNs(impl_->layer(handle), kInkscapeNamespace, "label", "inkscape", utf8);
}

bool Document::layerLocked(LayerHandle handle) const { return Impl::ownLocked(impl_->layer(handle)); }

bool Document::layerHidden(LayerHandle handle) const { return Impl::ownHidden(impl_->layer(handle)); }

bool Document::layerEditable(LayerHandle handle) const {
  return !layerLocked(handle) && !layerHidden(handle);
}

void Document::setLayerLocked(LayerHandle handle, bool locked) {
  setLocked(layerGroup(handle), locked);
}

void Document::setLayerHidden(LayerHandle handle, bool hidden) {
  setHidden(layerGroup(handle), hidden);
}

ArtHandle Document::layerGroup(LayerHandle handle) const {
  impl_->layer(handle);  // validity
  return {handle.id};    // a layer and its group are one element
}

LayerHandle Document::layerOf(ArtHandle art) const {
  pugi::xml_node node = impl_->art(art);
  while (node && node.parent() != impl_->root()) node = node.parent();
  return node && impl_->isLayer(node) ? LayerHandle{impl_->handleOf(node)} : LayerHandle{};
}

}  // namespace hostsim
