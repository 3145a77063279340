// The art tree and its layers: walks, handles, creation, disposal, moves, locks and the
// current layer.
#include "model_test.h"

namespace hostsim {
namespace {

// Three layers, topmost last: "Un" the current one, "Deux" locked, "Trois" hidden with a
// layer inside; art outside the layers, in the defs, locked and hidden. The path has the id
// a new layer would take.
const std::string kArt = R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
  width="100mm" height="100mm" viewBox="0 0 100 100">
  <sodipodi:namedview id="nv" inkscape:current-layer="l1"/>
  <defs><text id="in-defs">not art</text></defs>
  <text id="loose" x="1" y="1">loose</text>
  <g inkscape:groupmode="layer" id="l1" inkscape:label="Un">
    <g id="group">
      <text id="t1" x="10" y="10">one</text>
      <path id="layer1" d="M0 0"/>
    </g>
    <text id="t2" x="20" y="20" sodipodi:insensitive="true">two</text>
  </g>
  <g inkscape:groupmode="layer" id="l2" inkscape:label="Deux" sodipodi:insensitive="true">
    <g id="hidden-group" style="display:none" transform="rotate(90)"><text id="t3" x="30" y="30">three</text></g>
  </g>
  <g inkscape:groupmode="layer" id="l3" inkscape:label="Trois" style="display:none">
    <g inkscape:groupmode="layer" id="sublayer" inkscape:label="Sub"/>
  </g>
  <g id="plain-group"/>
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

Ids titles(const Document& doc) {
  Ids out;
  for (int i = 0; i < doc.layerCount(); ++i) out.push_back(doc.layerTitle(doc.layer(i)));
  return out;
}

TEST(ArtTree, WalksFindTheRenderedArtInDocumentOrder) {
  const Document doc = Document::parse(kArt);
  EXPECT_EQ(ids(doc, doc.allArt()), (Ids{"loose", "l1", "group", "t1", "layer1", "t2", "l2", "hidden-group", "t3",
                                         "l3", "sublayer", "plain-group"}));
  const ArtHandle layer = doc.layerGroup(doc.layer(2));
  const ArtHandle group = byId(doc, "group"), t1 = byId(doc, "t1");
  EXPECT_EQ(children(doc, layer), (Ids{"group", "t2"}));
  EXPECT_EQ(children(doc, group), (Ids{"t1", "layer1"}));
  EXPECT_EQ(doc.kind(byId(doc, "layer1")), ArtKind::Other);
  EXPECT_EQ(doc.elementName(byId(doc, "layer1")), "path");
  EXPECT_FALSE(doc.firstChild(t1)) << "a text's tspans are not art";
  EXPECT_EQ(doc.parent(t1), group);
  EXPECT_EQ(doc.parent(group), layer);
  EXPECT_EQ(doc.nextSibling(byId(doc, "loose")), byId(doc, "plain-group")) << "layers are no siblings";

  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Any)), (Ids{"loose", "t1", "t2", "t3"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Unlocked)), (Ids{"loose", "t1"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Locked)), (Ids{"t2", "t3"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::Group, LockFilter::Any)),
            (Ids{"group", "hidden-group", "sublayer", "plain-group"}));
  // Locked and hidden include the ancestors: t2 is locked itself, t3 in a locked layer and a
  // hidden group.
  for (const auto& [id, locked, hidden] : {std::tuple{"t1", false, false}, {"t2", true, false}, {"t3", true, true}})
    EXPECT_TRUE(doc.locked(byId(doc, id)) == locked && doc.hidden(byId(doc, id)) == hidden) << id;
}

TEST(ArtTree, NewArtGoesWhereThePlacementSays) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group");
  const ArtHandle path = byId(doc, "layer1");
  doc.newGroup(group, Placement::InsideOnTop);
  doc.newGroup(group, Placement::InsideOnBottom);
  const ArtHandle above = doc.newPointText(path, Placement::Above, {0, 0});
  EXPECT_EQ(children(doc, group), (Ids{"g2", "t1", "layer1", doc.elementId(above), "g1"}));
  // New lines copy the neighbours' indentation.
  EXPECT_TRUE(holds(doc.toString(), "    <g id=\"group\">\n      <g id=\"g2\"/>\n      <text id=\"t1\""));
  EXPECT_THROW(doc.newGroup(byId(doc, "t1"), Placement::InsideOnTop), std::invalid_argument);
  EXPECT_THROW(doc.newGroup(doc.layerGroup(doc.layer(0)), Placement::Above), std::invalid_argument);
}

TEST(ArtTree, HandlesAreUniqueAndDieWithTheirArt) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group"), t1 = byId(doc, "t1"), t2 = byId(doc, "t2");
  const Document other = Document::parse(kArt);
  EXPECT_FALSE(other.valid(t1)) << "a handle never names art of another document";
  EXPECT_THROW(other.kind(t1), InvalidArtError);
  EXPECT_FALSE(doc.valid(ArtHandle{}));

  doc.dispose(group);
  EXPECT_FALSE(doc.valid(t1));
  EXPECT_TRUE(doc.valid(t2));
  EXPECT_THROW(doc.dispose(t1), InvalidArtError);
  EXPECT_THROW(doc.text(t1), InvalidArtError);
  // Reusing freed memory for new art must not revive the old handles, nor their kind.
  const ArtHandle fresh = doc.newGroup(doc.layerGroup(doc.layer(2)), Placement::InsideOnTop);
  EXPECT_FALSE(doc.valid(group));
  EXPECT_NE(fresh, group);
  EXPECT_TRUE(holds(doc.toString(), "  <g inkscape:groupmode=\"layer\" id=\"l1\" inkscape:label=\"Un\">\n"
                                    "    <text id=\"t2\" x=\"20\" y=\"20\" sodipodi:insensitive=\"true\">two</text>\n"
                                    "    <g id=\"g1\"/>\n  </g>"));
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
  doc.translate(byId(doc, "group"), 10 * mm, 0);
  EXPECT_TRUE(holds(doc.toString(), "<g id=\"group\" transform=\"translate(20,-5)\">")) << "one translate";
  // Texts inside follow the group; a transform of its own comes after the move.
  EXPECT_NEAR(doc.textAnchor(byId(doc, "t1")).h, 30 * mm, 1e-9);
  EXPECT_NEAR(doc.textAnchor(byId(doc, "t1")).v, 95 * mm, 1e-9);
  doc.translate(byId(doc, "hidden-group"), 10 * mm, 5 * mm);
  EXPECT_TRUE(holds(doc.toString(), "transform=\"translate(10,-5) rotate(90)\""));
}

