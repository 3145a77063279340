// Stamp layers the user locked, hid or moved into another layer, and texts carrying the stamp
// tag inside the user's own groups: the tag is what makes a stamp, a lock is respected, and
// the user's other art comes through byte for byte. A stamping the plug-in refused fails that
// file, and nothing is saved for it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support.h"

namespace hostile {
namespace {

using nlohmann::json;

const int kRegistered = countInputs("stamp layers and tagged texts", 7);

const char kLocked[] = "Impossible, le calque est verrouill\xC3\xA9.";  // UTF-8 é

const std::string kPage = "width=\"210mm\" height=\"297mm\" viewBox=\"0 0 210 297\"";
const std::string kUserLayer =
    "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\">"
    "<rect id=\"r\" width=\"10\" height=\"10\" style=\"fill:#123456\"/></g>";

std::string stampLayer(const std::string& attributes, const std::string& id = "tampons") {
  return "<g inkscape:groupmode=\"layer\" inkscape:label=\"QZV\xE2\x80\xA2" "Estampilleur\" id=\"" + id + "\" " +
         attributes + "><g id=\"ancien-" + id + "\"><text id=\"s-" + id +
         "\" data-tag-QZVNOM=\"jj\" x=\"1\" y=\"300\">ancien</text></g></g>";
}

class Layers : public ::testing::Test {
 protected:
  json stamp(const std::string& content) {
    writeFile(ws / "entree.svg", content);
    writeFile(ws / "out.svg", kEarlierOutput);
    const Snapshot before = Snapshot::of(ws / "entree.svg");
    result = ws.run({"stamp", "--date", "2012-04-10", "-o", "out.svg", "--report", "report.json", "entree.svg"});
    EXPECT_TRUE(Snapshot::of(ws / "entree.svg") == before);
    output = readFile(ws / "out.svg");
    json document = firstDocument(ws / "report.json");
    if (document["endedBy"].is_null()) {
      EXPECT_EQ(result.status, 0) << "only a refusal fails the file\n" << result.err;
    }
    return document;
  }
  // The alert on standard error with the file's name, status 1, and the earlier output kept.
  void expectRefused(const json& document) {
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(std::string("entree.svg: the plug-in says: ") + kLocked), std::string::npos) << result.err;
    EXPECT_EQ(document["alerts"], json::array({kLocked}));
    EXPECT_EQ(document["endedBy"], kLocked);
    EXPECT_EQ(output, kEarlierOutput) << "nothing saved";
  }
  static constexpr const char* kEarlierOutput = "an earlier result";
  bool kept(const std::string& markup) const { return output.find(markup) != std::string::npos; }

