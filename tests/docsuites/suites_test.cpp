// The host's suites as a plug-in reaches them: the codes, the handles and who owns what. The
// document's own rules are the model's tests; what a stamping run asks of them, the engine's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

#include "hostapi/HostAPI.h"
#include "hostsim/model/clock.h"
#include "hostsim/model/color.h"
#include "hostsim/model/preferences.h"
#include "hostsim/suites/doc_support.h"
#include "support/support.h"

namespace docsuites_test {
namespace {

using hostsim::Document;
using testsupport::TempDir;

constexpr const char* kPrefix = "QZVEstampillage";

// Two layers (the lower one locked), two artboards, texts loose, grouped and locked. One
// user unit is one point; the viewBox is 600 x 1000.
constexpr const char* kDrawing = R"svg(<svg xmlns="http://www.w3.org/2000/svg"
  xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
  xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" width="600pt" height="1000pt" viewBox="0 0 600 1000">
  <sodipodi:namedview id="nv" inkscape:current-layer="top"><inkscape:page id="page1" x="0" y="0" width="300" height="400"/>
    <inkscape:page id="page2" x="320" y="100" width="200" height="300"/></sodipodi:namedview>
  <g inkscape:groupmode="layer" id="bottom" inkscape:label="Fond" sodipodi:insensitive="true">
    <rect id="frame" x="0" y="0" width="10" height="10"/><text id="under" x="5" y="5">sous</text></g>
  <g inkscape:groupmode="layer" id="top" inkscape:label="Calque 1">
    <text id="loose" x="10" y="20" style="font-family:'DejaVu Sans';font-size:12px">Hello</text>
    <g id="group"><text id="inner" x="100" y="200" style="font-family:'DejaVu Sans';font-size:10px">World</text>
      <path id="line" d="M0 0L10 10"/></g>
    <text id="pinned" x="30" y="40" sodipodi:insensitive="true">Locked</text><g id="empty"/></g>
</svg>)svg";

class Suites : public testsupport::HostTest {
 protected:
  Suites() { openDocument(kDrawing); }

  const AIArtSuite& artSuite = suite<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
  const AILayerSuite& layers = suite<AILayerSuite>(kAILayerSuite, kAILayerSuiteVersion);
  const AITagSuite& tags = suite<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
  const AIMatchingArtSuite& matching = suite<AIMatchingArtSuite>(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion);
  const AIMdMemorySuite& memory = suite<AIMdMemorySuite>(kAIMdMemorySuite, kAIMdMemorySuiteVersion);
  const AITransformArtSuite& transform = suite<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
  const AIUnicodeStringSuite& strings = suite<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
  const AIDocumentSuite& doc = suite<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
  const AIFilePathSuite& paths = suite<AIFilePathSuite>(kAIFilePathSuite, kAIFilePathSuiteVersion);
  const AIArtboardSuite& artboards = suite<AIArtboardSuite>(kAIArtboardSuite, kAIArtboardSuiteVersion);
  const AIUserSuite& user = suite<AIUserSuite>(kAIUserSuite, kAIUserSuiteVersion);
  const SPBlocksSuite& blocks = suite<SPBlocksSuite>(kSPBlocksSuite, kSPBlocksSuiteVersion);
  const AIPreferenceSuite& prefs = suite<AIPreferenceSuite>(kAIPreferenceSuite, kAIPreferenceSuiteVersion);
  const AITextFrameSuite& frames = suite<AITextFrameSuite>(kAITextFrameSuite, kAITextFrameSuiteVersion);
  const AIFontSuite& fonts = suite<AIFontSuite>(kAIFontSuite, kAIFontSuiteVersion);
  const AIATEPaintSuite& paints = suite<AIATEPaintSuite>(kAIATEPaintSuite, kAIATEPaintSuiteVersion);
  const ATE::TextRangeSuite& ranges = suite<ATE::TextRangeSuite>("ATE TextRange Suite", 1);
  const ATE::CharFeaturesSuite& chars = suite<ATE::CharFeaturesSuite>("ATE CharFeatures Suite", 101);
  const ATE::ParaFeaturesSuite& paras = suite<ATE::ParaFeaturesSuite>("ATE ParaFeatures Suite", 101);
  const ATE::FontSuite& ateFonts = suite<ATE::FontSuite>("ATE Font Suite", 1);
  const ATE::ApplicationPaintSuite& atePaints = suite<ATE::ApplicationPaintSuite>("ATE ApplicationPaint Suite", 1);

