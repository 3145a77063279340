// Point texts, the font list, paints and the text engine.
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
}

TEST_F(TextSuites, EveryReferenceIsCountedUntilGivenBack) {
  misusesTheHost_ = true;
  AIFontKey key = nullptr;
  ATE::FontRef font = nullptr;
  ASSERT_EQ(fonts.IndexFontList(0, &key), kNoErr);
  ASSERT_EQ(fonts.FontFromFontKey(key, &font), kNoErr);
  EXPECT_EQ(ateFonts.AddRef(font), ATE::kNoError);
  EXPECT_EQ(host_.accounting().objectsLive("text-engine font"), 2);
  EXPECT_EQ(ateFonts.Release(font), ATE::kNoError);
  EXPECT_FALSE(allGivenBack());
  EXPECT_EQ(ateFonts.Release(font), ATE::kNoError);

  ATE::TextRangeRef range = nullptr;
  ASSERT_EQ(frames.GetATETextRange(art("loose"), &range), kNoErr);
  EXPECT_EQ(ateFonts.Release(font), ATE::kBadParameter) << "already given back";
  EXPECT_EQ(chars.Release(reinterpret_cast<ATE::CharFeaturesRef>(range)), ATE::kBadParameter)
      << "a text range is not a feature set";
  EXPECT_EQ(ranges.Release(range), ATE::kNoError);
  EXPECT_EQ(host_.accounting().misuses().size(), 2u);
  EXPECT_EQ(host_.accounting().objectsLive(), 0);
}

TEST_F(TextSuites, ARangeOfADisposedTextFailsButCanBeReleased) {
  ATE::TextRangeRef range = nullptr;
  ASSERT_EQ(frames.GetATETextRange(art("loose"), &range), kNoErr);
  ASSERT_EQ(artSuite.DisposeArt(art("inner")), kNoErr);
  ASSERT_EQ(artSuite.DisposeArt(art("loose")), kNoErr);
  EXPECT_EQ(ranges.Remove(range), ATE::kBadParameter);
  EXPECT_EQ(ranges.InsertAfter(range, "x", -1, nullptr), ATE::kBadParameter);
  EXPECT_EQ(ranges.Release(range), ATE::kNoError);
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
}

TEST_F(TextSuites, FaultsInTheEngineSurfaceAsCodesAndReleasesStillGiveBack) {
  const ASErr code = fourcc("TEST");
  host_.faults().failCall("ATE CharFeatures Suite.SetFontSize", 1, code);
  host_.faults().failCall("ATE TextRange Suite.Release", 1, code);
  ATE::CharFeaturesRef features = nullptr;
  chars.Initialize(&features);
  EXPECT_EQ(chars.SetFontSize(features, 9), code);
  EXPECT_EQ(chars.SetFontSize(features, 9), ATE::kNoError);
  ATE::TextRangeRef range = nullptr;
  frames.GetATETextRange(art("loose"), &range);
  EXPECT_EQ(ranges.Release(range), code);
  chars.Release(features);
}

}  // namespace
}  // namespace docsuites_test
