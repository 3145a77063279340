// Layers: order, current layer, locks, visibility, insertion.
#include <gtest/gtest.h>

#include "document.h"

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

std::vector<std::string> titles(const Document& doc) {
  std::vector<std::string> out;
  for (int i = 0; i < doc.layerCount(); ++i) out.push_back(doc.layerTitle(doc.layer(i)));
  return out;
}

TEST(Layers, IndexZeroIsTheTopmostLayer) {
  const Document doc = Document::parse(kThreeLayers);
  EXPECT_EQ(titles(doc), (std::vector<std::string>{"Notes", "Texte", "Fond"}));
  EXPECT_EQ(doc.layerIndex(doc.layer(2)), 2);
  EXPECT_THROW(doc.layer(3), std::out_of_range);
}

TEST(Layers, CurrentLayerComesFromTheNamedView) {
  const Document doc = Document::parse(kThreeLayers);
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Fond");
}

TEST(Layers, CurrentLayerIsTheTopmostWhenTheFileDoesNotSay) {
  std::string svg = kThreeLayers;
  svg.replace(svg.find("bottom\"/>"), 6, "gone");  // names no layer now
  const Document doc = Document::parse(svg);
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Notes");
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
  EXPECT_TRUE(doc.layerEditable(texte));
  EXPECT_TRUE(doc.layerEditable(notes));
  doc.setLayerLocked(fond, true);
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_TRUE(reloaded.layerEditable(reloaded.layer(0)));
  EXPECT_TRUE(reloaded.layerEditable(reloaded.layer(1)));
  EXPECT_TRUE(reloaded.layerLocked(reloaded.layer(2)));
}

TEST(Layers, VisibilityAttributeHidesALayerToo) {
  const Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="1" height="1">
    <g inkscape:groupmode="layer" visibility="hidden"/></svg>)svg");
  EXPECT_TRUE(doc.layerHidden(doc.layer(0)));
}

TEST(Layers, InsertAboveAllGetsAFreshIdAndKeepsTheCurrentLayer) {
  Document doc = Document::parse(kThreeLayers);
  const LayerHandle current = doc.currentLayer();
  const LayerHandle stamp = doc.insertLayer(doc.currentLayer(), LayerPlacement::AboveAll);
  doc.setLayerTitle(stamp, "QZV•Estampilleur");
  EXPECT_EQ(titles(doc), (std::vector<std::string>{"QZV•Estampilleur", "Notes", "Texte", "Fond"}));
  EXPECT_EQ(doc.currentLayer(), current);
  EXPECT_EQ(doc.elementId(doc.layerGroup(stamp)), "layer2") << "layer1 is taken by a rect";
  EXPECT_TRUE(doc.layerEditable(stamp));

  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(titles(reloaded), titles(doc));
  const std::string text = doc.toString();
  EXPECT_NE(text.find("  <g id=\"plain-group\"/>\n  <g inkscape:groupmode=\"layer\" id=\"layer2\" "
                      "inkscape:label=\"QZV•Estampilleur\"/>\n</svg>"),
            std::string::npos)
      << text;
}

TEST(Layers, InsertRelativeToALayer) {
  Document doc = Document::parse(kThreeLayers);
  const LayerHandle texte = doc.layer(1);
  doc.setLayerTitle(doc.insertLayer(texte, LayerPlacement::Above), "above");
  doc.setLayerTitle(doc.insertLayer(texte, LayerPlacement::Below), "below");
  doc.setLayerTitle(doc.insertLayer({}, LayerPlacement::BelowAll), "bottom");
  EXPECT_EQ(titles(doc), (std::vector<std::string>{"Notes", "above", "Texte", "below", "Fond", "bottom"}));
  EXPECT_THROW(doc.insertLayer({}, LayerPlacement::Above), InvalidArtError);
}

TEST(Layers, TheFirstLayerOfADocumentBecomesCurrent) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">
  <rect width="1" height="1"/>
</svg>)svg");
  EXPECT_EQ(doc.layerCount(), 0);
  EXPECT_FALSE(doc.currentLayer());
  const LayerHandle layer = doc.insertLayer({}, LayerPlacement::AboveAll);
  EXPECT_EQ(doc.currentLayer(), layer);
  // The inkscape namespace had to be declared for the new layer.
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.layerCount(), 1);
}

TEST(Layers, NamespacesAreMatchedByUriNotPrefix) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:ink="http://www.inkscape.org/namespaces/inkscape" width="10" height="10">
    <g ink:groupmode="layer" ink:label="A"/><g inkscape:groupmode="layer" xmlns:inkscape="urn:other"/></svg>)svg");
  ASSERT_EQ(doc.layerCount(), 1);
  EXPECT_EQ(doc.layerTitle(doc.layer(0)), "A");
  doc.setLayerTitle(doc.insertLayer({}, LayerPlacement::AboveAll), "B");
  EXPECT_NE(doc.toString().find("<g ink:groupmode=\"layer\" id=\"layer1\" ink:label=\"B\"/>"), std::string::npos)
      << doc.toString();
}

TEST(Layers, ALayerIsItsOwnFirstArt) {
  Document doc = Document::parse(kThreeLayers);
  const LayerHandle notes = doc.layer(0);
  const ArtHandle group = doc.layerGroup(notes);
  EXPECT_EQ(doc.kind(group), ArtKind::LayerGroup);
  EXPECT_EQ(doc.layerOf(group), notes);
  EXPECT_FALSE(doc.parent(group));
  const ArtHandle sublayer = doc.firstChild(group);
  EXPECT_EQ(doc.kind(sublayer), ArtKind::Group) << "only top-level groups are layers";
  EXPECT_EQ(doc.layerOf(sublayer), notes);
}

TEST(Layers, ADisposedCurrentLayerFallsBackToTheTopmost) {
  Document doc = Document::parse(kThreeLayers);
  const LayerHandle fond = doc.currentLayer();
  doc.dispose(doc.layerGroup(fond));
  EXPECT_FALSE(doc.valid(fond));
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Notes");
  EXPECT_THROW(doc.layerTitle(fond), InvalidArtError);
}

}  // namespace
}  // namespace hostsim