  AIArtHandle art(const std::string& id) {
    for (auto handle : document().allArt())
      if (document().elementId(handle) == id) return reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(handle.id));
    ADD_FAILURE() << "no art with id " << id;
    return nullptr;
  }
  hostsim::ArtHandle model(AIArtHandle handle) { return {reinterpret_cast<uintptr_t>(handle)}; }
  // The next call of `operation` fails as planned, with kPlanned.
  static constexpr ASErr kPlanned = fourcc("TEST");
  void failNext(const std::string& operation) {
    host_.faults().failCall(operation, host_.accounting().callsOf(operation) + 1, kPlanned);
  }

  AILayerHandle nthLayer(int32_t n) {
    AILayerHandle layer = nullptr;
    EXPECT_EQ(layers.GetNthLayer(n, &layer), kNoErr);
    return layer;
  }
  AIArtHandle** matches(AIMatchingArtSpec spec, int32_t expected) {
    AIArtHandle** found = nullptr;
    int32_t count = -1;
    EXPECT_EQ(matching.GetMatchingArt(&spec, 1, &found, &count), kNoErr);
    EXPECT_EQ(count, expected);
    return found;
  }
  ASErr dispose(AIArtHandle** handle) { return memory.MdMemoryDisposeHandle(reinterpret_cast<AIMdMemoryHandle>(handle)); }
  // A string the test owns.
  AIUnicodeStringHandle make(const char* text, AICharacterEncoding encoding) {
    AIUnicodeStringHandle s = nullptr;
    EXPECT_EQ(strings.Initialize(&s, text, static_cast<int32_t>(std::strlen(text)), encoding), kNoErr);
    return s;
  }
  // The string's text as the plug-in reads it, its block given back through SP Blocks.
  std::string read(AIUnicodeStringHandle s, AICharacterEncoding encoding) {
    AICharBufferData buffer{0, nullptr};
    uint32_t count = 99;
    EXPECT_EQ(strings.GetAs(s, encoding, &buffer, &count), kNoErr);
    EXPECT_EQ(count, buffer.count);
    std::string text;
    if (buffer.buffer != nullptr) {
      EXPECT_EQ(buffer.buffer[buffer.count], '\0') << "a terminator follows the text";
      text.assign(buffer.buffer, buffer.count);
      blocks.FreeBlock(buffer.buffer);
    }
    return text;
  }
  // The document's full path, and whether it names a file (not a folder, not nothing).
  std::pair<std::string, bool> documentFile() {
    AIFilePathHandle file = nullptr;
    AIUnicodeStringHandle full = nullptr;
    AIBoolean isFile = 7;
    EXPECT_EQ(doc.GetDocumentFileSpecification(&file), kNoErr);
    EXPECT_EQ(paths.GetFullPath(file, false, &full), kNoErr);
    const bool exists = paths.Exists(file, true, nullptr, &isFile);
    std::pair<std::string, bool> answer{read(full, kAIPlatformCharacterEncoding), exists && isFile};
    strings.Destroy(full);
    paths.DeletePath(file);
    return answer;
  }
  void usePreferences(const std::filesystem::path& file) {
    host_.setPreferences(std::make_unique<hostsim::Preferences>(hostsim::Preferences::load(file)));
  }
};
using ArtSuites = Suites;
using DocumentSuites = Suites;

TEST_F(ArtSuites, NewArtIsAGroupAndTagsAreNamedStringsOrRefusedWithTheirCode) {
  AIArtHandle layer = art("top"), other = art("loose");
  EXPECT_EQ(tags.SetTag(other, "QZVNOM", "integer", "1"), kBadParameterErr);
  EXPECT_EQ(tags.SetTag(other, "bad name", "string", "jj"), kBadParameterErr);
  EXPECT_EQ(artSuite.NewArt(kTextFrameArt, kPlaceInsideOnTop, layer, &other), kBadParameterErr);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, 7, layer, &other), kBadParameterErr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, nullptr, &other), kBadParameterErr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, art("loose"), &other), kBadParameterErr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, art("bottom"), &other), hostsim::kLockedContainerErr)
      << "the host does not change what the user locked";
  failNext("AI Art Suite.NewArt");
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, art("empty"), &other), kPlanned);
  EXPECT_FALSE(document().firstChild(model(art("empty")))) << "a planned fault makes nothing";
}

