// Artboards from pages, the bleed, the canvas that holds them, and new documents.
#include <cmath>

#include "model_test.h"

namespace hostsim {
namespace {

constexpr double kPtPerMm = 72.0 / 25.4;

// Two pages in millimetres, each with the attribute `bleed` (or none).
std::string twoPages(const std::string& bleed) {
  return svgWith(R"(width="430mm" height="297mm" viewBox="0 0 430 297")",
                 R"(<sodipodi:namedview id="nv"><inkscape:page x="0" y="0" width="210" height="297" id="page1")" +
                     bleed + R"(/><inkscape:page x="220" y="10" width="200" height="100" id="page2")" + bleed +
                     "/></sodipodi:namedview>");
}

TEST(Artboards, PagesInHostPointsOrElseTheViewport) {
  Document doc = Document::parse(twoPages(""));
  ASSERT_EQ(doc.artboardCount(), 2);
  expectRect(doc.artboard(0), {0, 297 * kPtPerMm, 210 * kPtPerMm, 0});
  expectRect(doc.artboard(1), {220 * kPtPerMm, 287 * kPtPerMm, 420 * kPtPerMm, 187 * kPtPerMm});
  EXPECT_THROW(doc.artboard(2), std::out_of_range);
  EXPECT_THROW(doc.artboard(-1), std::out_of_range);
  doc.setActiveArtboard(1);
  EXPECT_EQ(doc.activeArtboard(), 1);
  EXPECT_FALSE(doc.modified()) << "the active artboard is the host's state, not the file's";

  Document plain = Document::parse(R"(<svg xmlns="http://www.w3.org/2000/svg" width="612pt" height="792pt"/>)");
  EXPECT_EQ(plain.artboardCount(), 1);
  EXPECT_EQ(plain.artboard(0), (Rect{0, 792, 612, 0}));
  EXPECT_THROW(plain.setActiveArtboard(1), std::out_of_range);
}

TEST(Bleed, ReadFromTheFirstPageAsACssBoxAndNeverImpossible) {
  const std::pair<const char*, Rect> cases[] = {  // left, top, right, bottom in mm
      {"", {0, 0, 0, 0}},        {R"( bleed="3")", {3, 3, 3, 3}},         {R"( bleed="1 2")", {2, 1, 2, 1}},
      {R"( bleed="1 2 3")", {2, 1, 2, 3}}, {R"( bleed="1 2 3 4")", {4, 1, 2, 3}}, {R"( bleed="oops")", {0, 0, 0, 0}}};
  for (const auto& [attribute, mm] : cases)
    expectRect(Document::parse(twoPages(attribute)).bleed(),
               {mm.left * kPtPerMm, mm.top * kPtPerMm, mm.right * kPtPerMm, mm.bottom * kPtPerMm});
  Document doc = Document::parse(twoPages(""));
  EXPECT_THROW(doc.setBleed({0, 0, 0, -1}), std::invalid_argument);
  EXPECT_THROW(doc.setBleed({0, 0, 0, std::nan("")}), std::invalid_argument);
  EXPECT_FALSE(doc.modified());
}

// A side set goes to every page; the others stay each page's own.
TEST(Bleed, WrittenToEveryPageInUserUnits) {
  std::string svg = twoPages(R"( bleed="1 2 3 4")");
  svg.replace(svg.rfind("1 2 3 4"), 7, "5 6 7 8");
  Document doc = Document::parse(svg);
  Rect b = doc.bleed();
  b.bottom = 72;  // one inch
  doc.setBleed(b);
  expectRect(Document::parse(doc.toString()).bleed(), {4 * kPtPerMm, 1 * kPtPerMm, 2 * kPtPerMm, 72});
  const std::string text = doc.toString();
  EXPECT_NE(text.find(R"(id="page1" bleed="1 2 25.4 4")"), std::string::npos) << text;
  EXPECT_NE(text.find(R"(id="page2" bleed="5 6 25.4 8")"), std::string::npos) << text;
}

// What the host hands back unchanged, if only in single precision, stays as the file wrote it.
TEST(Bleed, SidesPassedBackInSinglePrecisionKeepTheirExactText) {
  Document doc = Document::parse(twoPages(R"( bleed="0.1 0.2 0.3 0.4")"));
  doc.setBleed(doc.bleed());
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(doc.toString(), twoPages(R"( bleed="0.1 0.2 0.3 0.4")"));
  const Rect b = doc.bleed();
  doc.setBleed({static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.right), 0});
  EXPECT_NE(doc.toString().find(R"(bleed="0.1 0.2 0 0.4")"), std::string::npos) << doc.toString();
}

TEST(Bleed, AFileWithoutPagesGetsOneOverTheViewport) {
  const std::string plain =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"50pt\" viewBox=\"0 0 200 100\">\n"
      "  <rect width=\"1\" height=\"1\"/>\n"
      "</svg>\n";
  Document doc = Document::parse(plain);
  doc.setBleed({0, 0, 0, 0});
  EXPECT_EQ(doc.toString(), plain) << "a zero bleed needs no page";

  doc.setBleed({0, 0, 0, 14});
  EXPECT_EQ(doc.toString(),
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"64pt\" viewBox=\"0 0 200 128\""
            " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\""
            " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
            "  <sodipodi:namedview id=\"namedview1\"><inkscape:page x=\"0\" y=\"0\" width=\"200\" "
            "height=\"100\" id=\"page1\" bleed=\"0 0 28 0\"/></sodipodi:namedview>\n"
            "  <rect width=\"1\" height=\"1\"/>\n"
            "</svg>\n");
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.artboardCount(), 1);
  EXPECT_EQ(reloaded.artboard(0), (Rect{0, 64, 100, 14})) << "the canvas grew by the bleed below";
  EXPECT_EQ(reloaded.bleed(), (Rect{0, 0, 0, 14}));
}

// A browser shows the viewBox only: whatever lies in the bleed or on a later page must be
// inside it once written, and nothing may move for the host.
TEST(Canvas, GrowsToHoldEveryPageAndItsBleed) {
  Document doc = Document::parse(svgWith(R"(width="210mm" height="297mm" viewBox="0 0 210 297")",
                                         R"(<sodipodi:namedview><inkscape:page x="0" y="0" width="210" height="297"/>)"
                                         R"(<inkscape:page x="220" y="-10" width="200" height="100"/></sodipodi:namedview>)"));
  const Rect page1 = doc.artboard(0), page2 = doc.artboard(1);
  doc.setBleed({0, 0, 0, 5 * kPtPerMm});
  const std::string saved = doc.toString();
  EXPECT_NE(saved.find(R"(width="420mm" height="312mm" viewBox="0 -10 420 312")"), std::string::npos) << saved;
  EXPECT_EQ(doc.toString(), saved) << "writing twice grows once";

  // The pages keep their place on the canvas; the host's origin, its bottom left corner, is
  // now the bleed's lower.
  const auto lower = [](Rect r) { return Rect{r.left, r.top + 5 * kPtPerMm, r.right, r.bottom + 5 * kPtPerMm}; };
  const Document reloaded = Document::parse(saved);
  expectRect(reloaded.artboard(0), lower(page1));
  expectRect(reloaded.artboard(1), lower(page2));
  expectRect(reloaded.bleed(), doc.bleed());
  Document again = Document::parse(saved);
  again.setBleed({0, 0, 0, 5 * kPtPerMm + 1});
  again.setBleed(doc.bleed());
  EXPECT_EQ(again.toString(), saved) << "a canvas that holds everything is left as it is";
}

// The canvas grows at the file's own scale; a relative size is left to the viewer, and a
// canvas the loader would refuse is not written.
TEST(Canvas, GrowsInTheFilesOwnUnits) {
  struct Case {
    std::string svg;
    double bottomPt;
    std::vector<const char*> written;
    double lowered;  // how far the artboard goes up for the host
  };
  const Case cases[] = {
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="200"/>)", 30,
       {R"(width="400" height="240")", R"(viewBox="0 0 400 240")"}, 30},
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="100%" viewBox="0 0 100 50" height="50mm"/>)", 10 * kPtPerMm,
       {R"(width="100%" viewBox="0 0 100 60" height="60mm")"}, 10 * kPtPerMm},
      {svgWith(R"(width="100pt" height="100pt" viewBox="0 0 100 100")",
               R"(<sodipodi:namedview><inkscape:page x="0" y="0" width="100" height="100"/>)"
               R"(<inkscape:page x="9000000" y="0" width="100" height="100"/>)"
               R"(<inkscape:page x="-9000000" y="0" width="100" height="100"/></sodipodi:namedview>)"),
       10, {R"(viewBox="0 0 100 100")"}, 0},
  };
  for (const Case& c : cases) {
    Document doc = Document::parse(c.svg);
    const Rect artboard = doc.artboard(0);
    doc.setBleed({0, 0, 0, c.bottomPt});
    const std::string saved = doc.toString();
    for (const char* written : c.written) EXPECT_NE(saved.find(written), std::string::npos) << saved;
    const Document reloaded = Document::parse(saved);
    expectRect(reloaded.bleed(), {0, 0, 0, c.bottomPt});
    expectRect(reloaded.artboard(0), {artboard.left, artboard.top + c.lowered, artboard.right, artboard.bottom + c.lowered});
  }
}

