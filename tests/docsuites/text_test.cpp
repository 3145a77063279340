// Point texts, the font list, paints and the text engine, filled the way the stamping fills
// its texts.
#include <cmath>
#include <string>

#include "hostsim/model/color.h"
#include "support.h"

namespace docsuites_test {
namespace {

using hostsim::Justification;

class TextSuites : public HostTest {
 protected:
  const AIArtSuite& artSuite = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
  const AITagSuite& tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
  const AITextFrameSuite& frames = suite<AITextFrameSuite>(kAITextFrameSuite, kAITextFrameSuiteVersion);
  const AIFontSuite& fonts = suite<AIFontSuite>(kAIFontSuite, kAIFontSuiteVersion);
  const AIATEPaintSuite& paints = suite<AIATEPaintSuite>(kAIATEPaintSuite, kAIATEPaintSuiteVersion);
  const ATE::TextRangeSuite& ranges = suite<ATE::TextRangeSuite>("ATE TextRange Suite", 1);
  const ATE::CharFeaturesSuite& chars = suite<ATE::CharFeaturesSuite>("ATE CharFeatures Suite", 101);
  const ATE::ParaFeaturesSuite& paras = suite<ATE::ParaFeaturesSuite>("ATE ParaFeatures Suite", 101);
  const ATE::FontSuite& ateFonts = suite<ATE::FontSuite>("ATE Font Suite", 1);
  const ATE::ApplicationPaintSuite& atePaints = suite<ATE::ApplicationPaintSuite>("ATE ApplicationPaint Suite", 1);

  AIArtHandle newText(AIArtHandle container) {
    AIArtHandle text = nullptr;
    EXPECT_EQ(frames.NewPointText(kPlaceInsideOnTop, container, kHorizontalTextOrientation, {0, 0}, &text), kNoErr);
    return text;
  }

  void moveTo(AIArtHandle text, AIRealPoint to) {
    const auto& transform = suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
    const auto& math = suite<AIRealMathSuite>(kAIRealMathSuite, kAIRealMathSuiteVersion);
    AIRealPoint at{};
    ASSERT_EQ(frames.GetPointTextAnchor(text, &at), kNoErr);
    AIRealMatrix m{};
    math.AIRealMatrixSetTranslate(&m, to.h - at.h, to.v - at.v);
    ASSERT_EQ(transform.TransformArt(text, &m, 0, kTransformObjects), kNoErr);
  }

