// The SVG loader, the saver and the art walks on any bytes: a document is either refused
// with DocumentError or loaded, walked, edited as the plug-in edits it, saved, and loaded
// again from what was saved.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document.h"

namespace {

// Widths without fonts: one em per character, so bounds depend on the text only.
class EmMeasurer final : public hostsim::TextMeasurer {
 public:
  hostsim::LineExtent measure(const hostsim::FontRef&, std::string_view utf8) override {
    return {static_cast<double>(utf8.size()), 0.8, -0.2};
  }
};

// A broken property names itself before the abort that the fuzzer reports.
void fail(const char* condition, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, line, condition);
  std::abort();
}
#define require(condition) ((condition) ? (void)0 : fail(#condition, __LINE__))

bool finite(const hostsim::Rect& r) {
  return std::isfinite(r.left) && std::isfinite(r.top) && std::isfinite(r.right) && std::isfinite(r.bottom);
}

void walk(const hostsim::Document& document, EmMeasurer& measurer) {
  require(finite(document.viewport()));
  require(finite(document.bleed()));
  const int artboards = document.artboardCount();
  require(artboards >= 1);
  for (int i = 0; i < artboards && i < 64; ++i) {
    const hostsim::Rect r = document.artboard(i);
    // An accepted page has an area the host's single precision can hold.
    require(finite(r));
    require(static_cast<float>(r.right) > static_cast<float>(r.left));
    require(static_cast<float>(r.top) > static_cast<float>(r.bottom));
  }
  for (int i = 0; i < document.layerCount(); ++i) {
    const hostsim::LayerHandle layer = document.layer(i);
    (void)document.layerTitle(layer);
    (void)document.layerEditable(layer);
    require(document.layerIndex(layer) == i);
  }
  int count = 0;
  for (const hostsim::ArtHandle art : document.allArt()) {
    if (++count > 2000) break;
    (void)document.kind(art);
    (void)document.parent(art);
    (void)document.firstChild(art);
    (void)document.nextSibling(art);
    (void)document.locked(art);
    (void)document.hidden(art);
    (void)document.tag(art, "QZVNOM");
    (void)document.elementName(art);
    if (document.kind(art) == hostsim::ArtKind::PointText) {
      (void)document.text(art);
      (void)document.textMacRoman(art);
      (void)document.textStyle(art);
      (void)document.textAnchor(art);
      (void)document.textBounds(art, measurer);
    }
  }
  (void)document.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Unlocked);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  EmMeasurer measurer;
  try {
    hostsim::Document document = hostsim::Document::parse(input, "fuzz.svg");
    // Unedited, the saver gives back the very bytes it was given.
    require(document.toString() == input);
    walk(document, measurer);

    // What a stamping run does: remove tagged texts, find or add a layer, add a group of
    // tagged texts, set the bleed.
    for (const hostsim::ArtHandle art : document.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Unlocked))
      if (document.valid(art) && document.tag(art, "QZVNOM")) document.dispose(art);
    hostsim::LayerHandle layer = document.layerCount() > 0 ? document.layer(0) : hostsim::LayerHandle{};
    layer = document.insertLayer(layer, hostsim::LayerPlacement::AboveAll);
    document.setLayerTitle(layer, "QZV\xE2\x80\xA2" "Estampilleur");
    const hostsim::ArtHandle group = document.newGroup(document.layerGroup(layer), hostsim::Placement::InsideOnTop);
    const hostsim::Rect first = document.artboard(0);
    const hostsim::ArtHandle text =
        document.newPointText(group, hostsim::Placement::InsideOnTop, {first.left, first.bottom - 14});
    document.setTextMacRoman(text, "1/1 \xA5 caf\x8E");
    document.setTag(text, "QZVNOM", "jj");
    (void)document.textBounds(text, measurer);
    document.setBleed({0, 0, 0, 50});
    walk(document, measurer);

    // What was saved loads again, as the same pages with the stamp on them.
    const std::string saved = document.toString();
    hostsim::Document again = hostsim::Document::parse(saved, "saved.svg");
    require(again.artboardCount() == document.artboardCount());
    require(again.toString() == saved);
    int stamps = 0;
    for (const hostsim::ArtHandle art : again.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
      if (again.tag(art, "QZVNOM")) ++stamps;
    require(stamps >= 1);
    walk(again, measurer);
  } catch (const hostsim::DocumentError&) {
    // Refused, with its message: the expected answer to most inputs.
  }
  return 0;
}
