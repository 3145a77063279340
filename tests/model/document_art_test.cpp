// The art tree: handles, creation, disposal, moves, tags and matching.
#include <gtest/gtest.h>

#include "document.h"

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

ArtHandle byId(const Document& doc, const std::string& id) {
  for (ArtKind kind : {ArtKind::PointText, ArtKind::Group, ArtKind::LayerGroup, ArtKind::Other})
    for (ArtHandle art : doc.matchingArt(kind, LockFilter::Any))
      if (doc.elementId(art) == id) return art;
  return {};
}

std::vector<std::string> ids(const Document& doc, const std::vector<ArtHandle>& arts) {
  std::vector<std::string> out;
  for (ArtHandle art : arts) out.push_back(doc.elementId(art));
  return out;
}

std::vector<std::string> children(const Document& doc, ArtHandle parent) {
  std::vector<std::string> out;
  for (ArtHandle a = doc.firstChild(parent); a; a = doc.nextSibling(a)) out.push_back(doc.elementId(a));
  return out;
}

TEST(ArtTree, ChildrenSiblingsAndParents) {
  const Document doc = Document::parse(kArt);
  const ArtHandle layer = doc.layerGroup(doc.layer(1));
  EXPECT_EQ(children(doc, layer), (std::vector<std::string>{"group", "t2"}));
  const ArtHandle group = doc.firstChild(layer);
  EXPECT_EQ(doc.kind(group), ArtKind::Group);
  EXPECT_EQ(children(doc, group), (std::vector<std::string>{"t1", "p1"}));
  const ArtHandle t1 = doc.firstChild(group);
  EXPECT_EQ(doc.kind(t1), ArtKind::PointText);
  EXPECT_EQ(doc.kind(doc.nextSibling(t1)), ArtKind::Other);
  EXPECT_FALSE(doc.firstChild(t1)) << "a text's tspans are not art";
  EXPECT_EQ(doc.parent(t1), group);
  EXPECT_EQ(doc.parent(group), layer);
  EXPECT_FALSE(doc.nextSibling(layer)) << "layers are reached through the layer list";
  EXPECT_FALSE(doc.nextSibling(byId(doc, "loose"))) << "layers, defs and namedview are no siblings";
}

TEST(ArtTree, HandlesAreStableAndUnique) {
  const Document doc = Document::parse(kArt);
  const ArtHandle a = byId(doc, "t1");
  EXPECT_EQ(byId(doc, "t1"), a);
  EXPECT_NE(byId(doc, "t2"), a);
  const Document other = Document::parse(kArt);
  EXPECT_FALSE(other.valid(a)) << "a handle never names art of another document";
  EXPECT_THROW(other.kind(a), InvalidArtError);
  EXPECT_FALSE(doc.valid(ArtHandle{}));
}

TEST(ArtTree, LockedAndHiddenIncludeTheAncestors) {
  const Document doc = Document::parse(kArt);
  EXPECT_FALSE(doc.locked(byId(doc, "t1")));
  EXPECT_TRUE(doc.locked(byId(doc, "t2")));  // its own attribute
  EXPECT_TRUE(doc.locked(byId(doc, "t3")));  // inside a locked layer
  EXPECT_TRUE(doc.hidden(byId(doc, "t3")));  // inside a hidden group
  EXPECT_FALSE(doc.hidden(byId(doc, "t1")));
}

TEST(ArtTree, MatchingFindsTextsInDocumentOrderAndFiltersLocks) {
  const Document doc = Document::parse(kArt);
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Any)),
            (std::vector<std::string>{"loose", "t1", "t2", "t3"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Unlocked)),
            (std::vector<std::string>{"loose", "t1"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::PointText, LockFilter::Locked)),
            (std::vector<std::string>{"t2", "t3"}));
  EXPECT_EQ(ids(doc, doc.matchingArt(ArtKind::Group, LockFilter::Any)),
            (std::vector<std::string>{"group", "hidden-group"}));
}

TEST(ArtTree, AllArtListsEveryRenderedElementOnce) {
  const Document doc = Document::parse(kArt);
  EXPECT_EQ(ids(doc, doc.allArt()),
            (std::vector<std::string>{"loose", "l1", "group", "t1", "p1", "t2", "l2", "hidden-group", "t3"}));
  EXPECT_EQ(doc.elementName(byId(doc, "p1")), "path");
  EXPECT_EQ(doc.elementName(byId(doc, "l1")), "g");
}

TEST(ArtTree, NewArtGoesWhereThePlacementSays) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group");
  const ArtHandle p1 = byId(doc, "p1");
  const ArtHandle top = doc.newGroup(group, Placement::InsideOnTop);
  const ArtHandle bottom = doc.newGroup(group, Placement::InsideOnBottom);
  const ArtHandle above = doc.newPointText(p1, Placement::Above, {0, 0});
  const ArtHandle below = doc.newPointText(p1, Placement::Below, {0, 0});
  EXPECT_EQ(children(doc, group),
            (std::vector<std::string>{doc.elementId(bottom), "t1", doc.elementId(below), "p1",
                                      doc.elementId(above), doc.elementId(top)}));
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

