// The art tree and its layers: walks, handles, creation, disposal, moves, tags, locks and
// the current layer.
#include "model_test.h"

namespace hostsim {
namespace {

const std::string kArt = R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
  width="100mm" height="100mm" viewBox="0 0 100 100">
  <defs><text id="in-defs">not art</text></defs>
  <text id="loose" x="1" y="1">loose</text>
  <g inkscape:groupmode="layer" id="l1" inkscape:label="Un">
    <g id="group">
      <text id="t1" x="10" y="10">one</text>
      <path id="p1" d="M0 0"/>
    </g>
    <text id="t2" x="20" y="20" sodipodi:insensitive="true">two</text>
  </g>
  <g inkscape:groupmode="layer" id="l2" inkscape:label="Deux" sodipodi:insensitive="true">
    <g id="hidden-group" style="display:none"><text id="t3" x="30" y="30">three</text></g>
  </g>
</svg>
)svg";

using Ids = std::vector<std::string>;

Ids ids(const Document& doc, const std::vector<ArtHandle>& arts) {
  Ids out;
  for (ArtHandle art : arts) out.push_back(doc.elementId(art));
  return out;
}

Ids children(const Document& doc, ArtHandle parent) {
  Ids out;
  for (ArtHandle a = doc.firstChild(parent); a; a = doc.nextSibling(a)) out.push_back(doc.elementId(a));
  return out;
}

TEST(ArtTree, WalksFindTheRenderedArtInDocumentOrder) {
  const Document doc = Document::parse(kArt);
  EXPECT_EQ(ids(doc, doc.allArt()), (Ids{"loose", "l1", "group", "t1", "p1", "t2", "l2", "hidden-group", "t3"}));
  const ArtHandle layer = doc.layerGroup(doc.layer(1));
  const ArtHandle group = byId(doc, "group"), t1 = byId(doc, "t1");
  EXPECT_EQ(children(doc, layer), (Ids{"group", "t2"}));
  EXPECT_EQ(children(doc, group), (Ids{"t1", "p1"}));
  EXPECT_EQ(doc.kind(group), ArtKind::Group);
  EXPECT_EQ(doc.kind(t1), ArtKind::PointText);
  EXPECT_EQ(doc.kind(byId(doc, "p1")), ArtKind::Other);
  EXPECT_EQ(doc.elementName(byId(doc, "p1")), "path");
  EXPECT_FALSE(doc.firstChild(t1)) << "a text's tspans are not art";
  EXPECT_EQ(doc.parent(t1), group);
  EXPECT_EQ(doc.parent(group), layer);
  EXPECT_FALSE(doc.nextSibling(layer)) << "layers are reached through the layer list";
  EXPECT_FALSE(doc.nextSibling(byId(doc, "loose"))) << "layers, defs and namedview are no siblings";

  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Any)), (Ids{"loose", "t1", "t2", "t3"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Unlocked)), (Ids{"loose", "t1"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Locked)), (Ids{"t2", "t3"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::Group, LockFilter::Any)), (Ids{"group", "hidden-group"}));
  // Locked and hidden include the ancestors.
  EXPECT_FALSE(doc.locked(t1));
  EXPECT_TRUE(doc.locked(byId(doc, "t2")));  // its own attribute
  EXPECT_TRUE(doc.locked(byId(doc, "t3")));  // inside a locked layer
  EXPECT_TRUE(doc.hidden(byId(doc, "t3")));  // inside a hidden group
  EXPECT_FALSE(doc.hidden(t1));
}

TEST(ArtTree, NewArtGoesWhereThePlacementSays) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group");
  const ArtHandle p1 = byId(doc, "p1");
  const ArtHandle top = doc.newGroup(group, Placement::InsideOnTop);
  const ArtHandle bottom = doc.newGroup(group, Placement::InsideOnBottom);
  const ArtHandle above = doc.newPointText(p1, Placement::Above, {0, 0});
  const ArtHandle below = doc.newPointText(p1, Placement::Below, {0, 0});
  EXPECT_EQ(children(doc, group), (Ids{"g2", "t1", doc.elementId(below), "p1", doc.elementId(above), "g1"}));
  EXPECT_EQ(doc.elementId(top), "g1");
  EXPECT_EQ(doc.elementId(bottom), "g2");
  EXPECT_EQ(doc.kind(above), ArtKind::PointText);
  // New lines copy the neighbours' indentation.
  EXPECT_NE(doc.toString().find("    <g id=\"group\">\n      <g id=\"g2\"/>\n      <text id=\"t1\""),
            std::string::npos)
      << doc.toString();
  EXPECT_THROW(doc.newGroup(byId(doc, "t1"), Placement::InsideOnTop), std::invalid_argument);
  EXPECT_THROW(doc.newGroup(doc.layerGroup(doc.layer(0)), Placement::Above), std::invalid_argument);
}

