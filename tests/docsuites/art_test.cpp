// The art tree, layers, tags, matching art, transformation and bounds, as a plug-in sees
// them through the host's suites.
#include <cstring>

#include "hostsim/model/fonts.h"
#include "hostsim/suites/doc_support.h"
#include "support.h"

namespace docsuites_test {
namespace {

class ArtSuites : public HostTest {
 protected:
  const AIArtSuite& artSuite = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
  const AILayerSuite& layers = suite<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
  const AITagSuite& tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
  const AIMatchingArtSuite& matching = suite<AIMatchingArtSuite>(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion);
  const AIMdMemorySuite& memory = suite<AIMdMemorySuite>(kAIMdMemorySuite, kAIMdMemorySuiteVersion);
  const AITransformArtSuite& transform = suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
  const AIRealMathSuite& math = suite<AIRealMathSuite>(kAIRealMathSuite, kAIRealMathSuiteVersion);
  const AIUnicodeStringSuite& strings = suite<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);

  int16_t typeOf(AIArtHandle handle) {
    int16_t type = -99;
    EXPECT_EQ(artSuite.GetArtType(handle, &type), kNoErr);
    return type;
  }

  std::string title(AILayerHandle layer) {
    AIUnicodeStringHandle text = nullptr;
    EXPECT_EQ(layers.GetLayerTitle(layer, &text), kNoErr);
    std::string utf8 = hostsim::unicodeStringText(text, kAIUTF8CharacterEncoding);
    strings.Destroy(text);
    return utf8;
  }

  AILayerHandle nthLayer(int32_t n) {
    AILayerHandle layer = nullptr;
    EXPECT_EQ(layers.GetNthLayer(n, &layer), kNoErr);
    return layer;
  }