// Art disposed of, of another document, or with no document at all: refused, never a crash.
TEST_F(ArtSuites, StaleHandlesAreRefused) {
  AIArtHandle pinned = art("pinned"), group = art("group"), inner = art("inner");
  EXPECT_EQ(artSuite.DisposeArt(pinned), kNoErr) << "locked art can be disposed of";
  EXPECT_EQ(artSuite.DisposeArt(group), kNoErr);
  EXPECT_EQ(artSuite.DisposeArt(art("top")), kBadParameterErr) << "a layer is not disposed of as art";
  for (AIArtHandle gone : {pinned, group, inner, static_cast<AIArtHandle>(nullptr)}) {
    int16_t type = 0;
    AIArtHandle child = nullptr;
    AIRealRect bounds{};
    AIRealMatrix m{1, 0, 0, 1, 1, 1};
    EXPECT_FALSE(artSuite.ValidArt(gone, true));
    EXPECT_EQ(artSuite.GetArtType(gone, &type), kBadParameterErr);
    EXPECT_EQ(artSuite.GetArtFirstChild(gone, &child), kBadParameterErr);
    EXPECT_EQ(artSuite.GetArtSibling(gone, &child), kBadParameterErr);
    EXPECT_EQ(artSuite.GetArtBounds(gone, &bounds), kBadParameterErr);
    EXPECT_EQ(artSuite.DisposeArt(gone), kBadParameterErr);
    EXPECT_NE(tags.SetTag(gone, "QZVNOM", "string", "jj"), kNoErr);
    EXPECT_NE(tags.GetTag(gone, "QZVNOM", nullptr), kNoErr);
    EXPECT_EQ(transform.TransformArt(gone, &m, 0, kTransformObjects), kBadParameterErr);
    EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, gone, &child), kBadParameterErr);
  }
  AIArtHandle loose = art("loose");
  AILayerHandle layer = nthLayer(0);
  AIBoolean editable = true;
  host_.setDocument(std::make_unique<Document>(Document::parse(kDrawing)));
  EXPECT_FALSE(artSuite.ValidArt(loose, true));
  EXPECT_EQ(layers.GetLayerEditable(layer, &editable), kBadParameterErr);
  EXPECT_TRUE(artSuite.ValidArt(art("loose"), true)) << "the same text of the new document has a new handle";

  loose = art("loose");
  host_.setDocument(nullptr);
  int32_t count = 0;
  EXPECT_FALSE(artSuite.ValidArt(loose, true));
  EXPECT_EQ(tags.GetTag(loose, "QZVNOM", nullptr), kNoDocumentErr);
  EXPECT_EQ(artSuite.NewArt(kGroupArt, kPlaceInsideOnTop, loose, &loose), kNoDocumentErr);
  EXPECT_EQ(layers.CountLayers(&count), kNoDocumentErr);
}

TEST_F(ArtSuites, LayersFromTheTopmostTheirTitlesInStringsTheCallerHolds) {
  AILayerHandle none = nthLayer(0), added = nullptr;
  EXPECT_EQ(layers.GetNthLayer(2, &none), kBadParameterErr);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(layers.GetNthLayer(-1, &none), kBadParameterErr);
  EXPECT_EQ(layers.InsertLayer(nthLayer(0), kPlaceInsideOnTop, &added), kBadParameterErr);
  EXPECT_EQ(layers.InsertLayer(nullptr, kPlaceAbove, &added), kBadParameterErr);
  // Reading a title into a string the caller holds overwrites it.
  AIUnicodeStringHandle mine = make("", kAIPlatformCharacterEncoding), held = mine;
  ASSERT_EQ(layers.GetLayerTitle(nthLayer(1), &mine), kNoErr);
  EXPECT_EQ(mine, held);
  EXPECT_EQ(read(mine, kAIUTF8CharacterEncoding), "Fond");
  strings.Destroy(mine);
}

