// The document's art: the art tree, layers, tags, matching art and its memory handles,
// transformation, and the real math that builds matrices.
//
// Art and layer handles are the document model's never-reused numbers: a handle of art
// since disposed of, or of another document, names nothing and is simply refused.
#include "hostsim/suites/art_suites.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/mac_roman.h"
#include "hostsim/suites/doc_support.h"

namespace hostsim {

int16_t artType(const Document& document, ArtHandle art) {
  switch (document.kind(art)) {
    case ArtKind::LayerGroup:
    case ArtKind::Group: return kGroupArt;
    case ArtKind::PointText: return kTextFrameArt;
    case ArtKind::Other: break;
  }
  static constexpr std::string_view kPathLike[] = {"path", "rect", "circle", "ellipse", "line", "polyline", "polygon"};
  const std::string name = document.elementName(art);
  return std::find(std::begin(kPathLike), std::end(kPathLike), name) != std::end(kPathLike) ? kPathArt : kUnknownArt;
}

ASErr newArtPlace(const Document& document, int16_t paintOrder, AIArtHandle prep, ArtPlace& place) {
  switch (paintOrder) {
    case kPlaceAbove: place = {modelArt(prep), Placement::Above}; break;
    case kPlaceBelow: place = {modelArt(prep), Placement::Below}; break;
    case kPlaceInsideOnTop: place = {modelArt(prep), Placement::InsideOnTop}; break;
    case kPlaceInsideOnBottom: place = {modelArt(prep), Placement::InsideOnBottom}; break;
    case kPlaceAboveAll:
    case kPlaceBelowAll: {
      const LayerHandle layer = document.currentLayer();
      if (!layer) return kBadParameterErr;
      place = {document.layerGroup(layer),
               paintOrder == kPlaceAboveAll ? Placement::InsideOnTop : Placement::InsideOnBottom};
      break;
    }
    default: return kBadParameterErr;
  }
  if (!place.reference || !document.valid(place.reference)) return kBadParameterErr;
  const bool inside = place.placement == Placement::InsideOnTop || place.placement == Placement::InsideOnBottom;
  const ArtHandle container = inside ? place.reference : document.parent(place.reference);
  if (container && (document.locked(container) || document.hidden(container))) return kLockedContainerErr;
  return kNoErr;
}

namespace {

// --- AI Art ------------------------------------------------------------------------------

ASErr newArt(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
  if (newArt != nullptr) *newArt = nullptr;
  HOSTSIM_ENTER("AI Art Suite.NewArt");
  if (newArt == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  // Only groups: the host's other art kinds are not modelled.
  if (type != kGroupArt) return kBadParameterErr;
  return guarded([&] {
    ArtPlace place{};
    if (ASErr error = newArtPlace(*document, paintOrder, prep, place)) return error;
    *newArt = pluginArt(document->newGroup(place.reference, place.placement));
    return kNoErr;
  });
}

ASErr disposeArt(AIArtHandle art) {
  HOSTSIM_ENTER("AI Art Suite.DisposeArt");
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    // A layer goes only with its layer, never as art. Locked art may go: the lock guards
    // against the user's hand, not against the plug-in that made it.
    if (!handle || !document->valid(handle) || document->kind(handle) == ArtKind::LayerGroup) return kBadParameterErr;
    document->dispose(handle);
    return kNoErr;
  });
}

ASErr getArtType(AIArtHandle art, int16_t* type) {
  HOSTSIM_ENTER("AI Art Suite.GetArtType");
  if (type == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    *type = artType(*document, handle);
    return kNoErr;
  });
}

// The art next to `art` in the tree (its first child, its next sibling), once the call
// is counted.
ASErr relativeArt(AIArtHandle art, AIArtHandle* out, ArtHandle (Document::*step)(ArtHandle) const) {
  if (out == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    *out = pluginArt((document->*step)(handle));
    return kNoErr;
  });
}

ASErr getArtFirstChild(AIArtHandle art, AIArtHandle* child) {
  if (child != nullptr) *child = nullptr;
  HOSTSIM_ENTER("AI Art Suite.GetArtFirstChild");
  return relativeArt(art, child, &Document::firstChild);
}

ASErr getArtSibling(AIArtHandle art, AIArtHandle* sibling) {
  if (sibling != nullptr) *sibling = nullptr;
  HOSTSIM_ENTER("AI Art Suite.GetArtSibling");
  return relativeArt(art, sibling, &Document::nextSibling);
}