TEST(ArtTree, HandlesAreUniqueAndDieWithTheirArt) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group"), t1 = byId(doc, "t1"), t2 = byId(doc, "t2");
  EXPECT_NE(t1, t2);
  const Document other = Document::parse(kArt);
  EXPECT_FALSE(other.valid(t1)) << "a handle never names art of another document";
  EXPECT_THROW(other.kind(t1), InvalidArtError);
  EXPECT_FALSE(doc.valid(ArtHandle{}));

  doc.dispose(group);
  EXPECT_FALSE(doc.valid(group));
  EXPECT_FALSE(doc.valid(t1));
  EXPECT_TRUE(doc.valid(t2));
  EXPECT_THROW(doc.dispose(t1), InvalidArtError);
  EXPECT_THROW(doc.text(t1), InvalidArtError);
  // Reusing freed memory for new art must not revive the old handles, nor their kind.
  const ArtHandle fresh = doc.newGroup(doc.layerGroup(doc.layer(1)), Placement::InsideOnTop);
  EXPECT_FALSE(doc.valid(group));
  EXPECT_NE(fresh, group);
  EXPECT_NE(doc.toString().find("  <g inkscape:groupmode=\"layer\" id=\"l1\" inkscape:label=\"Un\">\n"
                                "    <text id=\"t2\" x=\"20\" y=\"20\" sodipodi:insensitive=\"true\">two</text>\n"
                                "    <g id=\"g1\"/>\n  </g>"),
            std::string::npos)
      << doc.toString();
  for (int round = 0; round < 20; ++round) {
    const ArtHandle text = doc.newPointText(fresh, Placement::InsideOnTop, {10, 10});
    ASSERT_EQ(doc.kind(text), ArtKind::PointText);
    doc.dispose(text);
    const ArtHandle made = doc.newGroup(fresh, Placement::InsideOnTop);
    ASSERT_EQ(doc.kind(made), ArtKind::Group);
    EXPECT_THROW(doc.textStyle(made), std::invalid_argument);
    doc.dispose(made);
  }
}

TEST(ArtTree, TranslatingPrependsATranslateInUserUnits) {
  Document doc = Document::parse(kArt);
  const double mm = 72 / 25.4;
  doc.translate(byId(doc, "group"), 10 * mm, 5 * mm);  // right and up
  EXPECT_NE(doc.toString().find("<g id=\"group\" transform=\"translate(10,-5)\">"), std::string::npos);
  doc.translate(byId(doc, "group"), 10 * mm, 0);
  EXPECT_NE(doc.toString().find("<g id=\"group\" transform=\"translate(20,-5)\">"), std::string::npos);
  // Texts inside follow the group.
  EXPECT_NEAR(doc.textAnchor(byId(doc, "t1")).h, 30 * mm, 1e-9);
  EXPECT_NEAR(doc.textAnchor(byId(doc, "t1")).v, 95 * mm, 1e-9);
  doc.translate(byId(doc, "p1"), 0, 0);
  EXPECT_EQ(doc.toString().find("id=\"p1\" transform"), std::string::npos);

  Document turned = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100pt" height="100pt" )svg"
                                    R"svg(viewBox="0 0 100 100"><g id="g" transform="rotate(90)"/></svg>)svg");
  turned.translate(byId(turned, "g"), 3, 4);
  EXPECT_NE(turned.toString().find("transform=\"translate(3,-4) rotate(90)\""), std::string::npos) << turned.toString();
}

TEST(Tags, SurviveSavingAndReloading) {
  Document doc = Document::parse(kArt);
  const ArtHandle t1 = byId(doc, "t1");
  EXPECT_FALSE(doc.tag(t1, "QZVNOM"));
  doc.setTag(t1, "QZVNOM", "jj");
  doc.setTag(t1, "count", "3", "integer");
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.tag(byId(reloaded, "t1"), "QZVNOM"), (Tag{"string", "jj"}));
  EXPECT_EQ(reloaded.tag(byId(reloaded, "t1"), "count"), (Tag{"integer", "3"}));
  EXPECT_FALSE(reloaded.tag(byId(reloaded, "t2"), "QZVNOM"));
  EXPECT_THROW(doc.setTag(t1, "has space", "x"), std::invalid_argument);
  EXPECT_THROW(doc.setTag(t1, "", "x"), std::invalid_argument);
}

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
