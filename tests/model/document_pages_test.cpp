// Artboards from pages, the bleed, and new documents.
#include <gtest/gtest.h>

#include <cmath>

#include "document.h"

namespace hostsim {
namespace {

constexpr double kPtPerMm = 72.0 / 25.4;

std::string twoPages(const std::string& bleed) {
  return R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
  width="430mm" height="297mm" viewBox="0 0 430 297">
  <sodipodi:namedview id="nv">
    <inkscape:page x="0" y="0" width="210" height="297" id="page1")svg" +
         bleed + R"svg(/>
    <inkscape:page x="220" y="10" width="200" height="100" id="page2")svg" +
         bleed + R"svg(/>
  </sodipodi:namedview>
</svg>)svg";
}

void expectRect(const Rect& actual, const Rect& expected) {
  EXPECT_NEAR(actual.left, expected.left, 1e-9);
  EXPECT_NEAR(actual.top, expected.top, 1e-9);
  EXPECT_NEAR(actual.right, expected.right, 1e-9);
  EXPECT_NEAR(actual.bottom, expected.bottom, 1e-9);
}

TEST(Artboards, PagesBecomeArtboardsInHostPoints) {
  const Document doc = Document::parse(twoPages(""));
  ASSERT_EQ(doc.artboardCount(), 2);
  expectRect(doc.artboard(0), {0, 297 * kPtPerMm, 210 * kPtPerMm, 0});
  expectRect(doc.artboard(1), {220 * kPtPerMm, 287 * kPtPerMm, 420 * kPtPerMm, 187 * kPtPerMm});
  EXPECT_THROW(doc.artboard(2), std::out_of_range);
  EXPECT_THROW(doc.artboard(-1), std::out_of_range);
}

TEST(Artboards, WithoutPagesTheViewportIsTheOnlyArtboard) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="612pt" height="792pt"/>)svg");
  EXPECT_EQ(doc.artboardCount(), 1);
  EXPECT_EQ(doc.artboard(0), (Rect{0, 792, 612, 0}));
  EXPECT_EQ(doc.activeArtboard(), 0);
  EXPECT_THROW(doc.setActiveArtboard(1), std::out_of_range);
}

TEST(Artboards, ActiveArtboardIsSettable) {
  Document doc = Document::parse(twoPages(""));
  EXPECT_EQ(doc.activeArtboard(), 0);
  doc.setActiveArtboard(1);
  EXPECT_EQ(doc.activeArtboard(), 1);
  EXPECT_FALSE(doc.modified()) << "the active artboard is the host's state, not the file's";
}

TEST(Bleed, ReadFromTheFirstPageAsACssBox) {
  struct Case {
    const char* attribute;
    Rect bleed;  // left, top, right, bottom in mm
  };
  const Case cases[] = {{"", {0, 0, 0, 0}},
                        {R"svg( bleed="3")svg", {3, 3, 3, 3}},
                        {R"svg( bleed="1 2")svg", {2, 1, 2, 1}},
                        {R"svg( bleed="1 2 3")svg", {2, 1, 2, 3}},
                        {R"svg( bleed="1 2 3 4")svg", {4, 1, 2, 3}},
                        {R"svg( bleed="oops")svg", {0, 0, 0, 0}}};
  for (const Case& c : cases) {
    const Rect b = Document::parse(twoPages(c.attribute)).bleed();
    expectRect(b, {c.bleed.left * kPtPerMm, c.bleed.top * kPtPerMm, c.bleed.right * kPtPerMm,
                   c.bleed.bottom * kPtPerMm});
  }
}

// A side set goes to every page; the others stay each page's own.
TEST(Bleed, WrittenToEveryPageInUserUnits) {
  std::string svg = twoPages(R"svg( bleed="1 2 3 4")svg");
  svg.replace(svg.rfind("1 2 3 4"), 7, "5 6 7 8");
  Document doc = Document::parse(svg);
  Rect b = doc.bleed();
  b.bottom = 72;  // one inch
  doc.setBleed(b);
  const Document reloaded = Document::parse(doc.toString());
  expectRect(reloaded.bleed(), {4 * kPtPerMm, 1 * kPtPerMm, 2 * kPtPerMm, 72});
  const std::string text = doc.toString();
  EXPECT_NE(text.find(R"svg(id="page1" bleed="1 2 25.4 4")svg"), std::string::npos) << text;
  EXPECT_NE(text.find(R"svg(id="page2" bleed="5 6 25.4 8")svg"), std::string::npos) << text;
}