  AIArtHandle layerGroup(AILayerHandle layer) {
    AIArtHandle group = nullptr;
    EXPECT_EQ(artSuite.GetFirstArtOfLayer(layer, &group), kNoErr);
    return group;
  }
};

TEST_F(ArtSuites, ArtTypesFollowTheElements) {
  EXPECT_EQ(typeOf(art("loose")), kTextFrameArt);
  EXPECT_EQ(typeOf(art("group")), kGroupArt);
  EXPECT_EQ(typeOf(art("empty")), kGroupArt);
  EXPECT_EQ(typeOf(art("top")), kGroupArt);
  EXPECT_EQ(typeOf(art("line")), kPathArt);
  EXPECT_EQ(typeOf(art("frame")), kPathArt);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, NewGroupGoesInsideOnTopAndStartsEmpty) {
  AIArtHandle layer = layerGroup(nthLayer(0));
  AIArtHandle group = nullptr;
  ASSERT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, layer, &group), kNoErr);
  EXPECT_EQ(typeOf(group), kGroupArt);
  EXPECT_EQ(document().parent(model(group)), model(layer));
  EXPECT_FALSE(document().nextSibling(model(group))) << "inside on top is the last child";
  AIArtHandle child = art("loose");
  EXPECT_EQ(artSuite.GetArtFirstChild(group, &child), kNoErr);
  EXPECT_EQ(child, nullptr);
  EXPECT_EQ(artSuite.GetArtFirstChild(art("group"), &child), kNoErr);
  EXPECT_EQ(child, art("inner"));

  AIArtHandle other = art("loose");
  EXPECT_EQ(artSuite.NewArt(kTextFrameArt, kPlaceInsideOnTop, layer, &other), kBadParameterErr);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, 7, layer, &other), kBadParameterErr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, nullptr, &other), kBadParameterErr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, art("loose"), &other), kBadParameterErr)
      << "a text holds no art";

  // Above all and below all: the top and the bottom of the current layer, whatever the reference.
  AIArtHandle top = nullptr;
  AIArtHandle bottom = nullptr;
  ASSERT_EQ(artSuite.NewArt(kGroupArt, kPlaceAboveAll, nullptr, &top), kNoErr);
  ASSERT_EQ(artSuite.NewArt(kGroupArt, kPlaceBelowAll, art("inner"), &bottom), kNoErr);
  EXPECT_EQ(document().parent(model(top)), model(layer));
  EXPECT_FALSE(document().nextSibling(model(top)));
  EXPECT_EQ(document().firstChild(model(layer)), model(bottom));

  AIArtHandle above = nullptr;
  ASSERT_EQ(artSuite.NewArt(kGroupArt, kPlaceAbove, art("inner"), &above), kNoErr);
  EXPECT_EQ(document().nextSibling(model(art("inner"))), model(above));
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, layerGroup(nthLayer(1)), &other), hostsim::kLockedContainerErr)
      << "the host does not change what the user locked";
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, DisposedArtIsNoLongerValidAndNothingCrashes) {
  AIArtHandle pinned = art("pinned");
  AIArtHandle group = art("group");
  AIArtHandle inner = art("inner");
  EXPECT_TRUE(artSuite.ValidArt(pinned, true));
  EXPECT_EQ(artSuite.DisposeArt(pinned), kNoErr) << "locked art can be disposed of";
  EXPECT_EQ(artSuite.DisposeArt(group), kNoErr);
  for (AIArtHandle gone : {pinned, group, inner, static_cast<AIArtHandle>(nullptr)}) {
    EXPECT_FALSE(artSuite.ValidArt(gone, true));
    int16_t type = 0;
    AIArtHandle child = nullptr;
    AIRealRect bounds{};
    EXPECT_EQ(artSuite.GetArtType(gone, &type), kBadParameterErr);
    EXPECT_EQ(artSuite.GetArtFirstChild(gone, &child), kBadParameterErr);
    EXPECT_EQ(artSuite.GetArtSibling(gone, &child), kBadParameterErr);
    EXPECT_EQ(artSuite.GetArtBounds(gone, &bounds), kBadParameterErr);
    EXPECT_EQ(artSuite.DisposeArt(gone), kBadParameterErr);
    EXPECT_NE(tags.SetTag(gone, "QZVNOM", "string", "jj"), kNoErr);
    EXPECT_NE(tags.GetTag(gone, "QZVNOM", nullptr), kNoErr);
    AIRealMatrix m{};
    math.AIRealMatrixSetTranslate(&m, 1, 1);
    EXPECT_EQ(transform.TransformArt(gone, &m, 0, kTransformObjects), kBadParameterErr);
    AIArtHandle created = nullptr;
    EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, gone, &created), kBadParameterErr);
  }
  EXPECT_EQ(artSuite.DisposeArt(layerGroup(nthLayer(0))), kBadParameterErr) << "a layer is not disposed of as art";
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, HandlesOfAnotherDocumentAreNotValid) {
  AIArtHandle loose = art("loose");
  AILayerHandle layer = nthLayer(0);
  host.setDocument(std::make_unique<Document>(Document::parse(kDrawing)));
  EXPECT_FALSE(artSuite.ValidArt(loose, true));
  int16_t type = 0;
  EXPECT_EQ(artSuite.GetArtType(loose, &type), kBadParameterErr);
  EXPECT_EQ(artSuite.DisposeArt(loose), kBadParameterErr);
  AIBoolean editable = true;
  EXPECT_EQ(layers.GetLayerEditable(layer, &editable), kBadParameterErr);
  EXPECT_TRUE(artSuite.ValidArt(art("loose"), true)) << "the same text of the new document has a new handle";
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, WithoutADocumentEveryOperationSaysSo) {
  AIArtHandle loose = art("loose");
  host.setDocument(nullptr);
  AIArtHandle out = nullptr;
  int32_t count = 0;
  AILayerHandle layer = nullptr;
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, loose, &out), kNoDocumentErr);
  EXPECT_EQ(artSuite.DisposeArt(loose), kNoDocumentErr);
  EXPECT_FALSE(artSuite.ValidArt(loose, true));
  EXPECT_EQ(layers.CountLayers(&count), kNoDocumentErr);
  EXPECT_EQ(layers.GetCurrentLayer(&layer), kNoDocumentErr);
  EXPECT_EQ(tags.GetTag(loose, "QZVNOM", nullptr), kNoDocumentErr);
  AIMatchingArtSpec spec{kTextFrameArt, kArtLocked, 0};
  AIArtHandle** matches = nullptr;
  EXPECT_EQ(matching.GetMatchingArt(&spec, 1, &matches, &count), kNoDocumentErr);
  EXPECT_EQ(matches, nullptr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, LayersAreCountedFromTheTopmost) {
  int32_t count = 0;
  ASSERT_EQ(layers.CountLayers(&count), kNoErr);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(title(nthLayer(0)), "Calque 1");
  EXPECT_EQ(title(nthLayer(1)), "Fond");
  AILayerHandle none = nthLayer(0);
  EXPECT_EQ(layers.GetNthLayer(2, &none), kBadParameterErr);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(layers.GetNthLayer(-1, &none), kBadParameterErr);

  AILayerHandle current = nullptr;
  ASSERT_EQ(layers.GetCurrentLayer(&current), kNoErr);
  EXPECT_EQ(current, nthLayer(0));
  EXPECT_EQ(layerGroup(current), art("top"));

  AIBoolean editable = false;
  EXPECT_EQ(layers.GetLayerEditable(nthLayer(0), &editable), kNoErr);
  EXPECT_TRUE(editable);
  EXPECT_EQ(layers.GetLayerEditable(nthLayer(1), &editable), kNoErr);
  EXPECT_FALSE(editable) << "locked";
  document().setLayerLocked(document().layer(1), false);
  document().setLayerHidden(document().layer(1), true);
  editable = true;
  EXPECT_EQ(layers.GetLayerEditable(nthLayer(1), &editable), kNoErr);
  EXPECT_FALSE(editable) << "hidden";
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, NewLayerAboveAllTakesItsTitle) {
  AILayerHandle current = nullptr;
  layers.GetCurrentLayer(&current);
  AILayerHandle added = nullptr;
  ASSERT_EQ(layers.InsertLayer(current, kPlaceAboveAll, &added), kNoErr);
  EXPECT_EQ(nthLayer(0), added);
  AIUnicodeStringHandle stamp = nullptr;
  ASSERT_EQ(strings.Initialize(&stamp, "QZV\xA5" "Estampilleur", 16, kAIPlatformCharacterEncoding), kNoErr);
  EXPECT_EQ(layers.SetLayerTitle(added, stamp), kNoErr);
  EXPECT_EQ(title(added), "QZV\u2022Estampilleur");

  // Reading into a string the caller holds overwrites it.
  AIUnicodeStringHandle mine = stamp;
  ASSERT_EQ(layers.GetLayerTitle(nthLayer(1), &mine), kNoErr);
  EXPECT_EQ(mine, stamp);
  EXPECT_EQ(hostsim::unicodeStringText(stamp, kAIUTF8CharacterEncoding), "Calque 1");
  strings.Destroy(stamp);

  AILayerHandle unchanged = nullptr;
  layers.GetCurrentLayer(&unchanged);
  EXPECT_EQ(unchanged, current) << "a new layer does not become current";
  EXPECT_EQ(layers.InsertLayer(current, kPlaceInsideOnTop, &added), kBadParameterErr);
  EXPECT_EQ(layers.InsertLayer(nullptr, kPlaceAbove, &added), kBadParameterErr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, TagLookUpAnswersZeroOnlyWhenTheTagIsThere) {
  AIArtHandle loose = art("loose");
  EXPECT_NE(tags.GetTag(loose, "QZVNOM", nullptr), kNoErr);
  ASSERT_EQ(tags.SetTag(loose, "QZVNOM", "string", "jj"), kNoErr);
  EXPECT_EQ(tags.GetTag(loose, "QZVNOM", nullptr), kNoErr);
  EXPECT_NE(tags.GetTag(art("inner"), "QZVNOM", nullptr), kNoErr);
  EXPECT_NE(tags.GetTag(loose, "QZVAUTRE", nullptr), kNoErr);
  char value[8] = "xxxxxxx";
  EXPECT_EQ(tags.GetTag(loose, "QZVNOM", value), kNoErr);
  EXPECT_STREQ(value, "jj");
  EXPECT_EQ(tags.SetTag(loose, "QZVNOM", "integer", "1"), kBadParameterErr);
  EXPECT_EQ(tags.SetTag(loose, "bad name", "string", "jj"), kBadParameterErr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, MatchingFindsUnlockedTextFramesInDocumentOrder) {
  AIMatchingArtSpec spec{kTextFrameArt, kArtLocked, 0};
  AIArtHandle** matches = nullptr;
  int32_t count = -1;
  ASSERT_EQ(matching.GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
  ASSERT_NE(matches, nullptr);
  ASSERT_EQ(count, 2) << "the text of the locked layer and the locked text are left out";
  EXPECT_EQ((*matches)[0], art("loose"));
  EXPECT_EQ((*matches)[1], art("inner"));
  EXPECT_EQ(host.accounting().objectsLive("memory handle"), 1);
  EXPECT_FALSE(allGivenBack()) << "the handle of matches is still out";
  EXPECT_EQ(memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches)), kNoErr);
  EXPECT_EQ(host.accounting().objectsLive("memory handle"), 0);

  AIMatchingArtSpec locked{kTextFrameArt, kArtLocked, kArtLocked};
  ASSERT_EQ(matching.GetMatchingArt(&locked, 1, &matches, &count), kNoErr);
  ASSERT_EQ(count, 2);
  EXPECT_EQ((*matches)[0], art("under"));
  EXPECT_EQ((*matches)[1], art("pinned"));
  memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches));
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, DisposingOfAMemoryHandleTwiceIsMisuse) {
  AIMatchingArtSpec spec{kGroupArt, 0, 0};
  AIArtHandle** matches = nullptr;
  int32_t count = 0;
  ASSERT_EQ(matching.GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
  EXPECT_EQ(count, 4) << "two layer groups and two groups";
  memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches));
  EXPECT_EQ(memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches)), kBadParameterErr);
  EXPECT_EQ(memory.MdMemoryDisposeHandle(nullptr), kNoErr);
  EXPECT_EQ(host.accounting().misuses().size(), 1u);
}

