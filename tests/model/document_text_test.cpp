// Point texts: markup, round trips, foreign texts and bounds.
#include <gtest/gtest.h>

#include "document.h"
#include "fonts.h"
#include "support/support.h"

namespace hostsim {
namespace {

TextStyle stampStyle() {
  TextStyle style;
  style.font = {"DejaVuSans-Bold", "DejaVu Sans", 700, FontSlant::Upright};
  style.sizePt = 7.5;
  style.justification = Justification::Right;
  style.fill = rgbFromCmyk(1, 1, 1, 1);
  return style;
}

TEST(PointText, NewTextIsPlainSvgThatABrowserDraws) {
  Document doc = Document::create({{200, 100}});  // user units are points
  const ArtHandle layer = doc.layerGroup(doc.currentLayer());
  const ArtHandle text = doc.newPointText(layer, Placement::InsideOnTop, {50, 20});
  doc.setTextStyle(text, stampStyle());
  doc.setTextMacRoman(text, "QZV\xA5""Estampilleur & <co>");  // QZV•Estampilleur & <co>
  doc.setTag(text, "QZVNOM", "jj");
  EXPECT_NE(doc.toString().find(
                "<g inkscape:groupmode=\"layer\" id=\"layer1\" inkscape:label=\"Layer 1\">"
                "<text xml:space=\"preserve\" id=\"text1\" x=\"50\" y=\"80\" "
                "style=\"font-weight:bold;font-style:normal;font-size:7.5px;text-anchor:end;"
                "fill:#000000;font-family:'DejaVu Sans'\" data-font=\"DejaVuSans-Bold\" "
                "data-tag-QZVNOM=\"jj\">QZV•Estampilleur &amp; &lt;co&gt;</text></g>"),
            std::string::npos)
      << doc.toString();
}

TEST(PointText, EverythingSurvivesSavingAndReloading) {
  testsupport::TempDir dir;
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
    width="297mm" height="210mm" viewBox="0 0 297 210">
  <g inkscape:groupmode="layer" id="l" transform="translate(5,7)"/>
</svg>)svg");
  const ArtHandle group = doc.newGroup(doc.layerGroup(doc.layer(0)), Placement::InsideOnTop);
  const ArtHandle text = doc.newPointText(group, Placement::InsideOnTop, {0, 0});
  doc.setTag(text, "QZVNOM", "jj");
  doc.setTextAnchor(text, {300.5f, 88.25f});
  TextStyle style = stampStyle();
  style.tracking = 50;
  style.baselineShiftPt = 2;
  style.leadingPt = 14;
  style.startIndentPt = 3;
  style.fill = rgbFromRgb(1, 0.5, 0);
  doc.setTextStyle(text, style);
  doc.setText(text, "Mardi 10 avril 2012");
  doc.saveAs(dir / "stamped.svg");