ASErr getFirstArtOfLayer(AILayerHandle layer, AIArtHandle* art) {
  if (art != nullptr) *art = nullptr;
  HOSTSIM_ENTER("AI Art Suite.GetFirstArtOfLayer");
  if (art == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const LayerHandle handle = modelLayer(layer);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    *art = pluginArt(document->layerGroup(handle));
    return kNoErr;
  });
}

// The union of the bounds of the texts in and under a group; empty texts take no room.
void unionOfTexts(const Document& document, ArtHandle group, TextMeasurer& measurer, std::optional<Rect>& bounds) {
  for (ArtHandle child = document.firstChild(group); child; child = document.nextSibling(child)) {
    switch (document.kind(child)) {
      case ArtKind::PointText: {
        if (document.text(child).empty()) break;
        const Rect r = document.textBounds(child, measurer);
        if (!bounds) {
          bounds = r;
        } else {
          bounds->left = std::min(bounds->left, r.left);
          bounds->top = std::max(bounds->top, r.top);
          bounds->right = std::max(bounds->right, r.right);
          bounds->bottom = std::min(bounds->bottom, r.bottom);
        }
        break;
      }
      case ArtKind::Group:
      case ArtKind::LayerGroup: unionOfTexts(document, child, measurer, bounds); break;
      case ArtKind::Other: break;
    }
  }
}

ASErr getArtBounds(AIArtHandle art, AIRealRect* bounds) {
  HOSTSIM_ENTER("AI Art Suite.GetArtBounds");
  if (bounds == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  Document* document = host.document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    FontMetrics& metrics = host.textMetrics();
    std::optional<Rect> rect;
    switch (document->kind(handle)) {
      case ArtKind::PointText: rect = document->textBounds(handle, metrics); break;
      case ArtKind::Group:
      case ArtKind::LayerGroup:
        unionOfTexts(*document, handle, metrics, rect);
        if (!rect) rect = Rect{};  // nothing measurable inside
        break;
      case ArtKind::Other: return kNotImplementedErr;  // paths are not measured here
    }
    *bounds = {static_cast<AIReal>(rect->left), static_cast<AIReal>(rect->top), static_cast<AIReal>(rect->right),
               static_cast<AIReal>(rect->bottom)};
    return kNoErr;
  });
}

AIBoolean validArt(AIArtHandle art, AIBoolean /*searchAllLayerLists: the document has one*/) {
  HOSTSIM_ENTER_OR("AI Art Suite.ValidArt", false);
  Document* document = Host::current().document();
  if (document == nullptr || art == nullptr) return false;
  try {
    return document->valid(modelArt(art));
  } catch (...) {
    return false;
  }
}

const AIArtSuite kArt = {newArt,        disposeArt,         getArtType,   getArtFirstChild,
                         getArtSibling, getFirstArtOfLayer, getArtBounds, validArt};

// --- AI Layer ----------------------------------------------------------------------------

ASErr countLayers(int32_t* count) {
  HOSTSIM_ENTER("AI Layer Suite.CountLayers");
  if (count == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    *count = document->layerCount();
    return kNoErr;
  });
}

ASErr getNthLayer(int32_t n, AILayerHandle* layer) {
  if (layer != nullptr) *layer = nullptr;
  HOSTSIM_ENTER("AI Layer Suite.GetNthLayer");
  if (layer == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    *layer = pluginLayer(document->layer(n));  // out of range: refused
    return kNoErr;
  });
}

ASErr getCurrentLayer(AILayerHandle* layer) {
  if (layer != nullptr) *layer = nullptr;
  HOSTSIM_ENTER("AI Layer Suite.GetCurrentLayer");
  if (layer == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const LayerHandle current = document->currentLayer();
    if (!current) return kBadParameterErr;  // a document without layers
    *layer = pluginLayer(current);
    return kNoErr;
  });
}

