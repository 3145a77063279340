// The wrappers over host objects: each gives its handle back, and failures surface as the
// exceptions the shell turns back into codes.
#include <gtest/gtest.h>

#include <string>

#include "host/IAIUnicodeString.h"
#include "host/IText.h"
#include "shell/DatePlugIn.h"
#include "shell/Suites.h"
#include "shell_fixture.h"

namespace {

class WrappersTest : public shelltest::InProcess {
 protected:
  void SetUp() override {
    InProcess::SetUp();
    suites_ = new Suites;
    ASSERT_EQ(suites_->Error(), kNoErr);
  }
  void TearDown() override {
    delete suites_;
    EXPECT_TRUE(host.accounting().liveObjectsByKind().empty());
    EXPECT_EQ(host.liveBlocks(), 0u);
    EXPECT_TRUE(host.accounting().misuses().empty());
    InProcess::TearDown();
  }

  Suites* suites_ = nullptr;
};

TEST_F(WrappersTest, NullTextMakesNoHostCallEitherWay) {
  uint64_t before = host.accounting().totalCalls();
  { ai::UnicodeString none(nullptr, kAIPlatformCharacterEncoding); }
  { ai::UnicodeString empty; }
  EXPECT_EQ(host.accounting().totalCalls(), before);
}

TEST_F(WrappersTest, PlatformTextSurvivesTheRoundTrip) {
  const std::string text = "QZV\xA5" "Estampilleur\xC9 \xCB propos";  // QZV•Estampilleur… À propos
  ai::UnicodeString string(text.c_str(), kAIPlatformCharacterEncoding);
  EXPECT_EQ(string.as_Platform(), text);
}

TEST_F(WrappersTest, EmptyStringGivesAnEmptyStdString) {
  ai::UnicodeString empty("", kAIPlatformCharacterEncoding);
  EXPECT_EQ(empty.as_Platform(), std::string());
}

TEST_F(WrappersTest, AssignmentCopiesTheCharacters) {
  ai::UnicodeString source("Nom", kAIPlatformCharacterEncoding);
  ai::UnicodeString copy;
  copy = source;
  copy = copy;
  EXPECT_EQ(copy.as_Platform(), "Nom");
  ai::UnicodeString other("Autre", kAIPlatformCharacterEncoding);
  copy = other;
  EXPECT_EQ(copy.as_Platform(), "Autre");
  EXPECT_EQ(source.as_Platform(), "Nom");
}

TEST_F(WrappersTest, BlocksComeFromTheHostAndGoBack) {
  {
    ai::AutoBuffer<char, unsigned long, ai::SPAlloc> buffer(16);
    EXPECT_NE(buffer.GetBuffer(), nullptr);
    EXPECT_EQ(buffer.GetCount(), 16u);
    EXPECT_EQ(host.liveBlocks(), 1u);
  }
  ai::AutoBuffer<char, unsigned long, ai::SPAlloc> empty;
  EXPECT_EQ(empty.GetBuffer(), nullptr);
  EXPECT_EQ(host.liveBlocks(), 0u);
}

TEST_F(WrappersTest, FailedBlockIsAlwaysOutOfMemory) {
  host.faults().failAllocation(host.allocations() + 1);
  try {
    ai::AutoBuffer<char, unsigned long, ai::SPAlloc> buffer(16);
    FAIL() << "no exception";
  } catch (const ai::Error& e) {
    EXPECT_EQ(static_cast<long>(e), kOutOfMemoryErr);
  }
}

// A copied paint holds a count of its own: it stays usable after the original is gone.
TEST_F(WrappersTest, CopiedPaintOutlivesTheOriginal) {
  AIColor black{};
  black.kind = kFourColor;
  black.c.f = {0, 0, 0, 1};
  ATE::ApplicationPaintRef reference = nullptr;
  ASSERT_EQ(sATEPaint->CreateATEApplicationPaint(&black, &reference), kNoErr);
  auto* original = new ATE::IApplicationPaint(reference);
  ATE::IApplicationPaint copy(*original);
  delete original;
  ATE::ICharFeatures features;
  EXPECT_NO_THROW(features.SetFillColor(copy));
  EXPECT_EQ(host.accounting().callsOf("ATE ApplicationPaint Suite.AddRef"), 2u);  // ours, and the by-value argument's
}

TEST_F(WrappersTest, CopyingAFontAddsACountAndEveryCopyGivesOneBack) {
  {
    ATE::IFont empty;
    ATE::IFont copy(empty);
    EXPECT_EQ(copy.GetRef(), nullptr);
    EXPECT_EQ(host.accounting().callsOf("ATE Font Suite.AddRef"), 1u);
  }
  EXPECT_EQ(host.accounting().callsOf("ATE Font Suite.Release"), 2u);
}

TEST_F(WrappersTest, FailingTextEngineSetterThrowsTheEnginesCode) {
  host.faults().failCall("ATE CharFeatures Suite.SetFontSize", 1, 5);
  ATE::ICharFeatures features;
  try {
    features.SetFontSize(12.0f);
    FAIL() << "no exception";
  } catch (const ATE::Exception& e) {
    EXPECT_EQ(e.error, 5);
  }
  EXPECT_NO_THROW(features.SetFontSize(12.0f));
}

TEST_F(WrappersTest, FailingStringThrowsTheHostsCode) {
  host.faults().failCall("AI Unicode String Suite.Initialize", 1, fourcc("UNI!"));
  try {
    ai::UnicodeString string("texte", kAIPlatformCharacterEncoding);
    FAIL() << "no exception";
  } catch (const ai::Error& e) {
    EXPECT_EQ(static_cast<long>(e), fourcc("UNI!"));
  }
}

// Locks are counted: the host is asked once for access, and it is given back with the last
// unlock; an unlock too many changes nothing.
TEST_F(WrappersTest, PluginLockIsCounted) {
  DatePlugIn plugin(host.pluginRef());
  EXPECT_EQ(plugin.LockPlugin(true), kNoErr);
  EXPECT_EQ(plugin.LockPlugin(true), kNoErr);
  EXPECT_EQ(host.accounting().callsOf("SP Access Suite.AcquirePlugin"), 1u);
  EXPECT_EQ(host.plugin().accessCount, 1);
  EXPECT_EQ(plugin.LockPlugin(false), kNoErr);
  EXPECT_EQ(host.plugin().accessCount, 1);
  EXPECT_EQ(plugin.LockPlugin(false), kNoErr);
  EXPECT_EQ(host.plugin().accessCount, 0);
  EXPECT_EQ(plugin.LockPlugin(false), kNoErr);
  EXPECT_EQ(plugin.LockPlugin(true), kNoErr);
  EXPECT_EQ(host.plugin().accessCount, 1);
  EXPECT_EQ(plugin.LockPlugin(false), kNoErr);
  EXPECT_EQ(host.accounting().callsOf("SP Access Suite.ReleasePlugin"), 2u);
}

}  // namespace