  const Document reloaded = Document::load(dir / "stamped.svg");
  const auto texts = reloaded.matchingArt(ArtKind::PointText, LockFilter::Unlocked);
  ASSERT_EQ(texts.size(), 1u);
  const ArtHandle again = texts[0];
  EXPECT_EQ(reloaded.tag(again, "QZVNOM"), (Tag{"string", "jj"}));
  EXPECT_EQ(reloaded.text(again), "Mardi 10 avril 2012");
  const Point anchor = reloaded.textAnchor(again);
  EXPECT_EQ(static_cast<float>(anchor.h), 300.5f);
  EXPECT_EQ(static_cast<float>(anchor.v), 88.25f);
  const TextStyle read = reloaded.textStyle(again);
  EXPECT_EQ(read.font, style.font);
  EXPECT_NEAR(read.sizePt, 7.5, 1e-12);
  EXPECT_EQ(read.justification, Justification::Right);
  EXPECT_EQ(read.fill, (Rgb{255, 128, 0}));
  EXPECT_NEAR(read.tracking, 50, 1e-9);
  EXPECT_NEAR(read.baselineShiftPt, 2, 1e-12);
  ASSERT_TRUE(read.leadingPt);
  EXPECT_NEAR(*read.leadingPt, 14, 1e-12);
  EXPECT_EQ(read.startIndentPt, 3);
  EXPECT_EQ(read.firstLineIndentPt, 0);
}

TEST(PointText, RestylingEditsOnlyTheStylesOwnDeclarations) {
  Document doc = Document::parse(
      R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100px" height="100px" viewBox="0 0 100 100">)svg"
      R"svg(<text id="t" style="FILL:red; clip-path:url(#a;b) ;fill:#0000ff;font-family:'A;B';" x="1" y="2">Hi</text>)svg"
      "</svg>");
  const ArtHandle text = doc.allArt().back();
  TextStyle style = doc.textStyle(text);
  EXPECT_EQ(style.font.family, "A;B");
  EXPECT_EQ(style.fill, (Rgb{0, 0, 255}));
  style.sizePt = 9;
  doc.setTextStyle(text, style);
  // The first fill takes the value in its place, the second goes, the rest stays as written.
  EXPECT_NE(doc.toString().find("<text id=\"t\" style=\"fill:#0000ff; clip-path:url(#a;b) ;font-family:'A;B';"
                                "font-weight:normal;font-style:normal;font-size:12px;text-anchor:start\" "
                                "x=\"1\" y=\"2\">"),
            std::string::npos)
      << doc.toString();
}

TEST(PointText, AStyleEmptiedOnTheWayComesBackLast) {
  // Removing the family empties the style for a moment: the attribute goes, and the next
  // property brings it back after the others, as one edit at a time would.
  Document doc = Document::parse(
      R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="100px" height="100px" viewBox="0 0 100 100">)svg"
      R"svg(<text id="t" style="font-family:'A'" x="1" y="2">Hi</text></svg>)svg");
  const ArtHandle text = doc.allArt().back();
  TextStyle style = doc.textStyle(text);
  style.font.family.clear();
  doc.setTextStyle(text, style);
  EXPECT_NE(doc.toString().find("<text id=\"t\" x=\"1\" y=\"2\" style=\"font-weight:normal;font-style:normal;"
                                "font-size:16px;text-anchor:start;fill:#000000\">Hi</text>"),
            std::string::npos)
      << doc.toString();
  EXPECT_TRUE(doc.modified());
}

TEST(PointText, MacRomanInAndOut) {
  Document doc = Document::create({{200, 100}});
  const ArtHandle text = doc.newPointText(doc.layerGroup(doc.layer(0)), Placement::InsideOnTop, {0, 0});
  doc.setTextMacRoman(text, "Fichier non enregistr\x8E");  // Fichier non enregistré
  EXPECT_EQ(doc.text(text), "Fichier non enregistré");
  doc.setText(text, "Plan № 1 — ok");
  EXPECT_EQ(doc.textMacRoman(text), "Plan ? 1 \xD1 ok");  // № has no Mac Roman byte; — is 0xD1
}

TEST(PointText, CharactersXmlCannotHoldBecomeStandIns) {
  Document doc = Document::create({{200, 100}});
  const ArtHandle text = doc.newPointText(doc.layerGroup(doc.layer(0)), Placement::InsideOnTop, {0, 0});
  doc.setText(text, std::string("a\0b\x01" "c\xFF" "d\r", 8));
  EXPECT_EQ(doc.text(text), "a?b?c?d\r");
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.text(reloaded.matchingArt(ArtKind::PointText, LockFilter::Any)[0]), "a?b?c?d\r");
}

TEST(PointText, ForeignTextsAreReadFromTheirMarkup) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    width="100pt" height="100pt" viewBox="0 0 100 100">
  <g style="font-size:6pt;font-family:Serif, sans-serif" transform="scale(2)">
    <text style="text-anchor:middle;fill:#f00"><tspan x="10" y="20">Hello</tspan> <tspan x="10" y="30">world</tspan></text>
    <text x="1" y="2" font-size="150%" font-weight="bold" font-style="italic">b</text>
  </g>
</svg>)svg");
  const auto texts = doc.matchingArt(ArtKind::PointText, LockFilter::Any);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(doc.text(texts[0]), "Hello world");
  EXPECT_EQ(doc.textAnchor(texts[0]), (Point{20, 60}));  // first tspan, scaled by 2
  TextStyle style = doc.textStyle(texts[0]);
  EXPECT_EQ(style.font.postscriptName, "");
  EXPECT_EQ(style.font.family, "Serif");
  EXPECT_NEAR(style.sizePt, 16, 1e-12);  // 6pt = 8 user units, scaled by 2
  EXPECT_EQ(style.justification, Justification::Center);
  EXPECT_EQ(style.fill, (Rgb{255, 0, 0}));
  style = doc.textStyle(texts[1]);
  EXPECT_NEAR(style.sizePt, 24, 1e-12);
  EXPECT_EQ(style.font.weight, 700);
  EXPECT_EQ(style.font.slant, FontSlant::Italic);

  // Moving a foreign text moves its lines with it.
  doc.setTextAnchor(texts[0], {30, 60});
  EXPECT_NE(doc.toString().find("<tspan x=\"15\" y=\"20\">Hello</tspan> <tspan x=\"15\" y=\"30\">"),
            std::string::npos)
      << doc.toString();
}

TEST(PointText, NewContentsTakeThePlaceOfTheLinesWhereTheFirstStood) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    width="100pt" height="100pt" viewBox="0 0 100 100">
  <text><tspan x="10" y="20">Hello</tspan><tspan x="10" y="30">world</tspan></text>