TEST_F(ArtSuites, MatchesComeInAMemoryHandleTheCallerDisposesOfOnce) {
  misusesTheHost_ = true;
  AIArtHandle** found = matches({kTextFrameArt, kArtLocked, 0}, 2);
  EXPECT_EQ(std::vector(*found, *found + 2), (std::vector{art("loose"), art("inner")}));
  EXPECT_EQ(host_.accounting().objectsLive("memory handle"), 1);
  EXPECT_EQ(dispose(found), kNoErr);
  EXPECT_EQ(dispose(found), kBadParameterErr) << "twice";
  EXPECT_EQ(host_.accounting().misuses().size(), 1u);
  found = matches({kTextFrameArt, kArtLocked, kArtLocked}, 2);
  EXPECT_EQ(std::vector(*found, *found + 2), (std::vector{art("under"), art("pinned")}));
  EXPECT_EQ(dispose(found), kNoErr);
  EXPECT_EQ(dispose(nullptr), kNoErr);
  EXPECT_EQ(host_.accounting().objectsLive("memory handle"), 0);
}

// Only moves are made; only texts have bounds, a group's being those of its texts.
TEST_F(ArtSuites, OnlyMovesAndOnlyTextBounds) {
  AIRealMatrix turn{0, 1, -1, 0, 0, 0};
  EXPECT_EQ(transform.TransformArt(art("loose"), &turn, 0, kTransformObjects), kNotImplementedErr);
  EXPECT_EQ(document().textAnchor(model(art("loose"))), (hostsim::Point{10, 980}));
  AIRealRect inner{}, group{}, layer{};
  ASSERT_EQ(artSuite.GetArtBounds(art("inner"), &inner), kNoErr);
  ASSERT_EQ(artSuite.GetArtBounds(art("group"), &group), kNoErr);
  ASSERT_EQ(artSuite.GetArtBounds(art("top"), &layer), kNoErr);
  EXPECT_FLOAT_EQ(inner.left, 100);
  EXPECT_EQ(std::memcmp(&inner, &group, sizeof inner), 0) << "the path inside takes no part";
  EXPECT_FLOAT_EQ(layer.left, 10);
  EXPECT_FLOAT_EQ(layer.bottom, inner.bottom);
  EXPECT_EQ(artSuite.GetArtBounds(art("line"), &inner), kNotImplementedErr);
}

TEST_F(ArtSuites, TextsAndTheirRangesRefuseWhatIsNoTextOrNoLongerOne) {
  AIArtHandle text = nullptr;
  AIRealPoint anchor{};
  ATE::TextRangeRef range = nullptr;
  EXPECT_EQ(frames.NewPointText(kPlaceInsideOnTop, art("empty"), 1, {0, 0}, &text), kBadParameterErr);
  EXPECT_EQ(frames.NewPointText(kPlaceInsideOnTop, art("loose"), 0, {0, 0}, &text), kBadParameterErr);
  EXPECT_EQ(frames.GetPointTextAnchor(art("group"), &anchor), kBadParameterErr);
  EXPECT_EQ(frames.GetATETextRange(art("group"), &range), kBadParameterErr);
  EXPECT_EQ(range, nullptr);
  ASSERT_EQ(frames.GetATETextRange(art("loose"), &range), kNoErr);
  EXPECT_EQ(ranges.InsertAfter(range, nullptr, 2, nullptr), ATE::kBadParameter);
  EXPECT_EQ(ranges.InsertAfter(range, "x", -2, nullptr), ATE::kBadParameter);
  ASSERT_EQ(artSuite.DisposeArt(art("loose")), kNoErr);
  EXPECT_EQ(ranges.Remove(range), ATE::kBadParameter);
  EXPECT_EQ(ranges.InsertAfter(range, "x", -1, nullptr), ATE::kBadParameter);
  EXPECT_EQ(ranges.Release(range), ATE::kNoError) << "but the range of a text disposed of can be given back";
}

TEST_F(ArtSuites, TextEngineReferencesAreGivenBackOnce) {
  misusesTheHost_ = true;
  AIFontKey key = nullptr;
  ATE::FontRef font = nullptr;
  ATE::TextRangeRef range = nullptr;
  ASSERT_EQ(fonts.IndexFontList(0, &key), kNoErr);
  ASSERT_EQ(fonts.FontFromFontKey(key, &font), kNoErr);
  EXPECT_EQ(ateFonts.Release(font), ATE::kNoError);
  ASSERT_EQ(frames.GetATETextRange(art("loose"), &range), kNoErr);
  EXPECT_EQ(ateFonts.Release(font), ATE::kBadParameter) << "already given back";
  EXPECT_EQ(chars.Release(reinterpret_cast<ATE::CharFeaturesRef>(range)), ATE::kBadParameter)
      << "a text range is not a feature set";
  EXPECT_EQ(ranges.Release(range), ATE::kNoError);
  EXPECT_EQ(host_.accounting().misuses().size(), 2u);
  EXPECT_EQ(host_.accounting().objectsLive(), 0);
}