ASErr insertLayer(AILayerHandle layer, int16_t paintOrder, AILayerHandle* newLayer) {
  if (newLayer != nullptr) *newLayer = nullptr;
  HOSTSIM_ENTER("AI Layer Suite.InsertLayer");
  if (newLayer == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  LayerPlacement placement;
  switch (paintOrder) {
    case kPlaceAbove: placement = LayerPlacement::Above; break;
    case kPlaceBelow: placement = LayerPlacement::Below; break;
    case kPlaceAboveAll: placement = LayerPlacement::AboveAll; break;
    case kPlaceBelowAll: placement = LayerPlacement::BelowAll; break;
    default: return kBadParameterErr;  // a layer is never inside another
  }
  return guarded([&] {
    const LayerHandle reference = modelLayer(layer);
    const bool relative = placement == LayerPlacement::Above || placement == LayerPlacement::Below;
    if (relative && (!reference || !document->valid(reference))) return kBadParameterErr;
    *newLayer = pluginLayer(document->insertLayer(reference, placement));
    return kNoErr;
  });
}

ASErr getLayerTitle(AILayerHandle layer, AIUnicodeStringHandle* title) {
  HOSTSIM_ENTER("AI Layer Suite.GetLayerTitle");
  if (title == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  Document* document = host.document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const LayerHandle handle = modelLayer(layer);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    return storeUnicodeString(host, title, document->layerTitle(handle), "AI Layer Suite.GetLayerTitle");
  });
}

ASErr setLayerTitle(AILayerHandle layer, AIUnicodeStringHandle title) {
  HOSTSIM_ENTER("AI Layer Suite.SetLayerTitle");
  Host& host = Host::current();
  Document* document = host.document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const LayerHandle handle = modelLayer(layer);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    const auto text = unicodeStringUtf8(host, title, "AI Layer Suite.SetLayerTitle");
    if (!text) return kBadParameterErr;
    document->setLayerTitle(handle, *text);
    return kNoErr;
  });
}

ASErr getLayerEditable(AILayerHandle layer, AIBoolean* editable) {
  HOSTSIM_ENTER("AI Layer Suite.GetLayerEditable");
  if (editable == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const LayerHandle handle = modelLayer(layer);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    *editable = document->layerEditable(handle);
    return kNoErr;
  });
}

const AILayerSuite kLayer = {countLayers,   getNthLayer,   getCurrentLayer, insertLayer,
                             getLayerTitle, setLayerTitle, getLayerEditable};

// --- AI Tag ------------------------------------------------------------------------------

ASErr setTag(AIArtHandle art, const char* name, const char* type, const void* value) {
  HOSTSIM_ENTER("AI Tag Suite.SetTag");
  if (name == nullptr || type == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  // Only string tags are kept: their value is a zero-terminated platform string.
  if (std::string_view(type) != "string") return kBadParameterErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    const char* text = value != nullptr ? static_cast<const char*>(value) : "";
    document->setTag(handle, name, macRomanToUtf8(text), type);
    return kNoErr;
  });
}

ASErr getTag(AIArtHandle art, const char* name, void* value) {
  HOSTSIM_ENTER("AI Tag Suite.GetTag");
  if (name == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    const auto tag = document->tag(handle, name);
    if (!tag) return kTagNotFoundErr;
    if (value != nullptr) {
      // The caller gives room for the whole value, as the interface has no length.
      const std::string text = utf8ToMacRoman(tag->value);
      std::memcpy(value, text.c_str(), text.size() + 1);
    }
    return kNoErr;
  });
}

const AITagSuite kTag = {setTag, getTag};

// --- AI Matching Art and AI MdMemory -----------------------------------------------------

constexpr const char* kMatchesKind = "memory handle";

// A host memory handle: a master pointer to the block of art handles.
struct MatchList {
  AIArtHandle* master = nullptr;
  std::vector<AIArtHandle> arts;
};

struct ArtSuitesState {
  std::map<AIArtHandle**, std::unique_ptr<MatchList>> matchLists;
};

// The attributes among `wanted` that the art has: each is found by walking up its
// ancestors, so only those some criterion asks about are looked for.
int32_t artAttributes(const Document& document, ArtHandle art, int32_t wanted) {
  int32_t attributes = 0;
  if ((wanted & kArtLocked) && document.locked(art)) attributes |= kArtLocked;
  if ((wanted & kArtHidden) && document.hidden(art)) attributes |= kArtHidden;
  return attributes;  // nothing is ever selected in this host
}

