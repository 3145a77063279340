// SVG files built to break a loader: each is refused in one line naming the file and the
// fault, or stamped soundly; never a crash, a hang or a read of anything but the file itself.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "hostsim/model/document.h"
#include "support.h"

namespace hostile {
namespace {

using nlohmann::json;

std::string repeated(const std::string& unit, size_t times) {
  std::string out;
  out.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

std::string withPage(const std::string& page) {
  return svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\"",
             "<sodipodi:namedview id=\"nv\"><inkscape:page " + page + "/></sodipodi:namedview>");
}

std::string nested(int depth) {
  return svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\"",
             "<g inkscape:groupmode=\"layer\" inkscape:label=\"Dessin\" id=\"dessin\">" + repeated("<g>", depth - 2) +
                 "<rect id=\"fond\" width=\"1\" height=\"1\"/>" + repeated("</g>", depth - 2) + "</g>");
}

struct Refusal {
  const char* label;
  std::string svg;
  const char* because;  // in the one-line message
};

const std::vector<Refusal>& refusals() {
  static const std::vector<Refusal> all = {
      {"malformed XML", svg("width=\"10mm\" height=\"10mm\"", "<g><rect></g>"), "malformed XML at line 1"},
      {"a truncated file", svg("width=\"10mm\" height=\"10mm\"", "<g>").substr(0, 150), "malformed XML"},
      {"an empty file", "", "No document element"},
      {"a NUL byte inside", svg("width=\"10mm\" height=\"10mm\"", std::string("<g>\0</g>", 8)), "malformed XML"},
      {"an attribute written twice", svg("width=\"10mm\" height=\"10mm\" width=\"20mm\""),
       "the attribute \"width\" appears twice on <svg>"},
      {"a namespace declared twice", svg("width=\"10mm\" height=\"10mm\" xmlns:inkscape=\"urn:autre\""),
       "appears twice"},
      {"a root that is not svg", "<html><body/></html>", "the root element is <html>, not <svg>"},
      {"no size at all", svg(""), "no usable size"},
      {"a width only", svg("width=\"100mm\""), "no usable size"},
      {"a zero size", svg("width=\"0\" height=\"0\" viewBox=\"0 0 0 0\""), "is not a usable size"},
      {"a negative size", svg("width=\"-100mm\" height=\"-50mm\""), "is not a usable size"},
      {"a negative viewBox", svg("viewBox=\"0 0 -100 -100\""), "has no area"},
      {"a viewBox of three numbers", svg("viewBox=\"0 0 100\""), "is not four numbers"},
      {"an absurd unit", svg("width=\"100furlongs\" height=\"3parsecs\""), "is not a length"},
      {"a size of 1e300 mm", svg("width=\"1e300mm\" height=\"1e300mm\""), "is not a usable size"},
      {"a size of 1e-300 mm", svg("width=\"1e-300mm\" height=\"1e-300mm\""), "is not a usable size"},
      {"NaN and infinite sizes", svg("width=\"nan\" height=\"inf\""), "is not a length"},
      {"a viewBox making a unit 1e302 pt",
       svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 1e-300 1e-300\""), "a scale beyond"},
      {"a viewBox making a unit 1e-298 pt",
       svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 1e300 1e300\""), "a scale beyond"},
      {"a viewBox 1e300 units away", svg("width=\"100mm\" height=\"100mm\" viewBox=\"1e300 1e300 100 100\""),
       "lies beyond 1e8 pt"},
      {"a page of zero width", withPage("x=\"0\" y=\"0\" width=\"0\" height=\"50\""), "has no area"},
      {"a page of negative width", withPage("x=\"0\" y=\"0\" width=\"-10\" height=\"50\""), "has no area"},
      {"a page without a size", withPage("x=\"0\" y=\"0\""), "has no area"},
      {"a page 1e-300 wide", withPage("x=\"0\" y=\"0\" width=\"1e-300\" height=\"10\""), "a page must be"},
      {"a page 1e300 wide", withPage("x=\"0\" y=\"0\" width=\"1e300\" height=\"10\""), "lies beyond 1e8 pt"},
      {"a page 5e6 mm wide", withPage("x=\"0\" y=\"0\" width=\"5e6\" height=\"10\""), "a page must be"},
      {"a page 1e300 away", withPage("x=\"1e300\" y=\"0\" width=\"10\" height=\"10\""), "lies beyond 1e8 pt"},
      {"a page at NaN", withPage("x=\"nan\" y=\"0\" width=\"10\" height=\"10\""), "is not a number"},
      {"a bleed of 1e300", withPage("x=\"0\" y=\"0\" width=\"10\" height=\"10\" bleed=\"1e300\""), "the bleed"},
      {"100,000 nested groups", nested(100'000), "nest more than 1000 levels"},
      {"a UTF-16 document", std::string("\xFF\xFE<\0s\0", 6), "UTF-16"},
      {"another declared encoding",
       "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + svg("width=\"10mm\" height=\"10mm\""),
       "encoding \"ISO-8859-1\""},
  };
  return all;
}