TEST(Bleed, SidesPassedBackInSinglePrecisionKeepTheirExactText) {
  Document doc = Document::parse(twoPages(R"svg( bleed="0.1 0.2 0.3 0.4")svg"));
  const Rect b = doc.bleed();
  doc.setBleed({static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.right), 0});
  EXPECT_NE(doc.toString().find(R"svg(bleed="0.1 0.2 0 0.4")svg"), std::string::npos) << doc.toString();
}

TEST(Bleed, AnUnchangedBleedLeavesTheFileAlone) {
  Document doc = Document::parse(twoPages(R"svg( bleed="1 2 3 4")svg"));
  doc.setBleed(doc.bleed());
  EXPECT_FALSE(doc.modified());
  EXPECT_EQ(doc.toString(), twoPages(R"svg( bleed="1 2 3 4")svg"));
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
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
  width="210mm" height="297mm" viewBox="0 0 210 297">
  <sodipodi:namedview><inkscape:page x="0" y="0" width="210" height="297" id="page1"/>
  <inkscape:page x="220" y="-10" width="200" height="100" id="page2"/></sodipodi:namedview>
</svg>)svg");
  const Rect page1 = doc.artboard(0), page2 = doc.artboard(1);
  doc.setBleed({0, 0, 0, 5 * kPtPerMm});
  const std::string saved = doc.toString();
  EXPECT_NE(saved.find(R"(width="420mm" height="312mm" viewBox="0 -10 420 312")"), std::string::npos) << saved;
  EXPECT_EQ(doc.toString(), saved) << "writing twice grows once";

  // The pages keep their place on the canvas; the host's origin, its bottom left corner, is
  // now the bleed's lower.
  const auto lower = [](Rect r) {
    const double by = 5 * kPtPerMm;
    return Rect{r.left, r.top + by, r.right, r.bottom + by};
  };
  const Document reloaded = Document::parse(saved);
  expectRect(reloaded.artboard(0), lower(page1));
  expectRect(reloaded.artboard(1), lower(page2));
  expectRect(reloaded.bleed(), doc.bleed());
  Document again = Document::parse(saved);
  again.setBleed({0, 0, 0, 5 * kPtPerMm + 1});
  again.setBleed(doc.bleed());
  EXPECT_EQ(again.toString(), saved) << "a canvas that holds everything is left as it is";
}

// One em per character, so that bounds follow from the text alone.
class EmMeasurer final : public TextMeasurer {
 public:
  LineExtent measure(const FontRef&, std::string_view utf8) override {
    return {static_cast<double>(utf8.size()), 0.8, -0.2};
  }
};