TEST_F(ArtSuites, TranslationsMoveTextsAndGroups) {
  AIRealMatrix m{};
  math.AIRealMatrixSetTranslate(&m, 5, -7);
  EXPECT_EQ(m.a, 1);
  EXPECT_EQ(m.b, 0);
  EXPECT_EQ(m.c, 0);
  EXPECT_EQ(m.d, 1);
  ASSERT_EQ(transform.TransformArt(art("loose"), &m, 0, kTransformObjects), kNoErr);
  EXPECT_EQ(document().textAnchor(model(art("loose"))), (hostsim::Point{15, 973}));
  ASSERT_EQ(transform.TransformArt(art("group"), &m, 0, kTransformObjects), kNoErr);
  EXPECT_EQ(document().textAnchor(model(art("inner"))), (hostsim::Point{105, 793}));

  AIRealMatrix turn{0, 1, -1, 0, 0, 0};
  EXPECT_EQ(transform.TransformArt(art("loose"), &turn, 0, kTransformObjects), kNotImplementedErr);
  EXPECT_EQ(document().textAnchor(model(art("loose"))), (hostsim::Point{15, 973}));
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, BoundsComeFromTheFontsMetrics) {
  hostsim::FontMetrics metrics(host.fonts());
  const hostsim::LineExtent hello = metrics.measure({"", "DejaVu Sans", 400, hostsim::FontSlant::Upright}, "Hello");
  AIRealRect r{};
  ASSERT_EQ(artSuite.GetArtBounds(art("loose"), &r), kNoErr);
  EXPECT_FLOAT_EQ(r.left, 10);
  EXPECT_NEAR(r.right - r.left, hello.advance * 12, 1e-3);
  EXPECT_NEAR(r.top, 980 + hello.ascent * 12, 1e-3);
  EXPECT_NEAR(r.bottom, 980 + hello.descent * 12, 1e-3);

  // A group: the union of its texts; the path inside takes no part.
  AIRealRect inner{};
  AIRealRect group{};
  ASSERT_EQ(artSuite.GetArtBounds(art("inner"), &inner), kNoErr);
  ASSERT_EQ(artSuite.GetArtBounds(art("group"), &group), kNoErr);
  EXPECT_EQ(std::memcmp(&inner, &group, sizeof inner), 0);
  AIRealRect layer{};
  ASSERT_EQ(artSuite.GetArtBounds(art("top"), &layer), kNoErr);
  EXPECT_FLOAT_EQ(layer.left, 10);
  EXPECT_FLOAT_EQ(layer.right, inner.right);
  EXPECT_FLOAT_EQ(layer.bottom, inner.bottom);
  EXPECT_EQ(artSuite.GetArtBounds(art("line"), &r), kNotImplementedErr);
  EXPECT_TRUE(allGivenBack());
}

TEST_F(ArtSuites, APlannedFaultFailsTheNamedCallOnly) {
  const ASErr code = fourcc("TEST");
  host.faults().failCall("AI Art Suite.NewArt", 1, code);
  host.faults().failCall("AI MdMemory Suite.MdMemoryDisposeHandle", 1, code);
  AIArtHandle group = art("loose");
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, art("top"), &group), code);
  EXPECT_EQ(document().firstChild(model(art("empty"))), hostsim::ArtHandle{});
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, art("empty"), &group), kNoErr);
  EXPECT_EQ(document().firstChild(model(art("empty"))), model(group));
  EXPECT_EQ(host.accounting().callsOf("AI Art Suite.NewArt"), 2u);

  AIMatchingArtSpec spec{kTextFrameArt, 0, 0};
  AIArtHandle** matches = nullptr;
  int32_t count = 0;
  ASSERT_EQ(matching.GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
  EXPECT_EQ(memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(matches)), code);
  EXPECT_TRUE(allGivenBack()) << "a failed disposal still gives the handle back";
}

}  // namespace
}  // namespace docsuites_test