TEST_F(ArtSuites, FeatureSettersRefuseImpossibleValues) {
  ATE::CharFeaturesRef features = nullptr;
  ATE::ParaFeaturesRef para = nullptr;
  chars.Initialize(&features);
  paras.Initialize(&para);
  for (float size : {0.0f, NAN}) EXPECT_EQ(chars.SetFontSize(features, size), ATE::kBadParameter);
  EXPECT_EQ(chars.SetBaselineShift(features, INFINITY), ATE::kBadParameter);
  EXPECT_EQ(chars.SetFont(features, nullptr), ATE::kBadParameter);
  EXPECT_EQ(chars.SetTracking(nullptr, 0), ATE::kBadParameter);
  EXPECT_EQ(paras.SetJustification(para, static_cast<ATE::ParagraphJustification>(7)), ATE::kBadParameter);
  EXPECT_EQ(paras.SetLeadingType(para, static_cast<ATE::LeadingType>(2)), ATE::kBadParameter);
  chars.Release(features);
  paras.Release(para);
}

// The plug-in paints in process colours; a colour of another kind is refused.
TEST_F(ArtSuites, PaintsComeFromProcessColours) {
  AIColor cyan{kFourColor, {}}, pattern{42, {}};
  cyan.c.f = {1, 0, 0, 0};
  ATE::ApplicationPaintRef paint = nullptr;
  ATE::CharFeaturesRef features = nullptr;
  ATE::TextRangeRef range = nullptr;
  EXPECT_EQ(paints.CreateATEApplicationPaint(&pattern, &paint), kBadParameterErr);
  EXPECT_EQ(paint, nullptr);
  ASSERT_EQ(paints.CreateATEApplicationPaint(&cyan, &paint), kNoErr);
  chars.Initialize(&features);
  chars.SetFillColor(features, paint);
  frames.GetATETextRange(art("loose"), &range);
  EXPECT_EQ(ranges.SetLocalCharFeatures(range, features), ATE::kNoError);
  EXPECT_EQ(hostsim::toHex(document().textStyle(model(art("loose"))).fill), "#00ffff");
  ranges.Release(range);
  chars.Release(features);
  atePaints.Release(paint);
}

TEST_F(DocumentSuites, OnlyASavedDocumentIsAFileAndItsPathIsAbsolute) {
  EXPECT_EQ(documentFile(), std::pair(std::string(), false)) << "never saved";
  TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  document().saveAs("affiche.svg");
  EXPECT_EQ(documentFile(), std::pair((dir / "affiche.svg").generic_string(), true));
  std::filesystem::remove(dir / "affiche.svg");
  EXPECT_FALSE(documentFile().second) << "removed";
  std::filesystem::create_directory(dir / "affiche.svg");
  EXPECT_FALSE(documentFile().second) << "a folder is no file";
  std::filesystem::current_path(previous);
  EXPECT_EQ(paths.DeletePath(nullptr), kNoErr);
}

TEST_F(DocumentSuites, BleedsInPointsAndNeverImpossible) {
  AIRealRect bleed{0, 0, 0, 30.8f}, wrong = bleed, again{};
  ASSERT_EQ(doc.SetDocumentBleeds(&bleed), kNoErr);
  for (float impossible : {-1.0f, INFINITY}) {
    wrong.bottom = impossible;
    EXPECT_EQ(doc.SetDocumentBleeds(&wrong), kBadParameterErr);
  }
  ASSERT_EQ(doc.GetDocumentBleeds(&again), kNoErr);
  EXPECT_EQ(std::memcmp(&again, &bleed, sizeof bleed), 0);
  host_.setDocument(nullptr);
  AIFilePathHandle file = nullptr;
  EXPECT_EQ(doc.GetDocumentBleeds(&again), kNoDocumentErr);
  EXPECT_EQ(doc.GetDocumentFileSpecification(&file), kNoDocumentErr);
}