const int kRefusals = countInputs("SVG documents refused", static_cast<int>(refusals().size()));
const int kStamped = countInputs("SVG documents stamped soundly", 9);
const int kModel = countInputs("SVG documents through the model directly", 4);

class Svg : public ::testing::Test {
 protected:
  // Stamps `name` holding `content` to out.svg; checks the input is untouched.
  Result stamp(const std::string& name, const std::string& content, double limit = 300) {
    writeFile(ws / name, content);
    const Snapshot before = Snapshot::of(ws / name);
    Result r = ws.run({"stamp", "--date", "2012-04-10", "-o", "out.svg", "--report", "report.json", name}, {}, limit);
    EXPECT_TRUE(Snapshot::of(ws / name) == before) << name << ": the input was touched";
    return r;
  }

  Workspace ws;
};

TEST_F(Svg, EachBrokenDocumentIsRefusedInOneLineAndNothingIsWritten) {
  for (const Refusal& refusal : refusals()) {
    SCOPED_TRACE(refusal.label);
    std::filesystem::remove(ws / "out.svg");
    Result r = stamp("entree.svg", refusal.svg);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err.rfind("estampilleur: 'entree.svg': ", 0), 0u) << "names the file:\n" << r.err;
    EXPECT_NE(r.err.find(refusal.because), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line:\n" << r.err;
    EXPECT_FALSE(std::filesystem::exists(ws / "out.svg"));
    json document = firstDocument(ws / "report.json");
    EXPECT_FALSE(document["error"].is_null());
    EXPECT_TRUE(document["output"].is_null());
  }
}

// How the cost grows is the benchmark's to say; here every page is stamped.
TEST_F(Svg, ThreeThousandPagesAreAllStamped) {
  std::string list;
  for (int i = 0; i < 3000; ++i)
    list += "<inkscape:page x=\"" + std::to_string(i * 110) + "\" y=\"0\" width=\"100\" height=\"" +
            std::to_string(50 + i % 100) + "\" id=\"p" + std::to_string(i) + "\"/>";
  Result r = stamp("pages.svg",
                   svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\"",
                       "<sodipodi:namedview id=\"nv\">" + list + "</sodipodi:namedview>"),
                   600);
  ASSERT_EQ(r.status, 0) << r.err;
  json document = firstDocument(ws / "report.json");
  EXPECT_EQ(document["artboards"].size(), 3000u);
  EXPECT_EQ(document["stamps"].size(), 12000u);
  const auto texts = stampTexts(document);
  EXPECT_NE(std::find(texts.begin(), texts.end(), "3000/3000"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), "100 mm x 149 mm"), texts.end()) << "the last page's size";
}

TEST_F(Svg, NestingJustUnderTheLimitIsLoadedSavedAndWalked) {
  Result r = stamp("profond.svg", nested(1000));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string output = readFile(ws / "out.svg");
  EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), 4u);
  EXPECT_EQ(occurrences(output, "<g>"), 998u) << "the user's groups are all still there";
  EXPECT_NE(output.find("<rect id=\"fond\" width=\"1\" height=\"1\"/>"), std::string::npos);
}