</svg>)svg");
  const ArtHandle text = doc.matchingArt(ArtKind::PointText, LockFilter::Any).at(0);
  EXPECT_EQ(doc.textAnchor(text), (Point{10, 80}));
  doc.setText(text, "Bonjour");
  EXPECT_EQ(doc.text(text), "Bonjour");
  EXPECT_EQ(doc.textAnchor(text), (Point{10, 80}));
}

// The host keeps each text's style and place once read; every edit that could change them
// must be seen at once (testing builds also check each kept reading against the markup).
TEST(PointText, ReadingsFollowEditsOfTheTextAndOfWhatHoldsIt) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
    width="100pt" height="100pt" viewBox="0 0 100 100">
  <g inkscape:groupmode="layer" id="l" style="font-family:Serif;letter-spacing:0.5px">
    <g id="g" transform="scale(2)" style="font-size:6pt"><text x="1" y="2">a</text></g>
  </g>
</svg>)svg");
  const ArtHandle group = doc.firstChild(doc.layerGroup(doc.layer(0)));
  const ArtHandle foreign = doc.firstChild(group);
  ASSERT_EQ(doc.kind(foreign), ArtKind::PointText);
  const ArtHandle added = doc.newPointText(foreign, Placement::Above, {40, 60});
  EXPECT_EQ(doc.textAnchor(added), (Point{40, 60}));
  EXPECT_NEAR(doc.textStyle(foreign).sizePt, 16, 1e-12);
  EXPECT_EQ(doc.textStyle(foreign).font.family, "Serif");
  EXPECT_NEAR(doc.textStyle(foreign).tracking, 0.5 / 8 * 1000, 1e-9);  // inherited

  // What holds the texts moves: so do they, keeping their sizes.
  doc.translate(group, 10, -5);
  EXPECT_EQ(doc.textAnchor(added), (Point{50, 55}));
  EXPECT_EQ(doc.textAnchor(foreign), (Point{12, 91}));
  EXPECT_NEAR(doc.textStyle(added).sizePt, 12, 1e-12);

  // A text's own edits: what is set is what reads back, whatever came before.
  TextStyle style = doc.textStyle(added);
  style.font.family = "DejaVu Sans";
  style.tracking = 0;  // letter-spacing comes from the layer again
  style.justification = Justification::Center;
  doc.setTextStyle(added, style);
  EXPECT_EQ(doc.textStyle(added).font.family, "DejaVu Sans");
  EXPECT_NEAR(doc.textStyle(added).tracking, 0.5 / 6 * 1000, 1e-9);  // 0.5 of 6 user units
  // Odd families, written into the markup, read back as written, here and from the file.
  for (const char* family : {"L'Ancienne", "A, 'B'; \"C\"", "Odd\\ (Name)"}) {
    style.font.family = family;
    doc.setTextStyle(added, style);
    EXPECT_EQ(doc.textStyle(added).font.family, family);
    EXPECT_EQ(doc.textStyle(added).justification, Justification::Center) << family;
    const Document reloaded = Document::parse(doc.toString());
    EXPECT_EQ(reloaded.textStyle(reloaded.matchingArt(ArtKind::PointText, LockFilter::Any)[1]).font.family, family);
  }

  // Hiding the layer writes its style: the texts read the same.
  doc.setHidden(doc.layerGroup(doc.layer(0)), true);
  EXPECT_EQ(doc.textStyle(added).font.family, style.font.family);
  EXPECT_NEAR(doc.textStyle(foreign).sizePt, 16, 1e-12);

  // A text removed and another made (perhaps where it was) starts afresh.
  doc.dispose(added);
  const ArtHandle again = doc.newPointText(foreign, Placement::Above, {40, 60});
  EXPECT_EQ(doc.textStyle(again).font.family, "Serif");
  EXPECT_EQ(doc.textStyle(again).justification, Justification::Left);
  EXPECT_EQ(doc.textAnchor(again), (Point{40, 60}));
}

TEST(PointText, ATextUnderAFlatTransformIsRefusedAndLeavesNothingBehind) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" width="100pt" height="100pt" viewBox="0 0 100 100">
  <g inkscape:groupmode="layer" id="l"><g id="flat" transform="scale(0)"><path d="M0 0h1"/></g></g>
</svg>)svg");
  const std::string before = doc.toString();
  const ArtHandle flat = doc.firstChild(doc.layerGroup(doc.layer(0)));
  EXPECT_THROW(doc.newPointText(flat, Placement::InsideOnTop, {10, 10}), std::invalid_argument);
  EXPECT_THROW(doc.newPointText(doc.firstChild(flat), Placement::Above, {10, 10}), std::invalid_argument);
  EXPECT_EQ(doc.toString(), before);
  EXPECT_FALSE(doc.modified());
  // Beside the flat group, the layer itself takes texts.
  EXPECT_EQ(doc.textAnchor(doc.newPointText(flat, Placement::Above, {10, 10})), (Point{10, 10}));
}

