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

TEST(Bleed, WrittenToEveryPageInUserUnits) {
  Document doc = Document::parse(twoPages(R"svg( bleed="1 2 3 4")svg"));
  Rect b = doc.bleed();
  b.bottom = 72;  // one inch
  doc.setBleed(b);
  const Document reloaded = Document::parse(doc.toString());
  expectRect(reloaded.bleed(), {4 * kPtPerMm, 1 * kPtPerMm, 2 * kPtPerMm, 72});
  const std::string text = doc.toString();
  EXPECT_NE(text.find(R"svg(id="page1" bleed="1 2 25.4 4")svg"), std::string::npos) << text;
  EXPECT_NE(text.find(R"svg(id="page2" bleed="1 2 25.4 4")svg"), std::string::npos) << text;
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
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"50pt\" viewBox=\"0 0 200 100\""
            " xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\""
            " xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
            "  <sodipodi:namedview id=\"namedview1\"><inkscape:page x=\"0\" y=\"0\" width=\"200\" "
            "height=\"100\" id=\"page1\" bleed=\"0 0 28 0\"/></sodipodi:namedview>\n"
            "  <rect width=\"1\" height=\"1\"/>\n"
            "</svg>\n");
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.artboardCount(), 1);
  EXPECT_EQ(reloaded.artboard(0), doc.viewport());
  EXPECT_EQ(reloaded.bleed(), (Rect{0, 0, 0, 14}));
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