TEST_F(Svg, ATenMegabyteTextIsCarriedThroughWhole) {
  const std::string big = repeated("abcdefghij", 1'000'000);
  Result r = stamp("texte.svg", svg("width=\"100mm\" height=\"100mm\" viewBox=\"0 0 100 100\"",
                                    "<g inkscape:groupmode=\"layer\" id=\"l\"><text id=\"long\" x=\"1\" y=\"1\">" +
                                        big + "</text></g>"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(stampTexts(firstDocument(ws / "report.json")).size(), 4u);
  EXPECT_NE(readFile(ws / "out.svg").find(big), std::string::npos);
}

TEST_F(Svg, EntitiesAreNeverExpanded) {
  // A billion laughs: ten levels of ten references each.
  std::string doctype = "<!DOCTYPE svg [<!ENTITY a \"lollollollollol\">";
  for (char c = 'b'; c <= 'j'; ++c) {
    doctype += std::string("<!ENTITY ") + c + " \"";
    for (int i = 0; i < 10; ++i) doctype += std::string("&") + static_cast<char>(c - 1) + ";";
    doctype += "\">";
  }
  doctype += "]>";
  const std::string input = "<?xml version=\"1.0\"?>" + doctype +
                            svg("width=\"100mm\" height=\"100mm\"", "<text id=\"rires\" x=\"1\" y=\"1\">&j;</text>");
  Result r = stamp("rires.svg", input, 120);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string output = readFile(ws / "out.svg");
  EXPECT_LT(output.size(), input.size() + 4000);
  EXPECT_NE(output.find(">&j;</text>"), std::string::npos) << "the reference is kept as written";
  EXPECT_EQ(output.find("lollollollollollol"), std::string::npos);
}

TEST_F(Svg, ExternalEntitiesAndDocumentTypesAreNeverFetchedNorRead) {
  writeFile(ws / "secret.txt", "SECRET-7d1f9e\n");
  // A named pipe nobody writes to: opening it for reading would hang the run.
  ASSERT_EQ(::mkfifo((ws / "piege").c_str(), 0600), 0);
  const std::string secret = "file://" + (ws / "secret.txt").string();
  const std::string trap = "file://" + (ws / "piege").string();
  const std::vector<std::pair<std::string, std::string>> inputs = {
      {"entites.svg", "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY s SYSTEM \"" + secret +
                          "\"><!ENTITY p SYSTEM \"file:///etc/passwd\"><!ENTITY t SYSTEM \"" + trap +
                          "\"><!ENTITY w SYSTEM \"http://127.0.0.1:9/x\">]>" +
                          svg("width=\"100mm\" height=\"100mm\"", "<text id=\"e\" x=\"1\" y=\"1\">&s;&p;&t;&w;</text>")},
      {"dtd.svg", "<?xml version=\"1.0\"?><!DOCTYPE svg SYSTEM \"" + trap + "\">" +
                      svg("width=\"100mm\" height=\"100mm\"")},
      {"parametre.svg", "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY % p SYSTEM \"" + secret + "\"> %p;]>" +
                            svg("width=\"100mm\" height=\"100mm\"")},
      {"inclusion.svg", svg("width=\"100mm\" height=\"100mm\" xmlns:xi=\"http://www.w3.org/2001/XInclude\"",
                            "<xi:include href=\"" + secret + "\" parse=\"text\"/>")},
  };
  for (const auto& [name, content] : inputs) {
    SCOPED_TRACE(name);
    std::filesystem::remove(ws / "out.svg");
    Result r = stamp(name, content, 60);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string output = readFile(ws / "out.svg");
    EXPECT_EQ(occurrences(output, "data-tag-QZVNOM"), 4u);
    for (const std::string& leaked : {std::string("SECRET-7d1f9e"), std::string("root:x:0:0")}) {
      EXPECT_EQ(output.find(leaked), std::string::npos);
      EXPECT_EQ(readFile(ws / "report.json").find(leaked), std::string::npos);
      EXPECT_EQ(r.err.find(leaked), std::string::npos);
    }
  }
}

TEST_F(Svg, AByteOrderMarkIsAccepted) {
  Result r = stamp("bom.svg", "\xEF\xBB\xBF" + svg("width=\"100mm\" height=\"100mm\""));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readFile(ws / "out.svg").rfind("\xEF\xBB\xBF<svg", 0), 0u) << "kept as it was";
}

// The loader, the saver and the art walks straight on the model, where a deep stack would
// show first.
TEST(SvgModel, DeepNestingIsRefusedBeforeAnyRecursiveWalkAndTheLimitItselfWorks) {
  EXPECT_THROW(hostsim::Document::parse(nested(100'000), "profond.svg"), hostsim::DocumentError);
  EXPECT_THROW(hostsim::Document::parse(nested(1001), "profond.svg"), hostsim::DocumentError);

  const std::string text = nested(1000);
  hostsim::Document document = hostsim::Document::parse(text, "profond.svg");
  EXPECT_EQ(document.toString(), text);
  const auto art = document.allArt();
  EXPECT_EQ(art.size(), 1000u) << "the layer group, 998 groups and the rectangle";
  EXPECT_EQ(document.matchingArt(hostsim::ArtKind::Group, hostsim::LockFilter::Any).size(), 998u);
  EXPECT_FALSE(document.locked(art.back()));
  EXPECT_FALSE(document.hidden(art.back()));
  hostsim::ArtHandle text1 = document.newPointText(art.back(), hostsim::Placement::Above, {1, 1});
  document.setText(text1, "au fond");
  EXPECT_EQ(document.text(text1), "au fond");
  document.dispose(art[1]);
  EXPECT_EQ(document.allArt().size(), 1u);
  EXPECT_EQ(document.toString().find("<g>"), std::string::npos);
}

TEST(SvgModel, ManyNewElementsGetDistinctIds) {
  hostsim::Document document = hostsim::Document::parse(
      svg("width=\"100mm\" height=\"100mm\"", "<g inkscape:groupmode=\"layer\" id=\"l\"><text id=\"text2\"/></g>"));
  const hostsim::ArtHandle layer = document.layerGroup(document.layer(0));
  std::vector<hostsim::ArtHandle> texts;
  for (int i = 0; i < 20000; ++i)
    texts.push_back(document.newPointText(layer, hostsim::Placement::InsideOnTop, {0, 0}));
  EXPECT_EQ(document.elementId(texts[0]), "text1");
  EXPECT_EQ(document.elementId(texts[1]), "text3") << "the file's own text2 is taken";
  // A freed id is the first one used again, as before.
  document.dispose(texts[5]);
  EXPECT_EQ(document.elementId(document.newPointText(layer, hostsim::Placement::InsideOnTop, {0, 0})), "text7");
  EXPECT_EQ(document.elementId(document.newPointText(layer, hostsim::Placement::InsideOnTop, {0, 0})), "text20002");
}

// Found by the fuzzer: an edit that declares a namespace must not give one to names the file
// wrote with that prefix undeclared.
TEST(SvgModel, AnEditNeverBindsAPrefixTheFileUsesUndeclared) {
  const std::string text =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\""
      " width=\"300mm\" height=\"200mm\" viewBox=\"0 0 300 200\"><sodipodi:namedview id=\"nv\">"
      "<inkscape:page x=\"0\" y=\"0\" width=\"100\" height=\"0\" id=\"p1\"/></sodipodi:namedview></svg>";
  hostsim::Document document = hostsim::Document::parse(text, "sans-prefixe.svg");
  ASSERT_EQ(document.artboardCount(), 1) << "an undeclared inkscape:page is no page";
  document.setBleed({0, 0, 0, 50});
  document.insertLayer({}, hostsim::LayerPlacement::AboveAll);
  EXPECT_EQ(document.artboardCount(), 1);
  EXPECT_EQ(document.artboard(0), document.viewport());
  const std::string saved = document.toString();
  EXPECT_EQ(saved.find("xmlns:inkscape=\""), std::string::npos) << saved;
  hostsim::Document again = hostsim::Document::parse(saved, "saved.svg");
  EXPECT_EQ(again.artboardCount(), 1);
  EXPECT_EQ(again.layerCount(), 1);
}

TEST(SvgModel, ADeclaredPrefixWithAColonIsNeverUsed) {
  hostsim::Document document = hostsim::Document::parse(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:ink:scape=\"http://www.inkscape.org/namespaces/inkscape\""
      " width=\"10mm\" height=\"10mm\"/>",
      "deux-points.svg");
  const hostsim::LayerHandle layer = document.insertLayer({}, hostsim::LayerPlacement::AboveAll);
  ASSERT_TRUE(document.valid(layer));
  document.setLayerTitle(layer, "QZV\xE2\x80\xA2" "Estampilleur");
  EXPECT_EQ(document.layerTitle(layer), "QZV\xE2\x80\xA2" "Estampilleur");
  EXPECT_EQ(hostsim::Document::parse(document.toString()).layerCount(), 1);
}

}  // namespace
}  // namespace hostile
