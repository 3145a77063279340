// The host supplies every suite the plug-in imports, by name and version, and refuses what
// it does not have.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fake_plugin.h"
#include "hostsim/standard_host.h"

namespace hostcore_test {
namespace {

using hostsim::StandardHost;

// The plug-in's import tables as the plug-in's author lists them, written out here rather
// than taken from the plug-in's code, so both must agree with the same list.
std::vector<std::pair<std::string, int32_t>> importedSuites() {
  std::vector<std::pair<std::string, int32_t>> suites = {
      {"SP Access Suite", 3},
      {"SP Plug-ins Suite", 4},
      {"AI Notifier Suite", 1002},
      {"AI Context Suite", 1005},
      {"ADM Basic Suite", 10},
      {"AI Menu Suite", 1009},
      {"AS Lib Suite", 1002},
      {"AI Preference Suite", 1004},
      {"AI Real Math Suite", 1001},
      {"AI Art Suite", 1015},
      {"AI Path Suite", 1009},
      {"AI Tool Suite", 1011},
      {"AI Transform Art Suite", 1001},
      {"AI Unicode String Suite", 1006},
      {"SP Blocks Suite", 2},
      {"ADM Dialog Group Suite", 1},
      {"ADM Dialog Suite", 10},
      {"ADM Item Suite", 7},
      {"ADM List Suite", 1},
      {"ADM Notifier Suite", 2},
      {"ADM Entry Suite", 2},
      {"ADM Tracker Suite", 2},
      {"ADM Icon Suite", 1},
      {"ADM Icon Suite", 2},
      {"ADM Drawer Suite", 7},
      {"AI Layer Suite", 1011},
      {"AI Document View Suite", 1010},
      {"AI Document Suite", 1012},
      {"AI MdMemory Suite", 1001},
      {"AI Path Style Suite", 1011},
      {"AI Annotator Suite", 1004},
      {"AI Annotator Drawer Suite", 1002},
      {"AI Cursor Snap Suite", 1003},
      {"AI Plugin Suite", 1003},
      {"AI User Suite", 1009},
      {"AI Text Frame Suite", 1002},
      {"AIATE Paint Suite", 1001},
      {"AI Font Suite", 1004},
      {"AI URL Suite", 1001},
      {"AI Tag Suite", 1002},
      {"AI Matching Art Suite", 1005},
      {"AI Artboard Suite", 1001},
      {"AI File Path Suite", 1002},
  };
  const std::vector<std::string> textEngine = {
      "ApplicationPaint", "CompFont", "CompFontClass", "CompFontClassSet", "CompFontComponent", "CompFontSet",
      "GlyphRun", "GlyphRunsIterator", "MojiKumi", "MojiKumiSet", "TextFrame", "TextFramesIterator", "TextLine",
      "TextLinesIterator", "TextResources", "ApplicationTextResources", "DocumentTextResources", "VersionInfo",
      "ArrayApplicationPaintRef", "ArrayReal", "ArrayBool", "ArrayInteger", "ArrayLineCapType",
      "ArrayFigureStyle", "ArrayLineJoinType", "ArrayWariChuJustification", "ArrayStyleRunAlignment",
      "ArrayAutoKernType", "ArrayBaselineDirection", "ArrayLanguage", "ArrayFontCapsOption",
      "ArrayFontBaselineOption", "ArrayFontOpenTypePositionOption", "ArrayUnderlinePosition",
      "ArrayStrikethroughPosition", "ArrayParagraphJustification", "ArrayArrayReal", "ArrayBurasagariType",
      "ArrayPreferredKinsokuOrder", "ArrayKinsokuRef", "ArrayMojiKumiRef", "ArrayMojiKumiSetRef",
      "ArrayTabStopsRef", "ArrayLeadingType", "ArrayFontRef", "ArrayGlyphID", "ArrayRealPoint",
      "ArrayRealMatrix", "ArrayParagraphDirection", "ArrayJustificationMethod", "ArrayKashidas",
      "ArrayDirOverride", "ArrayDigitSet", "ArrayDiacVPos", "CharFeatures", "CharInspector", "CharStyle",
      "CharStyles", "CharStylesIterator", "Find", "Font", "Glyph", "Glyphs", "GlyphsIterator", "Kinsoku",
      "KinsokuSet", "ParaFeatures", "Paragraph", "ParagraphsIterator", "ParaInspector", "ParaStyle",
      "ParaStyles", "ParaStylesIterator", "Spell", "Stories", "Story", "TabStop", "TabStops",
      "TabStopsIterator", "TextRange", "TextRanges", "TextRangesIterator", "TextRunsIterator", "WordsIterator",
      "ArrayLine", "ArrayComposerEngine"};
  const std::set<std::string> version101 = {"TextFrame",    "DocumentTextResources", "CharFeatures", "CharInspector",
                                            "Find",         "ParaFeatures",          "ParaInspector", "Spell"};
  for (const auto& name : textEngine)
    suites.emplace_back("ATE " + name + " Suite", version101.count(name) != 0 ? 101 : 1);
  return suites;
}

TEST(SuiteCatalog, ImportTablesHaveTheirFullLength) {
  // 5 basic rows, 124 further rows of which 86 are the text engine's.
  EXPECT_EQ(importedSuites().size(), 129u);
}

TEST(SuiteCatalog, EveryImportedSuiteIsOfferedByNameAndVersion) {
  StandardHost host;
  attachFakePlugin(host);
  auto wanted = importedSuites();
  wanted.emplace_back("SP Basic Suite", 8);
  wanted.emplace_back("ADM Basic Suite", 11);  // what the error report asks for
  std::vector<std::string> missing;
  ASSERT_EQ(inPlugin(host,
                     [&](SPMessageData& message) {
                       for (const auto& [name, version] : wanted) {
                         const void* suite = nullptr;
                         ASErr error = message.basic->AcquireSuite(name.c_str(), version, &suite);
                         if (error != kNoErr || suite == nullptr) {
                           missing.push_back(name + " v" + std::to_string(version));
                           continue;
                         }
                         EXPECT_EQ(message.basic->ReleaseSuite(name.c_str(), version), kNoErr) << name;
                       }
                       return kNoErr;
                     }),
            kNoErr);
  EXPECT_TRUE(missing.empty()) << "not offered: " << testing::PrintToString(missing);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(SuiteCatalog, UnknownNameOrVersionIsRefusedWithNullTable) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    const void* suite = &message;
    EXPECT_EQ(message.basic->AcquireSuite("AI Menu Suite", 1008, &suite), kSPBadSuiteVersionError);
    EXPECT_EQ(suite, nullptr);
    suite = &message;
    EXPECT_EQ(message.basic->AcquireSuite("AI Nonexistent Suite", 1, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(suite, nullptr);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().suitesHeld(), 0);
}

}  // namespace
}  // namespace hostcore_test