TEST(Canvas, HoldsTheAddedTextsTheHostMeasured) {
  Document doc = Document::parse(R"(<svg xmlns="http://www.w3.org/2000/svg" width="100pt" height="100pt"/>)");
  const LayerHandle layer = doc.insertLayer({}, LayerPlacement::AboveAll);
  // A 10-point line of 20 characters from x = 90: 200 points long, 2 below the baseline.
  const ArtHandle text = doc.newPointText(doc.layerGroup(layer), Placement::InsideOnTop, {90, 0});
  doc.setTextMacRoman(text, "vingt caracteres, ok");
  TextStyle style = doc.textStyle(text);
  style.sizePt = 10;
  doc.setTextStyle(text, style);
  const std::string unmeasured = doc.toString();
  EXPECT_NE(unmeasured.find(R"(width="100pt" height="100pt")"), std::string::npos) << unmeasured;

  EmMeasurer measurer;
  const std::string saved = doc.toString(&measurer);
  // In px user units: 0 .. (90 + 200) / 0.75 wide, 0 .. (100 + 2) / 0.75 high, outwards to
  // a hundredth.
  EXPECT_NE(saved.find(R"(width="290.0025pt" height="102pt")"), std::string::npos) << saved;
  EXPECT_NE(saved.find(R"(viewBox="0 0 386.67 136")"), std::string::npos) << saved;

  // A text removed again asks for nothing.
  doc.dispose(text);
  EXPECT_EQ(doc.toString(&measurer).find("viewBox"), std::string::npos);
  EXPECT_NE(doc.toString(&measurer).find(R"(width="100pt" height="100pt")"), std::string::npos);
}

TEST(Canvas, AFileWithoutViewBoxGetsOneAtTheSameScale) {
  Document doc = Document::parse(R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="200"/>)");
  doc.setBleed({0, 0, 0, 30});
  const std::string saved = doc.toString();
  EXPECT_NE(saved.find(R"(width="400" height="240")"), std::string::npos) << saved;
  EXPECT_NE(saved.find(R"(viewBox="0 0 400 240")"), std::string::npos) << saved;
  const Document reloaded = Document::parse(saved);
  expectRect(reloaded.artboard(0), {0, 180, 300, 30});
  expectRect(reloaded.bleed(), {0, 0, 0, 30});
}

TEST(Canvas, RelativeSizesAreLeftToTheViewer) {
  Document doc = Document::parse(
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="100%" viewBox="0 0 100 50" height="50mm"/>)");
  doc.setBleed({0, 0, 0, 10 * kPtPerMm});
  const std::string saved = doc.toString();
  EXPECT_NE(saved.find(R"(width="100%" viewBox="0 0 100 60" height="60mm")"), std::string::npos) << saved;
}

TEST(Canvas, ACanvasTheLoaderWouldRefuseIsNotWritten) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="100pt" height="100pt" viewBox="0 0 100 100">
  <sodipodi:namedview><inkscape:page x="0" y="0" width="100" height="100"/>
  <inkscape:page x="9000000" y="0" width="100" height="100"/>
  <inkscape:page x="-9000000" y="0" width="100" height="100"/></sodipodi:namedview>
</svg>)svg");
  doc.setBleed({0, 0, 0, 10});
  const std::string saved = doc.toString();
  EXPECT_NE(saved.find(R"(viewBox="0 0 100 100")"), std::string::npos) << saved;
  EXPECT_NO_THROW(Document::parse(saved));
}

TEST(Bleed, ImpossibleValuesAreRefused) {
  Document doc = Document::parse(twoPages(""));
  EXPECT_THROW(doc.setBleed({0, 0, 0, -1}), std::invalid_argument);
  EXPECT_THROW(doc.setBleed({0, 0, 0, std::nan("")}), std::invalid_argument);
  EXPECT_FALSE(doc.modified());
}

TEST(NewDocument, ArtboardsStandSideBySideWithTopsAligned) {
  Document doc = Document::create({{595.28, 841.89}, {612, 792}});
  EXPECT_FALSE(doc.location());
  ASSERT_EQ(doc.artboardCount(), 2);
  expectRect(doc.artboard(0), {0, 841.89, 595.28, 0});
  expectRect(doc.artboard(1), {615.28, 841.89, 1227.28, 49.89});
  ASSERT_EQ(doc.layerCount(), 1);
  EXPECT_EQ(doc.layerTitle(doc.currentLayer()), "Layer 1");

  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.artboardCount(), 2);
  expectRect(reloaded.artboard(1), doc.artboard(1));
}

TEST(NewDocument, OneArtboardIsTheViewport) {
  const Document doc = Document::create({{100, 200}});
  EXPECT_EQ(doc.artboardCount(), 1);
  EXPECT_EQ(doc.artboard(0), (Rect{0, 200, 100, 0}));
  EXPECT_THROW(Document::create({}), std::invalid_argument);
  EXPECT_THROW(Document::create({{0, 10}}), std::invalid_argument);
}

}  // namespace
}  // namespace hostsim
