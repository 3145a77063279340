// Stamp layers the user locked, hid or nested, and tagged texts in the user's own groups: the
// tag is what makes a stamp, a lock is respected, and the user's other art comes through byte
// for byte. A stamping the plug-in refused fails that file, and nothing is saved for it.
#include "hostile.h"

namespace hostile {
namespace {

const std::string kPage = "width=\"210mm\" height=\"297mm\" viewBox=\"0 0 210 297\"";
const std::string kStampLayer = "inkscape:label=\"QZV\xE2\x80\xA2" "Estampilleur\"";
const std::string kUserLayer = "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\">"
                               "<rect id=\"r\" width=\"10\" height=\"10\" style=\"fill:#123456\"/></g>";

std::string stampLayer(const std::string& attributes, const std::string& id = "tampons") {
  return "<g inkscape:groupmode=\"layer\" " + kStampLayer + " id=\"" + id + "\" " + attributes + "><g id=\"ancien-" +
         id + "\"><text id=\"s-" + id + "\" data-tag-QZVNOM=\"jj\" x=\"1\" y=\"300\">ancien</text></g></g>";
}

class Layers : public ::testing::Test {
 protected:
  // Stamps `content` over an earlier output, which stays when the stamping is refused.
  json stamp(const std::string& content) {
    writeFile(ws / "entree.svg", content);
    writeFile(ws / "out.svg", "an earlier result");
    result = stampUntouched(ws, {"-o", "out.svg", "entree.svg"});
    output = readFile(ws / "out.svg");
    return result.documents[0];
  }
  Workspace ws;
  Result result;
  std::string output;
};

// The earlier stamps are removed before the layer is looked at (hidden is not locked): such a
// result would lose them. The alert is on standard error with the file's name.
TEST_F(Layers, ALockedOrHiddenStampLayerOrALockedCurrentLayerIsRefusedWithTheAlert) {
  const char kLocked[] = "Impossible, le calque est verrouill\xC3\xA9.";
  for (const std::string& content :
       {svg(kPage, kUserLayer + stampLayer("sodipodi:insensitive=\"true\"")),
        svg(kPage, kUserLayer + stampLayer("style=\"display:none\"")),
        svg(kPage, "<sodipodi:namedview id=\"nv\" inkscape:current-layer=\"dessin\"/>"
                   "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\" "
                   "sodipodi:insensitive=\"true\"><rect id=\"r\" width=\"10\" height=\"10\"/></g>")}) {
    SCOPED_TRACE(content);
    const json document = stamp(content);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(std::string("entree.svg: the plug-in says: ") + kLocked), std::string::npos)
        << result.err;
    EXPECT_EQ(document["alerts"], json::array({kLocked}));
    EXPECT_EQ(document["endedBy"], kLocked);
    EXPECT_EQ(output, "an earlier result") << "nothing saved";
  }
}

// A stamp layer nested in another is not the stamp layer, but its stamps go; of two stamp
// layers the first is used and both lose their stamps; any value or type of the tag makes a
// stamp, but only on a text, and a locked one stays as the user locked it.
TEST_F(Layers, TheTagMakesAStampWhereverItIsAndTheUsersArtStays) {
  const std::string example = readFile(ws.example("calque-verrouille.svg"));
  const size_t background = example.find("<g inkscape:groupmode=\"layer\" inkscape:label=\"Fond");
  const struct {
    std::string svg;
    std::vector<std::string> locked, gone, kept;  // locked: stamps that stay, first
    size_t stampLayers = 1;
  } cases[] = {
      {svg(kPage, "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\"><rect id=\"r\" width=\"10\" "
                  "height=\"10\"/><g inkscape:groupmode=\"layer\" " + kStampLayer + " id=\"imbrique\"><circle id=\"c\" "
                  "r=\"3\"/><text id=\"s\" data-tag-QZVNOM=\"jj\" x=\"1\" y=\"1\">ancien</text></g></g>"),
       {}, {">ancien<"}, {"<circle id=\"c\" r=\"3\"/>", "<rect id=\"r\" width=\"10\" height=\"10\"/>"}, 2},
      {svg(kPage, kUserLayer + stampLayer("", "un") + stampLayer("", "deux")), {}, {">ancien<"}, {kUserLayer}, 2},
      {svg(kPage, "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\"><g id=\"mien\">"
                  "<text id=\"t1\" data-tag-QZVNOM=\"jj\" x=\"5\" y=\"5\">marque</text>"
                  "<text id=\"t2\" data-tag-QZVNOM=\"autre\" data-tagtype-QZVNOM=\"integer\" x=\"5\" y=\"9\">autre</text>"
                  "<text id=\"t3\" x=\"5\" y=\"12\">simple</text><rect id=\"rt\" data-tag-QZVNOM=\"jj\" width=\"3\" "
                  "height=\"3\"/><g id=\"sous\"><text id=\"t4\" sodipodi:insensitive=\"true\" data-tag-QZVNOM=\"jj\" "
                  "x=\"5\" y=\"15\">verrou</text><text id=\"t5\" style=\"display:none\" data-tag-QZVNOM=\"jj\" x=\"5\" "
                  "y=\"15\">cache</text></g></g></g>"),
       {"verrou"}, {">marque<", ">autre<", ">cache<"},
       {"<text id=\"t3\" x=\"5\" y=\"12\">simple</text>", "<rect id=\"rt\" data-tag-QZVNOM=\"jj\" width=\"3\" height=\"3\"/>",
        ">verrou</text>"}},
      {example, {}, {}, {example.substr(background, example.find("</g>", background) + 4 - background)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.svg.substr(0, 400));
    const json document = stamp(c.svg);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(document["alerts"].empty());
    const auto texts = stampTexts(document);
    ASSERT_EQ(texts.size(), c.locked.size() + 4) << "one new set of four";
    EXPECT_EQ(std::vector(texts.begin(), texts.begin() + static_cast<long>(c.locked.size())), c.locked);
    for (const std::string& gone : c.gone) EXPECT_EQ(output.find(gone), std::string::npos) << gone;
    for (const std::string& kept : c.kept) EXPECT_NE(output.find(kept), std::string::npos) << kept;
    // The nested layer is the user's: a new stamp layer is made at the top level.
    EXPECT_EQ(occurrences(output, kStampLayer), c.stampLayers);
  }
}

}  // namespace
}  // namespace hostile