  Workspace ws;
  Result result;
  std::string output;
};

TEST_F(Layers, ALockedStampLayerIsRefusedWithTheAlertAndLeftAlone) {
  expectRefused(stamp(svg(kPage, kUserLayer + stampLayer("sodipodi:insensitive=\"true\""))));
}

// The earlier stamps are removed before the layer is looked at (hidden is not locked): such a
// result would lose them.
TEST_F(Layers, AHiddenStampLayerIsRefusedToo) {
  expectRefused(stamp(svg(kPage, kUserLayer + stampLayer("style=\"display:none\""))));
}

TEST_F(Layers, ALockedCurrentLayerStampsNothingAndAddsNoLayer) {
  const std::string input =
      svg(kPage, "<sodipodi:namedview id=\"nv\" inkscape:current-layer=\"dessin\"/>"
                 "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\" sodipodi:insensitive=\"true\">"
                 "<rect id=\"r\" width=\"10\" height=\"10\"/></g>");
  expectRefused(stamp(input));
}

TEST_F(Layers, AStampLayerNestedInAnotherIsNotTheStampLayerButItsStampsGo) {
  const std::string nestedLayer =
      "<g inkscape:groupmode=\"layer\" inkscape:label=\"QZV\xE2\x80\xA2" "Estampilleur\" id=\"imbrique\">"
      "<circle id=\"c\" r=\"3\"/><text id=\"s\" data-tag-QZVNOM=\"jj\" x=\"1\" y=\"1\">ancien</text></g>";
  json document = stamp(svg(kPage, "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\">"
                                   "<rect id=\"r\" width=\"10\" height=\"10\"/>" + nestedLayer + "</g>"));
  EXPECT_TRUE(document["alerts"].empty());
  EXPECT_EQ(stampTexts(document).size(), 4u);
  EXPECT_EQ(occurrences(output, ">ancien<"), 0u);
  EXPECT_TRUE(kept("<circle id=\"c\" r=\"3\"/>"));
  EXPECT_TRUE(kept("<rect id=\"r\" width=\"10\" height=\"10\"/>"));
  // The new stamp layer is a real one, at the top level.
  EXPECT_EQ(occurrences(output, "inkscape:label=\"QZV\xE2\x80\xA2" "Estampilleur\""), 2u);
}

TEST_F(Layers, TaggedTextsInTheUsersGroupsAreStampsUnlessLocked) {
  json document = stamp(svg(
      kPage, "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\"><g id=\"mien\">"
             "<text id=\"t1\" data-tag-QZVNOM=\"jj\" x=\"5\" y=\"5\">marque</text>"
             "<text id=\"t2\" data-tag-QZVNOM=\"autre\" data-tagtype-QZVNOM=\"integer\" x=\"5\" y=\"9\">autre</text>"
             "<text id=\"t3\" x=\"5\" y=\"12\">simple</text>"
             "<rect id=\"rt\" data-tag-QZVNOM=\"jj\" width=\"3\" height=\"3\"/>"
             "<g id=\"sous\"><text id=\"t4\" sodipodi:insensitive=\"true\" data-tag-QZVNOM=\"jj\" x=\"5\" y=\"15\">"
             "verrou</text><text id=\"t5\" style=\"display:none\" data-tag-QZVNOM=\"jj\" x=\"5\" y=\"15\">cache</text>"
             "</g></g></g>"));
  // Any value or type of the tag makes a stamp; a locked one stays, as the user locked it.
  for (const char* gone : {">marque<", ">autre<", ">cache<"}) EXPECT_FALSE(kept(gone)) << gone;
  EXPECT_TRUE(kept("<text id=\"t3\" x=\"5\" y=\"12\">simple</text>"));
  EXPECT_TRUE(kept("<rect id=\"rt\" data-tag-QZVNOM=\"jj\" width=\"3\" height=\"3\"/>")) << "only texts are stamps";
  EXPECT_TRUE(kept(">verrou</text>"));
  const auto texts = stampTexts(document);
  EXPECT_EQ(texts.size(), 5u);
  EXPECT_EQ(texts[0], "verrou");
}

TEST_F(Layers, OfTwoStampLayersTheFirstIsUsedAndBothLoseTheirStamps) {
  json document = stamp(svg(kPage, kUserLayer + stampLayer("", "un") + stampLayer("", "deux")));
  EXPECT_TRUE(document["alerts"].empty());
  EXPECT_EQ(stampTexts(document).size(), 4u);
  EXPECT_EQ(occurrences(output, ">ancien<"), 0u);
  EXPECT_TRUE(kept(kUserLayer));
}

TEST_F(Layers, TheExampleWithALockedBackgroundIsStampedAroundIt) {
  const std::string input = readFile(std::filesystem::path(HOSTILE_EXAMPLES) / "calque-verrouille.svg");
  json document = stamp(input);
  EXPECT_TRUE(document["alerts"].empty());
  EXPECT_EQ(stampTexts(document).size(), 4u);
  const size_t begin = input.find("<g inkscape:groupmode=\"layer\" inkscape:label=\"Fond");
  const std::string background = input.substr(begin, input.find("</g>", begin) + 4 - begin);
  EXPECT_TRUE(kept(background)) << "the locked layer, byte for byte";
}

}  // namespace
}  // namespace hostile
