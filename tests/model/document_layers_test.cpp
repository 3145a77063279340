// Layers: order, current layer, locks, visibility, insertion.
#include "model_test.h"

namespace hostsim {
namespace {

const std::string kThreeLayers = R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
  width="100pt" height="100pt">
  <sodipodi:namedview id="nv" inkscape:current-layer="bottom"/>
  <rect id="layer1" width="1" height="1"/>
  <g inkscape:groupmode="layer" id="bottom" inkscape:label="Fond"/>
  <g inkscape:groupmode="layer" id="middle" inkscape:label="Texte" sodipodi:insensitive="true"/>
  <g inkscape:groupmode="layer" id="top" inkscape:label="Notes" style="display:none">
    <g inkscape:groupmode="layer" id="sublayer" inkscape:label="Sub"/>
  </g>
  <g id="plain-group"/>
</svg>
)svg";

using Titles = std::vector<std::string>;

Titles titles(const Document& doc) {
  Titles out;
  for (int i = 0; i < doc.layerCount(); ++i) out.push_back(doc.layerTitle(doc.layer(i)));
  return out;
}

TEST(Layers, TopmostFirstWithTheCurrentOneFromTheNamedView) {
  Document doc = Document::parse(kThreeLayers);
  EXPECT_EQ(titles(doc), (Titles{"Notes", "Texte", "Fond"}));
  EXPECT_EQ(doc.layerIndex(doc.layer(2)), 2);
  EXPECT_THROW(doc.layer(3), std::out_of_range);
  const LayerHandle fond = doc.currentLayer();
  EXPECT_EQ(doc.layerTitle(fond), "Fond");
  // A layer is its own first art; a layer inside it is a group.
  const ArtHandle group = doc.layerGroup(doc.layer(0));
  EXPECT_EQ(doc.kind(group), ArtKind::LayerGroup);
  EXPECT_EQ(doc.layerOf(group), doc.layer(0));
  EXPECT_FALSE(doc.parent(group));
  EXPECT_EQ(doc.kind(doc.firstChild(group)), ArtKind::Group);
  EXPECT_EQ(doc.layerOf(doc.firstChild(group)), doc.layer(0));
  // Without a current layer, the topmost is.
  doc.dispose(doc.layerGroup(fond));
  EXPECT_FALSE(doc.valid(fond));
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Notes");
  EXPECT_THROW(doc.layerTitle(fond), InvalidArtError);
  std::string svg = kThreeLayers;
  svg.replace(svg.find("bottom\"/>"), 6, "gone");  // names no layer now
  const Document unnamed = Document::parse(svg);
  EXPECT_EQ(unnamed.layerTitle(unnamed.currentLayer()), "Notes");
}

TEST(Layers, LockedAndHiddenLayersAreNotEditable) {
  Document doc = Document::parse(kThreeLayers);
  const LayerHandle notes = doc.layer(0), texte = doc.layer(1), fond = doc.layer(2);
  EXPECT_TRUE(doc.layerHidden(notes));
  EXPECT_FALSE(doc.layerLocked(notes));
  EXPECT_FALSE(doc.layerEditable(notes));
  EXPECT_TRUE(doc.layerLocked(texte));
  EXPECT_FALSE(doc.layerEditable(texte));
  EXPECT_TRUE(doc.layerEditable(fond));
  doc.setLayerLocked(texte, false);
  doc.setLayerHidden(notes, false);
  doc.setLayerLocked(fond, true);
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_TRUE(reloaded.layerEditable(reloaded.layer(0)));
  EXPECT_TRUE(reloaded.layerEditable(reloaded.layer(1)));
  EXPECT_TRUE(reloaded.layerLocked(reloaded.layer(2)));
  const Document invisible = Document::parse(
      svgWith(R"(width="1" height="1")", R"(<g inkscape:groupmode="layer" visibility="hidden"/>)"));
  EXPECT_TRUE(invisible.layerHidden(invisible.layer(0)));
}

TEST(Layers, InsertedWhereAskedWithAFreshIdAndTheCurrentLayerKept) {
  Document doc = Document::parse(kThreeLayers);
  const LayerHandle current = doc.currentLayer();
  const LayerHandle stamp = doc.insertLayer(current, LayerPlacement::AboveAll);
  doc.setLayerTitle(stamp, "QZV•Estampilleur");
  EXPECT_EQ(doc.currentLayer(), current);
  EXPECT_EQ(doc.elementId(doc.layerGroup(stamp)), "layer2") << "layer1 is taken by a rect";
  EXPECT_TRUE(doc.layerEditable(stamp));
  EXPECT_NE(doc.toString().find("  <g id=\"plain-group\"/>\n  <g inkscape:groupmode=\"layer\" id=\"layer2\" "
                                "inkscape:label=\"QZV•Estampilleur\"/>\n</svg>"),
            std::string::npos)
      << doc.toString();
  const LayerHandle texte = doc.layer(2);
  doc.setLayerTitle(doc.insertLayer(texte, LayerPlacement::Above), "above");
  doc.setLayerTitle(doc.insertLayer(texte, LayerPlacement::Below), "below");
  doc.setLayerTitle(doc.insertLayer({}, LayerPlacement::BelowAll), "bottom");
  EXPECT_EQ(titles(doc), (Titles{"QZV•Estampilleur", "Notes", "above", "Texte", "below", "Fond", "bottom"}));
  EXPECT_EQ(titles(Document::parse(doc.toString())), titles(doc));
  EXPECT_THROW(doc.insertLayer({}, LayerPlacement::Above), InvalidArtError);
}

TEST(Layers, TheFirstLayerOfADocumentBecomesCurrentAndDeclaresItsNamespace) {
  Document doc = Document::parse(R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><rect/></svg>)");
  EXPECT_FALSE(doc.currentLayer());
  const LayerHandle layer = doc.insertLayer({}, LayerPlacement::AboveAll);
  EXPECT_EQ(doc.currentLayer(), layer);
  EXPECT_EQ(Document::parse(doc.toString()).layerCount(), 1);
}

TEST(Layers, NamespacesAreMatchedByUriNotPrefix) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:ink="http://www.inkscape.org/namespaces/inkscape" width="10" height="10">
    <g ink:groupmode="layer" ink:label="A"/><g inkscape:groupmode="layer" xmlns:inkscape="urn:other"/></svg>)svg");
  EXPECT_EQ(titles(doc), (Titles{"A"}));
  doc.setLayerTitle(doc.insertLayer({}, LayerPlacement::AboveAll), "B");
  EXPECT_NE(doc.toString().find("<g ink:groupmode=\"layer\" id=\"layer1\" ink:label=\"B\"/>"), std::string::npos)
      << doc.toString();
}

}  // namespace
}  // namespace hostsim