  // What the stamping does to fill one text, every reference given back at the end.
  void fill(AIArtHandle text, const char* content, float size, int32_t fontIndex, ATE::ParagraphJustification just) {
    ATE::ParaFeaturesRef para = nullptr;
    ATE::CharFeaturesRef features = nullptr;
    ASSERT_EQ(paras.Initialize(&para), ATE::kNoError);
    ASSERT_EQ(chars.Initialize(&features), ATE::kNoError);
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(frames.GetATETextRange(text, &range), kNoErr);
    EXPECT_EQ(ranges.Remove(range), ATE::kNoError);
    EXPECT_EQ(paras.SetLeadingType(para, ATE::kRomanLeadingType), ATE::kNoError);
    EXPECT_EQ(paras.SetStartIndent(para, 0), ATE::kNoError);
    EXPECT_EQ(paras.SetFirstLineIndent(para, 0), ATE::kNoError);
    EXPECT_EQ(chars.SetTracking(features, 0), ATE::kNoError);
    AIColor black{kFourColor, {}};
    black.c.f = {1, 1, 1, 1};
    ATE::ApplicationPaintRef paint = nullptr;
    ASSERT_EQ(paints.CreateATEApplicationPaint(&black, &paint), kNoErr);
    EXPECT_EQ(atePaints.AddRef(paint), ATE::kNoError);  // the wrapper passed by value
    EXPECT_EQ(chars.SetFillColor(features, paint), ATE::kNoError);
    atePaints.Release(paint);
    EXPECT_EQ(paras.SetJustification(para, just), ATE::kNoError);
    EXPECT_EQ(chars.SetFontSize(features, size), ATE::kNoError);
    EXPECT_EQ(chars.SetBaselineShift(features, 0), ATE::kNoError);
    AIFontKey key = nullptr;
    ATE::FontRef font = nullptr;
    ASSERT_EQ(fonts.IndexFontList(fontIndex, &key), kNoErr);
    ASSERT_EQ(fonts.FontFromFontKey(key, &font), kNoErr);
    EXPECT_EQ(chars.SetFont(features, font), ATE::kNoError);
    EXPECT_EQ(ranges.InsertAfter(range, content, -1, nullptr), ATE::kNoError);
    ateFonts.Release(nullptr);  // an empty font wrapper gives back nothing
    EXPECT_EQ(ranges.SetLocalCharFeatures(range, features), ATE::kNoError);
    EXPECT_EQ(ranges.SetLocalParaFeatures(range, para), ATE::kNoError);
    ateFonts.Release(font);
    atePaints.Release(paint);
    ranges.Release(range);
    chars.Release(features);
    paras.Release(para);
  }
};

TEST_F(TextSuites, NewPointTextIsEmptyAtItsAnchorInsideTheGroup) {
  AIArtHandle text = nullptr;
  ASSERT_EQ(frames.NewPointText(kPlaceInsideOnTop, art("empty"), kHorizontalTextOrientation, {12.5f, 300}, &text),
            kNoErr);
  int16_t type = 0;
  artSuite.GetArtType(text, &type);
  EXPECT_EQ(type, kTextFrameArt);
  EXPECT_EQ(document().parent(model(text)), model(art("empty")));
  EXPECT_EQ(document().text(model(text)), "");
  AIRealPoint anchor{};
  ASSERT_EQ(frames.GetPointTextAnchor(text, &anchor), kNoErr);
  EXPECT_FLOAT_EQ(anchor.h, 12.5f);
  EXPECT_FLOAT_EQ(anchor.v, 300);

  AIArtHandle other = nullptr;
  EXPECT_EQ(frames.NewPointText(kPlaceInsideOnTop, art("empty"), 1, {0, 0}, &other), kBadParameterErr);
  EXPECT_EQ(frames.NewPointText(kPlaceInsideOnTop, art("loose"), 0, {0, 0}, &other), kBadParameterErr);
  EXPECT_EQ(frames.GetPointTextAnchor(art("group"), &anchor), kBadParameterErr);
  ATE::TextRangeRef range = nullptr;
  EXPECT_EQ(frames.GetATETextRange(art("group"), &range), kBadParameterErr);
  EXPECT_EQ(range, nullptr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, FillingAppliesTextFontSizeColourAndJustification) {
  AIArtHandle text = newText(art("empty"));
  moveTo(text, {300, 88});
  // "Mardi 10 avril 2012 é", the last character in Mac Roman
  fill(text, "Mardi 10 avril 2012 \x8E", 7.5f, 3, ATE::kCenterJustify);
  const hostsim::ArtHandle m = model(text);
  EXPECT_EQ(document().text(m), "Mardi 10 avril 2012 \u00e9");
  const hostsim::TextStyle style = document().textStyle(m);
  EXPECT_EQ(style.font.postscriptName, "DejaVuSerif");
  EXPECT_EQ(style.font.family, "DejaVu Serif");
  EXPECT_DOUBLE_EQ(style.sizePt, 7.5);
  EXPECT_EQ(style.justification, Justification::Center);
  EXPECT_EQ(hostsim::toHex(style.fill), "#000000") << "registration black";
  EXPECT_EQ(document().textAnchor(m), (hostsim::Point{300, 88}));

  // Centred: the text's bounds straddle its anchor.
  AIRealRect r{};
  ASSERT_EQ(artSuite.GetArtBounds(text, &r), kNoErr);
  EXPECT_NEAR((r.left + r.right) / 2, 300, 1e-3);
  EXPECT_GT(r.right - r.left, 50);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, RemoveThenInsertReplacesTheText) {
  AIArtHandle loose = art("loose");
  ATE::TextRangeRef range = nullptr;
  ASSERT_EQ(frames.GetATETextRange(loose, &range), kNoErr);
  EXPECT_EQ(ranges.Remove(range), ATE::kNoError);
  EXPECT_EQ(document().text(model(loose)), "");
  EXPECT_EQ(ranges.InsertAfter(range, "1/2xx", 3, nullptr), ATE::kNoError);
  EXPECT_EQ(ranges.InsertAfter(range, " - ", -1, nullptr), ATE::kNoError);
  EXPECT_EQ(document().text(model(loose)), "1/2 - ");
  EXPECT_EQ(ranges.InsertAfter(range, nullptr, 2, nullptr), ATE::kBadParameter);
  EXPECT_EQ(ranges.InsertAfter(range, "x", -2, nullptr), ATE::kBadParameter);
  ranges.Release(range);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, EveryReferenceIsCountedUntilGivenBack) {
  AIFontKey key = nullptr;
  ATE::FontRef font = nullptr;
  ASSERT_EQ(fonts.IndexFontList(0, &key), kNoErr);
  ASSERT_EQ(fonts.FontFromFontKey(key, &font), kNoErr);
  EXPECT_EQ(ateFonts.AddRef(font), ATE::kNoError);
  EXPECT_EQ(host.accounting().objectsLive("text-engine font"), 2);
  EXPECT_EQ(ateFonts.Release(font), ATE::kNoError);
  EXPECT_FALSE(allGivenBack());
  EXPECT_EQ(ateFonts.Release(font), ATE::kNoError);
  EXPECT_TRUE(allGivenBack());

  ATE::TextRangeRef range = nullptr;
  ASSERT_EQ(frames.GetATETextRange(art("loose"), &range), kNoErr);
  EXPECT_EQ(ateFonts.Release(font), ATE::kBadParameter) << "already given back";
  EXPECT_EQ(chars.Release(reinterpret_cast<ATE::CharFeaturesRef>(range)), ATE::kBadParameter)
      << "a text range is not a feature set";
  EXPECT_EQ(ranges.Release(range), ATE::kNoError);
  EXPECT_EQ(host.accounting().misuses().size(), 2u);
  EXPECT_EQ(host.accounting().objectsLive(), 0);
}

TEST_F(TextSuites, ARangeOfADisposedTextFailsButCanBeReleased) {
  ATE::TextRangeRef range = nullptr;
  ASSERT_EQ(frames.GetATETextRange(art("loose"), &range), kNoErr);
  ASSERT_EQ(artSuite.DisposeArt(art("inner")), kNoErr);
  ASSERT_EQ(artSuite.DisposeArt(art("loose")), kNoErr);
  EXPECT_EQ(ranges.Remove(range), ATE::kBadParameter);
  EXPECT_EQ(ranges.InsertAfter(range, "x", -1, nullptr), ATE::kBadParameter);
  EXPECT_EQ(ranges.Release(range), ATE::kNoError);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, FeatureSettersRefuseImpossibleValues) {
  ATE::CharFeaturesRef features = nullptr;
  ATE::ParaFeaturesRef para = nullptr;
  chars.Initialize(&features);
  paras.Initialize(&para);
  EXPECT_EQ(chars.SetFontSize(features, 0), ATE::kBadParameter);
  EXPECT_EQ(chars.SetFontSize(features, NAN), ATE::kBadParameter);
  EXPECT_EQ(chars.SetBaselineShift(features, INFINITY), ATE::kBadParameter);
  EXPECT_EQ(chars.SetFont(features, nullptr), ATE::kBadParameter);
  EXPECT_EQ(paras.SetJustification(para, static_cast<ATE::ParagraphJustification>(7)), ATE::kBadParameter);
  EXPECT_EQ(paras.SetLeadingType(para, static_cast<ATE::LeadingType>(2)), ATE::kBadParameter);
  EXPECT_EQ(chars.SetTracking(nullptr, 0), ATE::kBadParameter);
  chars.Release(features);
  paras.Release(para);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, FontListIsSortedByPostScriptName) {
  int32_t count = 0;
  ASSERT_EQ(fonts.CountFonts(&count), kNoErr);
  ASSERT_EQ(count, 4);
  const char* expected[] = {"DejaVuSans", "DejaVuSans-Bold", "DejaVuSansMono", "DejaVuSerif"};
  for (int32_t i = 0; i < count; ++i) {
    AIFontKey key = nullptr;
    ASSERT_EQ(fonts.IndexFontList(i, &key), kNoErr);
    char name[1024];
    ASSERT_EQ(fonts.GetFontName(key, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, expected[i]);
  }
  AIFontKey key = nullptr;
  fonts.IndexFontList(1, &key);
  char cut[6];
  ASSERT_EQ(fonts.GetFontName(key, cut, sizeof cut), kNoErr);
  EXPECT_STREQ(cut, "DejaV");
  EXPECT_EQ(fonts.IndexFontList(4, &key), kBadParameterErr);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(fonts.IndexFontList(-1, &key), kBadParameterErr);
  char name[16];
  EXPECT_EQ(fonts.GetFontName(reinterpret_cast<AIFontKey>(uintptr_t{99}), name, sizeof name), kBadParameterErr);
  ATE::FontRef font = nullptr;
  EXPECT_EQ(fonts.FontFromFontKey(nullptr, &font), kBadParameterErr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, PaintsComeFromProcessRgbAndGrayColours) {
  struct Case {
    AIColor colour;
    const char* hex;
  };
  AIColor rgb{kThreeColor, {}};
  rgb.c.rgb = {1, 0, 0};
  AIColor gray{kGrayColor, {}};
  gray.c.g = {1};
  AIColor cyan{kFourColor, {}};
  cyan.c.f = {1, 0, 0, 0};
  for (const Case& c : {Case{rgb, "#ff0000"}, Case{gray, "#000000"}, Case{cyan, "#00ffff"}}) {
    ATE::ApplicationPaintRef paint = nullptr;
    ATE::CharFeaturesRef features = nullptr;
    ATE::TextRangeRef range = nullptr;
    ASSERT_EQ(paints.CreateATEApplicationPaint(&c.colour, &paint), kNoErr);
    chars.Initialize(&features);
    chars.SetFillColor(features, paint);
    frames.GetATETextRange(art("loose"), &range);
    EXPECT_EQ(ranges.SetLocalCharFeatures(range, features), ATE::kNoError);
    EXPECT_EQ(hostsim::toHex(document().textStyle(model(art("loose"))).fill), c.hex);
    ranges.Release(range);
    chars.Release(features);
    atePaints.Release(paint);
  }
  AIColor pattern{42, {}};
  ATE::ApplicationPaintRef paint = nullptr;
  EXPECT_EQ(paints.CreateATEApplicationPaint(&pattern, &paint), kBadParameterErr);
  EXPECT_EQ(paint, nullptr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, StampedTextsSurviveSavingAndReloading) {
  const auto& layers = suite<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
  AILayerHandle layer = nullptr;
  ASSERT_EQ(layers.InsertLayer(nullptr, kPlaceAboveAll, &layer), kNoErr);
  AIArtHandle top = nullptr;
  AIArtHandle group = nullptr;
  ASSERT_EQ(artSuite.GetFirstArtOfLayer(layer, &top), kNoErr);
  ASSERT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, top, &group), kNoErr);
  struct Stamp {
    const char* text;
    AIRealPoint at;
    int32_t font;
    ATE::ParagraphJustification justification;
    const char* postscriptName;
    Justification expected;
  };
  const Stamp stamps[] = {
      {"1/2", {120.5f, 88}, 0, ATE::kRightJustify, "DejaVuSans", Justification::Right},
      {" - affiche.ai", {150, 88}, 1, ATE::kRightJustify, "DejaVuSans-Bold", Justification::Right},
      {"Mar 10 avr 2012", {400.25f, 73.5f}, 2, ATE::kLeftJustify, "DejaVuSansMono", Justification::Left},
  };
  for (const Stamp& s : stamps) {
    AIArtHandle text = newText(group);
    ASSERT_EQ(tags.SetTag(text, "QZVNOM", "string", "jj"), kNoErr);
    moveTo(text, s.at);
    fill(text, s.text, 10, s.font, s.justification);
  }
  const std::string saved = document().toString();
  host.setDocument(std::make_unique<Document>(Document::parse(saved)));

  const auto& matching = suite<AIMatchingArtSuite>(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion);
  const auto& memory = suite<AIMdMemorySuite>(kAIMdMemorySuite, kAIMdMemorySuiteVersion);
  AIMatchingArtSpec spec{kTextFrameArt, kArtLocked, 0};
  AIArtHandle** matches = nullptr;
  int32_t count = 0;
  ASSERT_EQ(matching.GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
  std::vector<AIArtHandle> found;
  for (int32_t i = 0; i < count; ++i)
    if (tags.GetTag((*matches)[i], "QZVNOM", nullptr) == kNoErr) found.push_back((*matches)[i]);
  memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches));
  ASSERT_EQ(found.size(), 3u);
  for (size_t i = 0; i < found.size(); ++i) {
    const hostsim::ArtHandle m = model(found[i]);
    EXPECT_EQ(document().text(m), stamps[i].text);
    AIRealPoint anchor{};
    ASSERT_EQ(frames.GetPointTextAnchor(found[i], &anchor), kNoErr);
    EXPECT_FLOAT_EQ(anchor.h, stamps[i].at.h);
    EXPECT_FLOAT_EQ(anchor.v, stamps[i].at.v);
    const hostsim::TextStyle style = document().textStyle(m);
    EXPECT_EQ(style.font.postscriptName, stamps[i].postscriptName);
    EXPECT_EQ(style.justification, stamps[i].expected);
    EXPECT_DOUBLE_EQ(style.sizePt, 10);
  }
  EXPECT_TRUE(allGivenBack());
}

TEST_F(TextSuites, FaultsInTheEngineSurfaceAsCodesAndReleasesStillGiveBack) {
  const ASErr code = fourcc("TEST");
  host.faults().failCall("ATE CharFeatures Suite.SetFontSize", 1, code);
  host.faults().failCall("ATE TextRange Suite.Release", 1, code);
  ATE::CharFeaturesRef features = nullptr;
  chars.Initialize(&features);
  EXPECT_EQ(chars.SetFontSize(features, 9), code);
  EXPECT_EQ(chars.SetFontSize(features, 9), ATE::kNoError);
  ATE::TextRangeRef range = nullptr;
  frames.GetATETextRange(art("loose"), &range);
  EXPECT_EQ(ranges.Release(range), code);
  chars.Release(features);
  EXPECT_TRUE(allGivenBack());
}

}  // namespace
}  // namespace docsuites_test
