// The SVG loader, the saver and the art walks on any bytes: a document is either refused
// with DocumentError or loaded, walked, edited as the plug-in edits it, saved, and loaded
// again from what was saved.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "document.h"
#include "fuzz.h"

// Widths without fonts: one em per character, so bounds depend on the text only.
struct EmMeasurer final : hostsim::TextMeasurer {
  hostsim::LineExtent measure(const hostsim::FontRef&, std::string_view text) override {
    return {double(text.size()), 0.8, -0.2};
  }
};

// Any infinity or NaN makes the sum one (a sound coordinate lies within 1e8 pt).
static bool finite(const hostsim::Rect& r) { return std::isfinite(r.left + r.top + r.right + r.bottom); }

static void walk(const hostsim::Document& d) {
  EmMeasurer measurer;
  require(finite(d.viewport()) && finite(d.bleed()) && d.artboardCount() >= 1);
  for (int i = 0; i < d.artboardCount() && i < 64; ++i) {
    const hostsim::Rect r = d.artboard(i);  // an area the host's single precision can hold
    require(finite(r) && float(r.right) > float(r.left) && float(r.top) > float(r.bottom));
  }
  for (int i = 0; i < d.layerCount(); ++i) {
    (void)d.layerTitle(d.layer(i)), (void)d.layerEditable(d.layer(i));
    require(d.layerIndex(d.layer(i)) == i);
  }
  const auto all = d.allArt();
  for (const hostsim::ArtHandle art : std::vector(all.begin(), all.begin() + std::min<long>(all.size(), 2000))) {
    (void)d.parent(art), (void)d.firstChild(art), (void)d.nextSibling(art), (void)d.elementName(art);
    (void)d.locked(art), (void)d.hidden(art), (void)d.tag(art, "QZVNOM");
    if (d.kind(art) != hostsim::ArtKind::PointText) continue;
    (void)d.text(art), (void)d.textMacRoman(art), (void)d.textStyle(art), (void)d.textAnchor(art),
        (void)d.textBounds(art, measurer);
  }
  (void)d.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Unlocked);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::optional<hostsim::Document> document;
  try {
    document.emplace(hostsim::Document::parse(input, "fuzz.svg"));
  } catch (const hostsim::DocumentError&) {  // refused, with its message: the answer to most inputs
    return 0;
  }
  require(document->toString() == input);  // unedited, the saver gives back the very bytes it was given
  walk(*document);

  // What a stamping run does: remove tagged texts, add a layer and a group of tagged texts, set the bleed.
  for (const hostsim::ArtHandle art : document->matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Unlocked))
    if (document->valid(art) && document->tag(art, "QZVNOM")) document->dispose(art);
  const hostsim::LayerHandle layer = document->insertLayer(
      document->layerCount() > 0 ? document->layer(0) : hostsim::LayerHandle{}, hostsim::LayerPlacement::AboveAll);
  document->setLayerTitle(layer, "QZV\xE2\x80\xA2" "Estampilleur");
  const hostsim::ArtHandle group = document->newGroup(document->layerGroup(layer), hostsim::Placement::InsideOnTop);
  const hostsim::ArtHandle text = document->newPointText(group, hostsim::Placement::InsideOnTop,
                                                         {document->artboard(0).left, document->artboard(0).bottom - 14});
  document->setTextMacRoman(text, "1/1 \xA5 caf\x8E");
  document->setTag(text, "QZVNOM", "jj");
  document->setBleed({0, 0, 0, 50});
  walk(*document);

  // What was saved loads again (a DocumentError is a failure), as the same pages and layers with the stamp.
  const std::string saved = document->toString();
  const hostsim::Document again = hostsim::Document::parse(saved, "saved.svg");
  require(again.artboardCount() == document->artboardCount() && again.layerCount() == document->layerCount() &&
          again.toString() == saved);
  const auto texts = again.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any);
  require(std::any_of(texts.begin(), texts.end(), [&](auto art) { return again.tag(art, "QZVNOM").has_value(); }));
  walk(again);
  return 0;
}
