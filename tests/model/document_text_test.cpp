// Point texts: markup, round trips, foreign texts, readings kept by the host, and bounds.
#include <cmath>

#include "model_test.h"
#include "support/support.h"

namespace hostsim {
namespace {

const FontRef kBold{"DejaVuSans-Bold", "DejaVu Sans", 700, FontSlant::Upright};

TEST(PointText, NewTextIsPlainSvgThatABrowserDraws) {
  Document doc = Document::create({{200, 100}});  // user units are points
  const ArtHandle text = doc.newPointText(doc.layerGroup(doc.currentLayer()), Placement::InsideOnTop, {50, 20});
  doc.setTextStyle(text, {kBold, 7.5, Justification::Right, rgbFromCmyk(1, 1, 1, 1), 0, 0, {}, 0, 0});
  doc.setTextMacRoman(text, "QZV\xA5""Estampilleur & <co>");  // QZV•Estampilleur & <co>
  doc.setTag(text, "QZVNOM", "jj");
  EXPECT_TRUE(holds(doc.toString(),
                    "<g inkscape:groupmode=\"layer\" id=\"layer1\" inkscape:label=\"Layer 1\">"
                    "<text xml:space=\"preserve\" id=\"text1\" x=\"50\" y=\"80\" "
                    "style=\"font-weight:bold;font-style:normal;font-size:7.5px;text-anchor:end;"
                    "fill:#000000;font-family:'DejaVu Sans'\" data-font=\"DejaVuSans-Bold\" "
                    "data-tag-QZVNOM=\"jj\">QZV•Estampilleur &amp; &lt;co&gt;</text></g>"));
  doc.setText(text, "Plan № 1 — ok");
  EXPECT_EQ(doc.textMacRoman(text), "Plan ? 1 \xD1 ok");  // № has no Mac Roman byte; — is 0xD1
  doc.setText(text, std::string("a\0b\x01" "c\xFF" "d\r", 8));
  const Document reloaded = Document::parse(doc.toString());
  EXPECT_EQ(reloaded.text(firstText(reloaded)), "a?b?c?d\r") << "what XML cannot hold has a stand-in";
}

TEST(PointText, EverythingSurvivesSavingAndReloading) {
  testsupport::TempDir dir;
  Document doc = Document::parse(svgWith(R"(width="297mm" height="210mm" viewBox="0 0 297 210")",
                                         R"svg(<g inkscape:groupmode="layer" id="l" transform="translate(5,7)"/>)svg"));
  const ArtHandle group = doc.newGroup(doc.layerGroup(doc.layer(0)), Placement::InsideOnTop);
  const ArtHandle text = doc.newPointText(group, Placement::InsideOnTop, {0, 0});
  // Tracked 50, shifted 2 up, led 14 and indented 3.
  const TextStyle style{kBold, 7.5, Justification::Right, rgbFromRgb(1, 0.5, 0), 50, 2, 14, 3, 0};
  doc.setTag(text, "QZVNOM", "jj");
  doc.setTextAnchor(text, {300.5f, 88.25f});
  doc.setTextStyle(text, style);
  doc.setText(text, "Mardi 10 avril 2012");
  doc.saveAs(dir / "stamped.svg");

  const Document reloaded = Document::load(dir / "stamped.svg");
  const ArtHandle again = firstText(reloaded);
  EXPECT_EQ(reloaded.tag(again, "QZVNOM"), (Tag{"string", "jj"}));
  EXPECT_EQ(reloaded.text(again), "Mardi 10 avril 2012");
  EXPECT_EQ(static_cast<float>(reloaded.textAnchor(again).h), 300.5f);
  EXPECT_EQ(static_cast<float>(reloaded.textAnchor(again).v), 88.25f);
  TextStyle read = reloaded.textStyle(again);
  EXPECT_EQ(read.fill, (Rgb{255, 128, 0}));
  // Lengths pass through the file's millimetres: a millionth is exact enough for the host.
  ASSERT_TRUE(read.leadingPt);
  for (double* length : {&read.sizePt, &read.tracking, &read.baselineShiftPt, &*read.leadingPt, &read.startIndentPt})
    *length = std::round(*length * 1e6) / 1e6;
  EXPECT_EQ(read, style);
}

TEST(PointText, RestylingEditsOnlyTheStylesOwnDeclarations) {
  Document doc = Document::parse(
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="100px" height="100px" viewBox="0 0 100 100"><text id="t" )"
      R"svg(style="FILL:red; clip-path:url(#a;b) ;fill:#0000ff;font-family:'A;B';" x="1" y="2">Hi</text></svg>)svg");
  TextStyle style = doc.textStyle(firstText(doc));
  EXPECT_EQ(style.font.family, "A;B");
  EXPECT_EQ(style.fill, (Rgb{0, 0, 255}));
  style.sizePt = 9;
  doc.setTextStyle(firstText(doc), style);
  // The first fill takes the value in its place, the second goes, the rest stays as written.
  EXPECT_TRUE(holds(doc.toString(), "<text id=\"t\" style=\"fill:#0000ff; clip-path:url(#a;b) ;font-family:'A;B';"
                                    "font-weight:normal;font-style:normal;font-size:12px;text-anchor:start\" "
                                    "x=\"1\" y=\"2\">"));
}

TEST(PointText, ForeignTextsAreReadFromTheirMarkupAndMovedWithTheirLines) {
  Document doc = Document::parse(R"svg(<svg xmlns="http://www.w3.org/2000/svg"
    width="100pt" height="100pt" viewBox="0 0 100 100">
  <g style="font-size:6pt;font-family:Serif, sans-serif" transform="scale(2)">
    <text style="text-anchor:middle;fill:#f00"
      font-weight="bold" font-style="italic"><tspan x="10" y="20">Hello</tspan> <tspan x="10" y="30">world</tspan></text>
  </g>
</svg>)svg");
  const auto texts = doc.matchingArt(ArtKind::PointText, LockFilter::Any);
  EXPECT_EQ(doc.text(texts[0]), "Hello world");
  EXPECT_EQ(doc.textAnchor(texts[0]), (Point{20, 60}));  // first tspan, scaled by 2
  const TextStyle style = doc.textStyle(texts[0]);
  EXPECT_EQ(style.font, (FontRef{"", "Serif", 700, FontSlant::Italic}));
  EXPECT_NEAR(style.sizePt, 16, 1e-12);  // 6pt = 8 user units, scaled by 2
  EXPECT_EQ(style.justification, Justification::Center);
  EXPECT_EQ(style.fill, (Rgb{255, 0, 0}));

  doc.setTextAnchor(texts[0], {30, 60});
  EXPECT_TRUE(holds(doc.toString(), "<tspan x=\"15\" y=\"20\">Hello</tspan> <tspan x=\"15\" y=\"30\">"));
  doc.setText(texts[0], "Bonjour");
  EXPECT_EQ(doc.text(texts[0]), "Bonjour");
  EXPECT_EQ(doc.textAnchor(texts[0]), (Point{30, 60})) << "in the place of the first line";
}

// The host keeps each text's style and place once read; every edit that could change them
// must be seen at once (testing builds also check each kept reading against the markup).
TEST(PointText, ReadingsFollowEditsOfTheTextAndOfWhatHoldsIt) {
  Document doc = Document::parse(
      svgWith(R"(width="100pt" height="100pt" viewBox="0 0 100 100")",
              R"(<g inkscape:groupmode="layer" id="l" style="font-family:Serif;letter-spacing:0.5px">)"
              R"svg(<g id="g" transform="scale(2)" style="font-size:6pt"><text x="1" y="2">a</text></g></g>)svg"));
  const ArtHandle group = byId(doc, "g");
  const ArtHandle foreign = doc.firstChild(group);
  const ArtHandle added = doc.newPointText(foreign, Placement::Above, {40, 60});
  EXPECT_EQ(doc.textAnchor(added), (Point{40, 60}));
  EXPECT_NEAR(doc.textStyle(foreign).tracking, 0.5 / 8 * 1000, 1e-9);  // inherited

  // What holds the texts moves: so do they, keeping their sizes.
  doc.translate(group, 10, -5);
  EXPECT_EQ(doc.textAnchor(added), (Point{50, 55}));
  EXPECT_EQ(doc.textAnchor(foreign), (Point{12, 91}));
  EXPECT_NEAR(doc.textStyle(added).sizePt, 12, 1e-12);

  // A text's own edits: what is set is what reads back, whatever came before. Odd families,
  // written into the markup, read back as written, here and from the file.
  TextStyle style = doc.textStyle(added);
  style.tracking = 0;  // letter-spacing comes from the layer again
  style.justification = Justification::Center;
  for (const char* family : {"L'Ancienne", "A, 'B'; \"C\"", "Odd\\ (Name)"}) {
    style.font.family = family;
    doc.setTextStyle(added, style);
    EXPECT_EQ(doc.textStyle(added).font.family, family);
    EXPECT_EQ(doc.textStyle(added).justification, Justification::Center) << family;
    const Document reloaded = Document::parse(doc.toString());
    EXPECT_EQ(reloaded.textStyle(reloaded.matchingArt(ArtKind::PointText, LockFilter::Any)[1]).font.family, family);
  }
  EXPECT_NEAR(doc.textStyle(added).tracking, 0.5 / 6 * 1000, 1e-9);  // 0.5 of 6 user units

  // Hiding the layer writes its style: the texts read the same.
  doc.setHidden(doc.layerGroup(doc.layer(0)), true);
  EXPECT_EQ(doc.textStyle(added).font.family, style.font.family);
  EXPECT_NEAR(doc.textStyle(foreign).sizePt, 16, 1e-12);

  // A text removed and another made (perhaps where it was) starts afresh.
  doc.dispose(added);
  const ArtHandle again = doc.newPointText(foreign, Placement::Above, {40, 60});
  EXPECT_EQ(doc.textStyle(again).font.family, "Serif");
  EXPECT_EQ(doc.textStyle(again).justification, Justification::Left);
}

TEST(PointText, WhatCannotHoldATextIsRefusedAndLeavesNothingBehind) {
  Document doc = Document::parse(svgWith(R"(width="100pt" height="100pt" viewBox="0 0 100 100")",
                                         R"svg(<g inkscape:groupmode="layer" id="l"><g id="flat" transform="scale(0)">)svg"
                                         R"(<path d="M0 0h1"/></g></g>)"));
  const std::string before = doc.toString();
  const ArtHandle flat = byId(doc, "flat");
  EXPECT_THROW(doc.newPointText(flat, Placement::InsideOnTop, {10, 10}), std::invalid_argument);
  EXPECT_THROW(doc.newPointText(doc.firstChild(flat), Placement::Above, {10, 10}), std::invalid_argument);
  EXPECT_THROW(doc.text(flat), std::invalid_argument) << "a group is not a text";
  EXPECT_EQ(doc.toString(), before);
  EXPECT_FALSE(doc.modified());
  // Beside the flat group, the layer itself takes texts, though of no size.
  const ArtHandle text = doc.newPointText(flat, Placement::Above, {10, 10});
  EXPECT_EQ(doc.textAnchor(text), (Point{10, 10}));
  EXPECT_THROW(doc.setTextStyle(text, {kBold, 0, Justification::Left, {}, 0, 0, {}, 0, 0}), std::invalid_argument);
}

// At 12 points from (100, 50), an em is 12 wide, 9.6 above the baseline and 2.4 below;
// tracking 100 adds a tenth of an em after each letter.
TEST(TextBounds, FollowTheMeasureTheJustificationTrackingAndShift) {
  const std::tuple<const char*, Justification, double, double, Rect> cases[] = {
      {"Hello", Justification::Left, 0, 0, {100, 59.6, 160, 47.6}},
      {"Hello", Justification::Right, 0, 0, {40, 59.6, 100, 47.6}},
      {"Hello", Justification::Center, 0, 0, {70, 59.6, 130, 47.6}},
      {"Hello", Justification::Left, 100, 3, {100, 62.6, 166, 50.6}},
      {"", Justification::Center, 0, 0, {100, 50, 100, 50}},
  };
  Document doc = Document::create({{595.28f, 841.89f}});
  EmMeasurer ems;
  for (const auto& [content, justification, tracking, shiftPt, bounds] : cases) {
    const ArtHandle text = doc.newPointText(doc.layerGroup(doc.layer(0)), Placement::InsideOnTop, {100, 50});
    doc.setTextStyle(text, {{}, 12, justification, {}, tracking, shiftPt, {}, 0, 0});
    doc.setText(text, content);
    SCOPED_TRACE(std::string(content) + " " + std::to_string(static_cast<int>(justification)));
    expectRect(doc.textBounds(text, ems), bounds);
  }
}

}  // namespace
}  // namespace hostsim