TEST(PointText, OtherArtIsNotAText) {
  Document doc = Document::create({{200, 100}});
  const ArtHandle layer = doc.layerGroup(doc.layer(0));
  EXPECT_THROW(doc.text(layer), std::invalid_argument);
  const ArtHandle text = doc.newPointText(layer, Placement::InsideOnTop, {0, 0});
  TextStyle style;
  style.sizePt = 0;
  EXPECT_THROW(doc.setTextStyle(text, style), std::invalid_argument);
}

class TextBounds : public ::testing::Test {
 protected:
  TextBounds() : catalog_(FontCatalog::fromDirectory(testsupport::kFontFolder)), metrics_(catalog_) {}

  ArtHandle text(const std::string& content, Justification justification, const char* font = "DejaVuSans") {
    const ArtHandle art = doc_.newPointText(doc_.layerGroup(doc_.layer(0)), Placement::InsideOnTop, {100, 50});
    TextStyle style;
    const FontInfo* info = catalog_.find(font);
    style.font = {info->postscriptName, info->family, info->weight, info->slant};
    style.sizePt = 12;
    style.justification = justification;
    doc_.setTextStyle(art, style);
    doc_.setText(art, content);
    return art;
  }

  Document doc_ = Document::create({{595.28f, 841.89f}});
  FontCatalog catalog_;
  FontMetrics metrics_;
};

TEST_F(TextBounds, WidthComesFromTheFontAndJustificationPlacesIt) {
  // "Hello" in DejaVu Sans: advances 1540+1260+569+569+1253 = 5191 units of 2048.
  const double width = 5191.0 / 2048 * 12;
  const double ascent = 1901.0 / 2048 * 12, descent = 483.0 / 2048 * 12;
  const Rect left = doc_.textBounds(text("Hello", Justification::Left), metrics_);
  EXPECT_NEAR(left.left, 100, 1e-9);
  EXPECT_NEAR(left.right, 100 + width, 1e-9);
  EXPECT_NEAR(left.top, 50 + ascent, 1e-9);
  EXPECT_NEAR(left.bottom, 50 - descent, 1e-9);
  const Rect right = doc_.textBounds(text("Hello", Justification::Right), metrics_);
  EXPECT_NEAR(right.left, 100 - width, 1e-9);
  EXPECT_NEAR(right.right, 100, 1e-9);
  const Rect centre = doc_.textBounds(text("Hello", Justification::Center), metrics_);
  EXPECT_NEAR(centre.left, 100 - width / 2, 1e-9);
  EXPECT_NEAR(centre.right, 100 + width / 2, 1e-9);
}

TEST_F(TextBounds, StampTextsHaveTheirRecordedWidths) {
  struct Case {
    const char* text;
    const char* font;
    double width;  // points at 12 pt
  };
  const Case cases[] = {
      // 6 digits of 1303, 4 spaces of 651, 4 m of 1995 and an x of 1212: 19614 units.
      {"210 mm x 297 mm", "DejaVuSans", 114.92578125},
      {" - affiche.ai", "DejaVuSans-Bold", 76.552734375},
      {"Mardi 10 avril 2012", "DejaVuSerif", 121.294921875},
      {"1/2", "DejaVuSansMono", 3 * 1233.0 / 2048 * 12},
  };
  for (const Case& c : cases) {
    const Rect r = doc_.textBounds(text(c.text, Justification::Left, c.font), metrics_);
    EXPECT_NEAR(r.right - r.left, c.width, 1e-9) << c.text << " in " << c.font;
  }
}

TEST_F(TextBounds, EmptyTextIsAPointAtTheAnchor) {
  EXPECT_EQ(doc_.textBounds(text("", Justification::Center), metrics_), (Rect{100, 50, 100, 50}));
}

TEST_F(TextBounds, TrackingAndBaselineShiftCount) {
  const ArtHandle art = text("Hello", Justification::Left);
  const Rect plain = doc_.textBounds(art, metrics_);
  TextStyle style = doc_.textStyle(art);
  style.tracking = 100;  // a tenth of an em after each character
  style.baselineShiftPt = 3;
  doc_.setTextStyle(art, style);
  const Rect tracked = doc_.textBounds(art, metrics_);
  EXPECT_NEAR(tracked.right - tracked.left, plain.right - plain.left + 5 * 1.2, 1e-9);
  EXPECT_NEAR(tracked.bottom, plain.bottom + 3, 1e-9);
}

}  // namespace
}  // namespace hostsim