TEST(Canvas, HoldsTheAddedTextsTheHostMeasured) {
  Document doc = Document::parse(R"(<svg xmlns="http://www.w3.org/2000/svg" width="100pt" height="100pt"/>)");
  const LayerHandle layer = doc.insertLayer({}, LayerPlacement::AboveAll);
  // A 10-point line of 20 characters from x = 90: 200 points long, 2 below the baseline.
  const ArtHandle text = doc.newPointText(doc.layerGroup(layer), Placement::InsideOnTop, {90, 0});
  doc.setTextMacRoman(text, "vingt caracteres, ok");
  TextStyle style = doc.textStyle(text);
  style.sizePt = 10;
  doc.setTextStyle(text, style);
  EXPECT_NE(doc.toString().find(R"(width="100pt" height="100pt")"), std::string::npos) << "unmeasured";

  EmMeasurer measurer;
  const std::string saved = doc.toString(&measurer);
  // In px user units: 0 .. (90 + 200) / 0.75 wide, 0 .. (100 + 2) / 0.75 high, outwards to
  // a hundredth.
  EXPECT_NE(saved.find(R"(width="290.0025pt" height="102pt")"), std::string::npos) << saved;
  EXPECT_NE(saved.find(R"(viewBox="0 0 386.67 136")"), std::string::npos) << saved;
  doc.dispose(text);
  EXPECT_EQ(doc.toString(&measurer).find("viewBox"), std::string::npos) << "a text removed asks for nothing";
}

TEST(NewDocument, ArtboardsStandSideBySideWithTopsAligned) {
  const Document doc = Document::create({{595.28, 841.89}, {612, 792}});
  EXPECT_FALSE(doc.location());
  ASSERT_EQ(doc.artboardCount(), 2);
  expectRect(doc.artboard(0), {0, 841.89, 595.28, 0});
  expectRect(doc.artboard(1), {615.28, 841.89, 1227.28, 49.89});
  ASSERT_EQ(doc.layerCount(), 1);
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Layer 1");
  expectRect(Document::parse(doc.toString()).artboard(1), doc.artboard(1));
  EXPECT_EQ(Document::create({{100, 200}}).artboard(0), (Rect{0, 200, 100, 0})) << "one artboard is the viewport";
  EXPECT_THROW(Document::create({}), std::invalid_argument);
  EXPECT_THROW(Document::create({{0, 10}}), std::invalid_argument);
}

}  // namespace
}  // namespace hostsim