TEST_F(DocumentSuites, StringsKeepMacRomanAndUtf8Alike) {
  AIUnicodeStringHandle roman = make("QZV\xA5" "Estampilleur", kAIPlatformCharacterEncoding);  // QZV•Estampilleur
  AIUnicodeStringHandle utf8 = make("QZV\u2022Estampilleur", kAIUTF8CharacterEncoding);
  AIUnicodeStringHandle other = make("\u65e5\u672c / \xff", kAIUTF8CharacterEncoding), copy = nullptr;
  EXPECT_EQ(strings.Compare(roman, utf8), 0);
  EXPECT_EQ(read(utf8, kAIPlatformCharacterEncoding), "QZV\xA5" "Estampilleur");
  EXPECT_EQ(read(other, kAIPlatformCharacterEncoding), "?? / ?") << "what Mac Roman cannot hold, and bad UTF-8";
  EXPECT_LT(strings.Compare(nullptr, other), 0);
  // Copy overwrites the target, or makes one.
  ASSERT_EQ(strings.Copy(&other, roman), kNoErr);
  ASSERT_EQ(strings.Copy(&copy, utf8), kNoErr);
  EXPECT_EQ(strings.Compare(other, utf8), 0);
  EXPECT_EQ(strings.Compare(copy, roman), 0);
  for (auto s : {roman, utf8, other, copy}) EXPECT_EQ(strings.Destroy(s), kNoErr);
}

TEST_F(DocumentSuites, GetAsReplacesTheBlockTheBufferHeldAndNeverLeavesAFreedOne) {
  AIUnicodeStringHandle s = make("abc", kAIPlatformCharacterEncoding);
  void* old = nullptr;
  ASSERT_EQ(blocks.AllocateBlock(5, "ai::SPAlloc::AllocateBlock", &old), kNoErr);
  AICharBufferData buffer{5, static_cast<char*>(old)};
  uint32_t count = 0;
  ASSERT_EQ(strings.GetAs(s, kAIPlatformCharacterEncoding, &buffer, &count), kNoErr);
  EXPECT_EQ(host_.liveBlocks(), 1u) << "the old block was freed";
  EXPECT_STREQ(buffer.buffer, "abc");
  blocks.FreeBlock(buffer.buffer);
  host_.faults().failAllocation(host_.allocations() + 1);
  buffer = {0, nullptr};
  EXPECT_EQ(strings.GetAs(s, kAIPlatformCharacterEncoding, &buffer, &count), kOutOfMemoryErr);
  EXPECT_EQ(buffer.buffer, nullptr);
  EXPECT_EQ(buffer.count, 0u);
  EXPECT_EQ(strings.GetAs(s, 7, &buffer, &count), kBadParameterErr);
  strings.Destroy(s);
}

TEST_F(DocumentSuites, ForeignStringsAreRefusedAndNoted) {
  misusesTheHost_ = true;
  auto bogus = reinterpret_cast<AIUnicodeStringHandle>(uintptr_t{0xdead});
  AICharBufferData buffer{0, nullptr};
  uint32_t count = 0;
  EXPECT_EQ(strings.GetAs(bogus, kAIPlatformCharacterEncoding, &buffer, &count), kBadParameterErr);
  EXPECT_EQ(strings.Destroy(bogus), kBadParameterErr);
  AIUnicodeStringHandle s = make("x", kAIPlatformCharacterEncoding);
  EXPECT_EQ(strings.Destroy(s), kNoErr);
  EXPECT_EQ(strings.Destroy(s), kBadParameterErr) << "twice";
  EXPECT_EQ(strings.Initialize(&s, nullptr, 3, kAIPlatformCharacterEncoding), kBadParameterErr);
  EXPECT_EQ(strings.Initialize(&s, "abc", -1, kAIPlatformCharacterEncoding), kBadParameterErr);
  EXPECT_EQ(host_.accounting().misuses().size(), 3u);
  EXPECT_EQ(host_.accounting().objectsLive(), 0);
}

