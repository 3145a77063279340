// The document's file and bleed, file paths, Unicode strings, artboards and the date.
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

#include "hostsim/model/clock.h"
#include "support.h"

namespace docsuites_test {
namespace {

class DocumentSuites : public HostTest {
 protected:
  const AIDocumentSuite& doc = suite<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
  const AIFilePathSuite& paths = suite<AIFilePathSuite>(kAIFilePathSuite, kAIFilePathSuiteVersion);
  const AIUnicodeStringSuite& strings = suite<AIUnicodeStringSuite>(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
  const AIArtboardSuite& artboards = suite<AIArtboardSuite>(kAIArtboardSuite, kAIArtboardSuiteVersion);
  const AIUserSuite& user = suite<AIUserSuite>(kAIUserSuite, kAIUserSuiteVersion);
  const SPBlocksSuite& blocks = suite<SPBlocksSuite>(kSPBlocksSuite, kSPBlocksSuiteVersion);

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

  std::string fullPathOfDocument() {
    AIFilePathHandle file = nullptr;
    EXPECT_EQ(doc.GetDocumentFileSpecification(&file), kNoErr);
    AIUnicodeStringHandle full = nullptr;
    EXPECT_EQ(paths.GetFullPath(file, false, &full), kNoErr);
    std::string text = read(full, kAIPlatformCharacterEncoding);
    strings.Destroy(full);
    paths.DeletePath(file);
    return text;
  }

  bool documentIsAFile() {
    AIFilePathHandle file = nullptr;
    doc.GetDocumentFileSpecification(&file);
    AIBoolean isFile = 7;
    paths.Exists(file, true, nullptr, &isFile);
    paths.DeletePath(file);
    return isFile != 0;
  }
};

TEST_F(DocumentSuites, SavedDocumentIsAFileAndUnsavedIsNot) {
  EXPECT_FALSE(documentIsAFile()) << "never saved";
  EXPECT_EQ(fullPathOfDocument(), "");
  TempDir dir;
  document().saveAs(dir / "affiche.svg");
  EXPECT_TRUE(documentIsAFile());
  EXPECT_EQ(fullPathOfDocument(), (dir / "affiche.svg").generic_string());

  // A folder exists but is no file; a removed file is nothing.
  std::filesystem::remove(dir / "affiche.svg");
  EXPECT_FALSE(documentIsAFile());
  std::filesystem::create_directory(dir / "affiche.svg");
  AIFilePathHandle file = nullptr;
  doc.GetDocumentFileSpecification(&file);
  AIBoolean isFile = true;
  EXPECT_TRUE(paths.Exists(file, true, nullptr, &isFile));
  EXPECT_FALSE(isFile);
  paths.DeletePath(file);
  EXPECT_EQ(paths.DeletePath(nullptr), kNoErr);
}

TEST_F(DocumentSuites, RelativeLocationsGiveAbsolutePaths) {
  TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir / "");
  document().saveAs("plan.svg");
  const std::string full = fullPathOfDocument();
  std::filesystem::current_path(previous);
  EXPECT_EQ(full.front(), '/');
  EXPECT_EQ(full.substr(full.rfind('/')), "/plan.svg");
}

TEST_F(DocumentSuites, BleedsAreReadAndWrittenInPoints) {
  AIRealRect bleed{1, 1, 1, 1};
  ASSERT_EQ(doc.GetDocumentBleeds(&bleed), kNoErr);
  EXPECT_EQ(bleed.bottom, 0);
  bleed.bottom = 30.8f;
  ASSERT_EQ(doc.SetDocumentBleeds(&bleed), kNoErr);
  AIRealRect again{};
  doc.GetDocumentBleeds(&again);
  EXPECT_FLOAT_EQ(again.bottom, 30.8f);
  EXPECT_EQ(again.left, 0);
  bleed.bottom = -1;
  EXPECT_EQ(doc.SetDocumentBleeds(&bleed), kBadParameterErr);
  bleed.bottom = INFINITY;
  EXPECT_EQ(doc.SetDocumentBleeds(&bleed), kBadParameterErr);
  doc.GetDocumentBleeds(&again);
  EXPECT_FLOAT_EQ(again.bottom, 30.8f);
  host_.setDocument(nullptr);
  EXPECT_EQ(doc.GetDocumentBleeds(&again), kNoDocumentErr);
  AIFilePathHandle file = nullptr;
  EXPECT_EQ(doc.GetDocumentFileSpecification(&file), kNoDocumentErr);
}

TEST_F(DocumentSuites, StringsKeepMacRomanAndUtf8Alike) {
  // "QZV•Estampilleur", the bullet in Mac Roman
  AIUnicodeStringHandle roman = make("QZV\xA5" "Estampilleur", kAIPlatformCharacterEncoding);
  AIUnicodeStringHandle utf8 = make("QZV\u2022Estampilleur", kAIUTF8CharacterEncoding);
  EXPECT_EQ(strings.Compare(roman, utf8), 0);
  EXPECT_EQ(read(roman, kAIUTF8CharacterEncoding), "QZV\u2022Estampilleur");
  EXPECT_EQ(read(utf8, kAIPlatformCharacterEncoding), "QZV\xA5" "Estampilleur");

  AIUnicodeStringHandle other = make("Calque 1", kAIPlatformCharacterEncoding);
  EXPECT_NE(strings.Compare(roman, other), 0);
  AIUnicodeStringHandle empty = make("", kAIUTF8CharacterEncoding);
  EXPECT_EQ(strings.Compare(nullptr, empty), 0);
  EXPECT_LT(strings.Compare(nullptr, other), 0);

  // Copy overwrites the target, or makes one.
  ASSERT_EQ(strings.Copy(&other, roman), kNoErr);
  EXPECT_EQ(strings.Compare(other, utf8), 0);
  AIUnicodeStringHandle copy = nullptr;
  ASSERT_EQ(strings.Copy(&copy, utf8), kNoErr);
  EXPECT_EQ(strings.Compare(copy, roman), 0);

  // What Mac Roman cannot hold becomes '?'; bad UTF-8 too.
  AIUnicodeStringHandle wide = make("\u65e5\u672c / \xff", kAIUTF8CharacterEncoding);
  EXPECT_EQ(read(wide, kAIPlatformCharacterEncoding), "?? / ?");
  for (auto s : {roman, utf8, other, copy, wide, empty}) EXPECT_EQ(strings.Destroy(s), kNoErr);
}

TEST_F(DocumentSuites, GetAsReplacesTheBlockTheBufferHeld) {
  AIUnicodeStringHandle s = make("abc", kAIPlatformCharacterEncoding);
  AICharBufferData buffer{0, nullptr};
  void* old = nullptr;
  ASSERT_EQ(blocks.AllocateBlock(5, "ai::SPAlloc::AllocateBlock", &old), kNoErr);
  buffer = {5, static_cast<char*>(old)};
  uint32_t count = 0;
  ASSERT_EQ(strings.GetAs(s, kAIPlatformCharacterEncoding, &buffer, &count), kNoErr);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(host_.liveBlocks(), 1u) << "the old block was freed";
  EXPECT_STREQ(buffer.buffer, "abc");
  blocks.FreeBlock(buffer.buffer);

  AIUnicodeStringHandle empty = make("", kAIPlatformCharacterEncoding);
  buffer = {0, nullptr};
  ASSERT_EQ(strings.GetAs(empty, kAIPlatformCharacterEncoding, &buffer, &count), kNoErr);
  EXPECT_EQ(count, 0u);
  blocks.FreeBlock(buffer.buffer);

  // An allocation that fails leaves an empty buffer, never a freed one.
  host_.faults().failAllocation(host_.allocations() + 1);
  buffer = {0, nullptr};
  EXPECT_EQ(strings.GetAs(s, kAIPlatformCharacterEncoding, &buffer, &count), kOutOfMemoryErr);
  EXPECT_EQ(buffer.buffer, nullptr);
  EXPECT_EQ(buffer.count, 0u);
  EXPECT_EQ(strings.GetAs(s, 7, &buffer, &count), kBadParameterErr);
  strings.Destroy(s);
  strings.Destroy(empty);
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

TEST_F(DocumentSuites, ArtboardsGiveTheirRectanglesInPoints) {
  misusesTheHost_ = true;
  AIArtboardListHandle list = nullptr;
  AIArtboardPropertiesHandle properties = nullptr;
  ASSERT_EQ(artboards.GetArtboardList(&list), kNoErr);
  ASSERT_EQ(artboards.Init(&properties), kNoErr);
  int32_t count = 0;
  int32_t active = -1;
  ASSERT_EQ(artboards.GetCount(list, &count), kNoErr);
  EXPECT_EQ(count, 2);
  document().setActiveArtboard(1);
  ASSERT_EQ(artboards.GetActive(list, &active), kNoErr);
  EXPECT_EQ(active, 1);
  AIRealRect rect{};
  EXPECT_EQ(artboards.GetPosition(properties, &rect), kBadParameterErr) << "not filled yet";
  ASSERT_EQ(artboards.GetArtboardProperties(list, 1, properties), kNoErr);
  ASSERT_EQ(artboards.GetPosition(properties, &rect), kNoErr);
  EXPECT_EQ(rect.left, 320);
  EXPECT_EQ(rect.top, 900);
  EXPECT_EQ(rect.right, 520);
  EXPECT_EQ(rect.bottom, 600);
  EXPECT_EQ(artboards.GetArtboardProperties(list, 2, properties), kBadParameterErr);
  EXPECT_EQ(artboards.GetArtboardProperties(list, -1, properties), kBadParameterErr);
  EXPECT_EQ(host_.accounting().objectsLive("artboard list"), 1);
  EXPECT_EQ(host_.accounting().objectsLive("artboard properties"), 1);
  EXPECT_EQ(artboards.ReleaseArtboardList(list), kNoErr);
  EXPECT_EQ(artboards.Dispose(properties), kNoErr);
  EXPECT_EQ(artboards.Dispose(nullptr), kNoErr) << "what a failed Init leaves";
  EXPECT_EQ(artboards.GetCount(list, &count), kBadParameterErr) << "released";
  EXPECT_EQ(host_.accounting().misuses().size(), 1u);
}

TEST_F(DocumentSuites, DateComesFromTheHostsClock) {
  struct Case {
    hostsim::DateTime when;
    int32_t dayOfWeek;
  };
  const Case cases[] = {
      {{2012, 4, 10, 15, 30, 0}, 5},  // Tuesday
      {{1969, 12, 31, 12, 0, 0}, 6},  // Wednesday, before 1970
  };
  for (const Case& c : cases) {
    host_.clock().set(c.when);
    AIUserDateTime now{};
    ASSERT_EQ(user.GetDateAndTime(&now), kNoErr);
    int32_t year = 0, month = 0, day = 0, weekday = 0;
    EXPECT_EQ(user.GetYear(&now, &year), kNoErr);
    EXPECT_EQ(user.GetMonth(&now, &month), kNoErr);
    EXPECT_EQ(user.GetDay(&now, &day), kNoErr);
    EXPECT_EQ(user.GetDayOfWeek(&now, &weekday), kNoErr);
    EXPECT_EQ(year, c.when.year);
    EXPECT_EQ(month, c.when.month);
    EXPECT_EQ(day, c.when.day);
    EXPECT_EQ(weekday, c.dayOfWeek) << c.when.year << "-" << c.when.month << "-" << c.when.day;
    EXPECT_EQ(weekday, host_.clock().dayOfWeek());
  }
  AIUserDateTime garbage{INT64_MAX};
  int32_t year = 0;
  EXPECT_EQ(user.GetYear(&garbage, &year), kBadParameterErr);
  EXPECT_EQ(user.GetYear(nullptr, &year), kBadParameterErr);
}

TEST_F(DocumentSuites, FaultedGiveBacksStillGiveBack) {
  const ASErr code = fourcc("TEST");
  host_.faults().failCall("AI Unicode String Suite.Destroy", 1, code);
  host_.faults().failCall("AI File Path Suite.DeletePath", 1, code);
  host_.faults().failCall("AI Artboard Suite.ReleaseArtboardList", 1, code);
  host_.faults().failCall("AI Document Suite.GetDocumentFileSpecification", 1, code);
  AIFilePathHandle file = nullptr;
  EXPECT_EQ(doc.GetDocumentFileSpecification(&file), code);
  EXPECT_EQ(file, nullptr);
  ASSERT_EQ(doc.GetDocumentFileSpecification(&file), kNoErr);
  EXPECT_EQ(paths.DeletePath(file), code);
  EXPECT_EQ(strings.Destroy(make("x", kAIPlatformCharacterEncoding)), code);
  AIArtboardListHandle list = nullptr;
  artboards.GetArtboardList(&list);
  EXPECT_EQ(artboards.ReleaseArtboardList(list), code);
}

}  // namespace
}  // namespace docsuites_test