TEST(Layers, TopmostFirstTheCurrentFromTheNamedViewAndEditableWhenShownAndUnlocked) {
  Document doc = Document::parse(kArt);
  EXPECT_EQ(titles(doc), (Ids{"Trois", "Deux", "Un"}));
  EXPECT_TRUE(doc.layerHidden(doc.layer(0)) && !doc.layerLocked(doc.layer(0)) && !doc.layerEditable(doc.layer(0)));
  EXPECT_TRUE(doc.layerLocked(doc.layer(1)) && !doc.layerEditable(doc.layer(1)));
  EXPECT_TRUE(doc.layerEditable(doc.layer(2)));
  const Document invisible =
      Document::parse(svgWith(R"(width="1" height="1")", R"(<g inkscape:groupmode="layer" visibility="hidden"/>)"));
  EXPECT_TRUE(invisible.layerHidden(invisible.layer(0)));
  EXPECT_EQ(doc.layerIndex(doc.layer(2)), 2);
  EXPECT_THROW(doc.layer(3), std::out_of_range);
  const LayerHandle un = doc.currentLayer();
  EXPECT_EQ(doc.layerTitle(un), "Un");
  // A layer is its own first art, and the layer of what it holds.
  const ArtHandle trois = doc.layerGroup(doc.layer(0));
  EXPECT_EQ(doc.kind(trois), ArtKind::LayerGroup);
  EXPECT_FALSE(doc.parent(trois));
  EXPECT_EQ(doc.layerOf(trois), doc.layer(0));
  EXPECT_EQ(doc.layerOf(byId(doc, "sublayer")), doc.layer(0));
  // Without a current layer, the topmost is.
  doc.dispose(doc.layerGroup(un));
  EXPECT_FALSE(doc.valid(un));
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Trois");
  EXPECT_THROW(doc.layerTitle(un), InvalidArtError);
  std::string svg = kArt;
  svg.replace(svg.find("\"l1\"/>"), 6, "\"gone\"/>");  // names no layer now
  const Document unnamed = Document::parse(svg);
  EXPECT_EQ(unnamed.layerTitle(unnamed.currentLayer()), "Trois");
}

TEST(Layers, InsertedWhereAskedWithAFreshIdAndTheCurrentLayerKept) {
  Document doc = Document::parse(kArt);
  const LayerHandle current = doc.currentLayer();
  const LayerHandle stamp = doc.insertLayer(current, LayerPlacement::AboveAll);
  doc.setLayerTitle(stamp, "QZV•Estampilleur");
  EXPECT_EQ(doc.currentLayer(), current);
  EXPECT_EQ(doc.elementId(doc.layerGroup(stamp)), "layer2") << "the path has layer1";
  EXPECT_TRUE(doc.layerEditable(stamp));
  EXPECT_TRUE(holds(doc.toString(), "  <g id=\"plain-group\"/>\n  <g inkscape:groupmode=\"layer\" id=\"layer2\" "
                                    "inkscape:label=\"QZV•Estampilleur\"/>\n</svg>"));
  doc.setLayerTitle(doc.insertLayer(doc.layer(2), LayerPlacement::Below), "below");
  EXPECT_EQ(titles(Document::parse(doc.toString())), (Ids{"QZV•Estampilleur", "Trois", "Deux", "below", "Un"}));
  EXPECT_THROW(doc.insertLayer({}, LayerPlacement::Above), InvalidArtError);
}

// The first layer of a document becomes current and declares its namespace, or uses the
// file's own prefix for it; a prefix bound elsewhere names no layer.
TEST(Layers, NamespacesAreDeclaredOnceAndMatchedByUri) {
  Document doc = Document::parse(R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><rect/></svg>)");
  const LayerHandle layer = doc.insertLayer({}, LayerPlacement::AboveAll);
  EXPECT_EQ(doc.currentLayer(), layer);
  EXPECT_EQ(Document::parse(doc.toString()).layerCount(), 1);
  doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:ink="http://www.inkscape.org/namespaces/inkscape" width="10" height="10">
    <g ink:groupmode="layer" ink:label="A"/><g inkscape:groupmode="layer" xmlns:inkscape="urn:other"/></svg>)svg");
  EXPECT_EQ(titles(doc), (Ids{"A"}));
  doc.setLayerTitle(doc.insertLayer({}, LayerPlacement::AboveAll), "B");
  EXPECT_TRUE(holds(doc.toString(), "<g ink:groupmode=\"layer\" id=\"layer1\" ink:label=\"B\"/>"));
}

}  // namespace
}  // namespace hostsim