TEST_F(DocumentSuites, ArtboardsGiveTheirRectanglesInPointsWhileTheListLasts) {
  misusesTheHost_ = true;
  AIArtboardListHandle list = nullptr;
  AIArtboardPropertiesHandle properties = nullptr;
  AIRealRect rect{}, second{320, 900, 520, 600};
  int32_t count = 0;
  ASSERT_EQ(artboards.GetArtboardList(&list), kNoErr);
  ASSERT_EQ(artboards.Init(&properties), kNoErr);
  EXPECT_EQ(artboards.GetPosition(properties, &rect), kBadParameterErr) << "not filled yet";
  ASSERT_EQ(artboards.GetArtboardProperties(list, 1, properties), kNoErr);
  ASSERT_EQ(artboards.GetPosition(properties, &rect), kNoErr);
  EXPECT_EQ(std::memcmp(&rect, &second, sizeof rect), 0);
  EXPECT_EQ(artboards.GetArtboardProperties(list, 2, properties), kBadParameterErr);
  EXPECT_EQ(artboards.ReleaseArtboardList(list), kNoErr);
  EXPECT_EQ(artboards.Dispose(properties), kNoErr);
  EXPECT_EQ(artboards.Dispose(nullptr), kNoErr) << "what a failed Init leaves";
  EXPECT_EQ(artboards.GetCount(list, &count), kBadParameterErr) << "released";
  EXPECT_EQ(host_.accounting().misuses().size(), 1u);
}

TEST_F(DocumentSuites, DateComesFromTheHostsClock) {
  host_.clock().set({1969, 12, 31, 12, 0, 0});  // a Wednesday before 1970
  AIUserDateTime now{}, garbage{INT64_MAX};
  ASSERT_EQ(user.GetDateAndTime(&now), kNoErr);
  int32_t parts[4] = {};
  EXPECT_EQ(user.GetYear(&now, &parts[0]), kNoErr);
  EXPECT_EQ(user.GetMonth(&now, &parts[1]), kNoErr);
  EXPECT_EQ(user.GetDay(&now, &parts[2]), kNoErr);
  EXPECT_EQ(user.GetDayOfWeek(&now, &parts[3]), kNoErr);
  EXPECT_EQ(std::vector(parts, parts + 4), (std::vector<int32_t>{1969, 12, 31, 6}));
  EXPECT_EQ(user.GetYear(&garbage, &parts[0]), kBadParameterErr);
}

// Saved at once, read back by the next run of the host; what cannot be saved is not kept.
TEST_F(DocumentSuites, PreferencesAreSavedAtOnceOrNotKept) {
  TempDir dir;
  usePreferences(dir / "prefs" / "hostsim.ini");
  ASSERT_EQ(prefs.PutStringPreference(kPrefix, "Separateur", " \xA5 "), kNoErr);  // " • " in Mac Roman
  ASSERT_EQ(prefs.PutBooleanPreference(kPrefix, "FormatDate", false), kNoErr);
  usePreferences(dir / "prefs" / "hostsim.ini");
  char separator[22] = {};
  int32_t format = 2;
  double size = 12.0;
  EXPECT_EQ(prefs.GetStringPreference(kPrefix, "Separateur", separator, sizeof separator), kNoErr);
  EXPECT_STREQ(separator, " \xA5 ");
  // Another kind, or nothing stored: the destination stays.
  EXPECT_EQ(prefs.GetIntegerPreference(kPrefix, "FormatDate", &format), kNoErr);
  EXPECT_EQ(prefs.GetRealPreference(kPrefix, "CorpsNom", &size), kNoErr);
  EXPECT_EQ(format, 2);
  EXPECT_EQ(size, 12.0);
  EXPECT_EQ(prefs.GetStringPreference(kPrefix, "Separateur", separator, 0), kBadParameterErr);
  EXPECT_EQ(prefs.PutIntegerPreference(kPrefix, "bad key", 1), kBadParameterErr);
  EXPECT_EQ(prefs.PutStringPreference(kPrefix, "Separateur", nullptr), kBadParameterErr);

  std::ofstream(dir / "not-a-folder") << "x";
  usePreferences(dir / "not-a-folder" / "hostsim.ini");
  EXPECT_NE(prefs.PutIntegerPreference(kPrefix, "FormatDate", 1), kNoErr);
  EXPECT_FALSE(host_.preferences().contains(kPrefix, "FormatDate"));
  usePreferences(dir / "hostsim.ini");
  failNext("AI Preference Suite.PutRealPreference");
  EXPECT_EQ(prefs.PutRealPreference(kPrefix, "CorpsNom", 9), kPlanned);
  EXPECT_FALSE(host_.preferences().contains(kPrefix, "CorpsNom"));
}

}  // namespace
}  // namespace docsuites_test