TEST(ArtTree, DisposingInvalidatesTheArtAndEverythingInside) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group");
  const ArtHandle t1 = byId(doc, "t1");
  const ArtHandle t2 = byId(doc, "t2");
  doc.dispose(group);
  EXPECT_FALSE(doc.valid(group));
  EXPECT_FALSE(doc.valid(t1));
  EXPECT_TRUE(doc.valid(t2));
  EXPECT_THROW(doc.dispose(t1), InvalidArtError);
  EXPECT_THROW(doc.text(t1), InvalidArtError);
  // Reusing freed memory for new art must not revive the old handles.
  const ArtHandle fresh = doc.newGroup(doc.layerGroup(doc.layer(1)), Placement::InsideOnTop);
  EXPECT_FALSE(doc.valid(group));
  EXPECT_NE(fresh, group);
  EXPECT_NE(doc.toString().find("  <g inkscape:groupmode=\"layer\" id=\"l1\" inkscape:label=\"Un\">\n"
                                "    <text id=\"t2\" x=\"20\" y=\"20\" sodipodi:insensitive=\"true\">two</text>\n"
                                "    <g id=\"g1\"/>\n  </g>"),
            std::string::npos)
      << doc.toString();
}

TEST(ArtTree, NewArtInTheMemoryOfDisposedArtHasItsOwnKind) {
  Document doc = Document::create({{200, 100}});
  const ArtHandle layer = doc.layerGroup(doc.currentLayer());
  for (int round = 0; round < 20; ++round) {
    const ArtHandle text = doc.newPointText(layer, Placement::InsideOnTop, {10, 10});
    ASSERT_EQ(doc.kind(text), ArtKind::PointText);
    doc.dispose(text);
    const ArtHandle group = doc.newGroup(layer, Placement::InsideOnTop);
    ASSERT_EQ(doc.kind(group), ArtKind::Group);
    EXPECT_THROW(doc.textStyle(group), std::invalid_argument);
    doc.dispose(group);
  }
}

TEST(ArtTree, TranslatingAGroupPrependsATranslateInUserUnits) {
  Document doc = Document::parse(kArt);
  const ArtHandle group = byId(doc, "group");
  const double mm = 72 / 25.4;
  doc.translate(group, 10 * mm, 5 * mm);  // right and up
  EXPECT_NE(doc.toString().find("<g id=\"group\" transform=\"translate(10,-5)\">"), std::string::npos);
  doc.translate(group, 10 * mm, 0);
  EXPECT_NE(doc.toString().find("<g id=\"group\" transform=\"translate(20,-5)\">"), std::string::npos);
  // Texts inside follow the group.
  EXPECT_NEAR(doc.textAnchor(byId(doc, "t1")).h, 30 * mm, 1e-9);
  EXPECT_NEAR(doc.textAnchor(byId(doc, "t1")).v, 95 * mm, 1e-9);

  const ArtHandle path = byId(doc, "p1");
  doc.translate(path, 0, 0);
  EXPECT_FALSE(doc.toString().find("id=\"p1\" transform") != std::string::npos);
}

TEST(ArtTree, TranslateGoesBeforeAnExistingTransform) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100pt" height="100pt" viewBox="0 0 100 100">
<g id="g" transform="rotate(90)"><rect width="1" height="1"/></g></svg>)svg");
  const ArtHandle g = doc.matchingArt(ArtKind::Group, LockFilter::Any).at(0);
  doc.translate(g, 3, 4);
  EXPECT_NE(doc.toString().find("transform=\"translate(3,-4) rotate(90)\""), std::string::npos) << doc.toString();
}

TEST(Tags, SurviveSavingAndReloading) {
  Document doc = Document::parse(kArt);
  const ArtHandle t1 = byId(doc, "t1");
  EXPECT_FALSE(doc.tag(t1, "QZVNOM"));
  doc.setTag(t1, "QZVNOM", "jj");
  doc.setTag(t1, "count", "3", "integer");
  EXPECT_EQ(doc.tag(t1, "QZVNOM"), (Tag{"string", "jj"}));

  const Document reloaded = Document::parse(doc.toString());
  const ArtHandle again = byId(reloaded, "t1");
  EXPECT_EQ(reloaded.tag(again, "QZVNOM"), (Tag{"string", "jj"}));
  EXPECT_EQ(reloaded.tag(again, "count"), (Tag{"integer", "3"}));
  EXPECT_FALSE(reloaded.tag(byId(reloaded, "t2"), "QZVNOM"));
  EXPECT_THROW(doc.setTag(t1, "has space", "x"), std::invalid_argument);
  EXPECT_THROW(doc.setTag(t1, "", "x"), std::invalid_argument);
}

}  // namespace
}  // namespace hostsim