ASErr getMatchingArt(AIMatchingArtSpec* specs, int16_t numSpecs, AIArtHandle*** matches, int32_t* numMatches) {
  if (matches != nullptr) *matches = nullptr;
  if (numMatches != nullptr) *numMatches = 0;
  HOSTSIM_ENTER("AI Matching Art Suite.GetMatchingArt");
  if (matches == nullptr || numMatches == nullptr) return kBadParameterErr;
  if (specs == nullptr || numSpecs <= 0) return kBadParameterErr;
  Host& host = Host::current();
  Document* document = host.document();
  if (document == nullptr) return kNoDocumentErr;
  return guarded([&] {
    auto list = std::make_unique<MatchList>();
    for (ArtHandle art : document->allArt()) {
      const int16_t type = artType(*document, art);
      const auto ofType = [&](const AIMatchingArtSpec& spec) { return spec.type == kAnyArt || spec.type == type; };
      // Most art is of no type asked for: its attributes are not needed.
      int32_t wanted = 0;
      for (const AIMatchingArtSpec& spec : std::span(specs, static_cast<size_t>(numSpecs)))
        if (ofType(spec)) wanted |= spec.whichAttr;
      const int32_t attributes = wanted == 0 ? 0 : artAttributes(*document, art, wanted);
      const bool matched = std::any_of(specs, specs + numSpecs, [&](const AIMatchingArtSpec& spec) {
        return ofType(spec) && (attributes & spec.whichAttr) == (spec.attr & spec.whichAttr);
      });
      if (matched) list->arts.push_back(pluginArt(art));
    }
    list->master = list->arts.data();
    AIArtHandle** handle = &list->master;
    *numMatches = static_cast<int32_t>(list->arts.size());
    host.state<ArtSuitesState>().matchLists.emplace(handle, std::move(list));
    host.accounting().objectCreated(kMatchesKind);
    *matches = handle;
    return kNoErr;
  });
}

const AIMatchingArtSuite kMatchingArt = {getMatchingArt};

ASErr mdMemoryDisposeHandle(AIMdMemoryHandle handle) {
  Host& host = Host::current();
  // The handle is given back even when a fault is planned: only the answer changes.
  const auto fault = host.enter("AI MdMemory Suite.MdMemoryDisposeHandle");
  if (handle == nullptr) return fault.value_or(kNoErr);
  auto& lists = host.state<ArtSuitesState>().matchLists;
  auto it = lists.find(reinterpret_cast<AIArtHandle**>(handle));
  if (it == lists.end()) {
    host.accounting().misuse("AI MdMemory Suite.MdMemoryDisposeHandle: disposed of a memory handle the host never "
                             "gave, or one already disposed of");
    return kBadParameterErr;
  }
  lists.erase(it);
  host.accounting().objectDestroyed(kMatchesKind);
  return fault.value_or(kNoErr);
}

const AIMdMemorySuite kMdMemory = {mdMemoryDisposeHandle};

// --- AI Transform Art and AI Real Math ---------------------------------------------------

// Only translations are applied: the stand-in host does not rotate, scale or skew art (a
// text's size and orientation would have to follow), and says so with kNotImplementedErr.
ASErr transformArt(AIArtHandle art, AIRealMatrix* matrix, AIReal /*lineScale: no strokes here*/, int32_t flags) {
  HOSTSIM_ENTER("AI Transform Art Suite.TransformArt");
  if (matrix == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  const AIRealMatrix& m = *matrix;
  for (AIReal v : {m.a, m.b, m.c, m.d, m.tx, m.ty})
    if (!std::isfinite(v)) return kBadParameterErr;
  return guarded([&] {
    const ArtHandle handle = modelArt(art);
    if (!handle || !document->valid(handle)) return kBadParameterErr;
    if ((flags & kTransformObjects) == 0) return kNoErr;  // nothing but the objects is modelled
    if (m.a != 1 || m.b != 0 || m.c != 0 || m.d != 1) return kNotImplementedErr;
    document->translate(handle, m.tx, m.ty);
    return kNoErr;
  });
}

const AITransformArtSuite kTransformArt = {transformArt};

void realMatrixSetTranslate(AIRealMatrix* matrix, AIReal tx, AIReal ty) {
  HOSTSIM_ENTER_VOID("AI Real Math Suite.AIRealMatrixSetTranslate");
  if (matrix == nullptr) return;
  *matrix = {1, 0, 0, 1, tx, ty};
}

const AIRealMathSuite kRealMath = {realMatrixSetTranslate};

}  // namespace

void offerArtSuites(Host& host) {
  host.offerSuite(kAIArtSuite, kAIArtSuiteVersion, &kArt);
  host.offerSuite(kAILayerSuite, kAILayerSuiteVersion, &kLayer);
  host.offerSuite(kAITagSuite, kAITagSuiteVersion, &kTag);
  host.offerSuite(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &kMatchingArt);
  host.offerSuite(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &kMdMemory);
  host.offerSuite(kAITransformArtSuite, kAITransformArtSuiteVersion, &kTransformArt);
  host.offerSuite(kAIRealMathSuite, kAIRealMathSuiteVersion, &kRealMath);
}

}  // namespace hostsim
