// The plug-in architecture's suites, and the host's accounting and fault plan behind them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fake_plugin.h"

namespace hostcore_test {
namespace {

using SpSuites = FakePluginTest;
using FaultPlan = FakePluginTest;
constexpr ASErr kChosen = fourcc("Zut!");

TEST_F(SpSuites, EachAcquisitionIsHeldUntilReleasedUnderItsOwnVersion) {
  host.faults().makeSuiteUnavailable(kADMBasicSuite);
  run([&](SPMessageData& m) {
    const void* suite = &m;
    EXPECT_NE(m.basic->AcquireSuite(kADMBasicSuite, 10, &suite), kNoErr);  // unavailable in every version
    EXPECT_NE(m.basic->AcquireSuite(kADMBasicSuite, 11, &suite), kNoErr);
    suite = &m;
    EXPECT_EQ(m.basic->AcquireSuite(kAIMenuSuite, 1008, &suite), kSPBadSuiteVersionError);
    EXPECT_EQ(suite, nullptr);
    suite = &m;
    EXPECT_EQ(m.basic->AcquireSuite("AI Nonexistent Suite", 1, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(suite, nullptr);
    EXPECT_EQ(m.basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion, &suite), kNoErr);
    EXPECT_EQ(m.basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion, &suite), kNoErr);
    EXPECT_NE(suite, nullptr);
  });
  EXPECT_EQ(host.accounting().suiteHeld(kAIMenuSuite, kAIMenuSuiteVersion), 2);
  EXPECT_NE(host.outstanding().find("AI Menu Suite"), std::string::npos);
  run([&](SPMessageData& m) {
    EXPECT_NE(m.basic->ReleaseSuite(kAIMenuSuite, 1008), kNoErr);  // not the version held
    EXPECT_EQ(m.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
    EXPECT_EQ(m.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
    EXPECT_NE(m.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
  });
  EXPECT_EQ(host.accounting().suitesHeld(), 0);
  EXPECT_EQ(misuses(), 2u);
}

// Under the leak checker, this test also fails if the host forgets a block left to it.
TEST_F(SpSuites, BlocksAreCountedBySourceUntilFreedOnceByEitherSuite) {
  void* heap = nullptr;
  void* buffer = nullptr;
  with<SPBlocksSuite>(kSPBlocksSuite, kSPBlocksSuiteVersion, [&](SPMessageData& m, const SPBlocksSuite& blocks) {
    EXPECT_EQ(m.basic->AllocateBlock(24, &heap), kNoErr);
    std::memset(heap, 0xAB, 24);
    EXPECT_EQ(blocks.AllocateBlock(10, "ai::AutoBuffer", &buffer), kNoErr);
  });
  EXPECT_EQ(host.liveBlocks(), 2u);
  EXPECT_NE(host.outstanding().find("24 byte(s) from \"SP Basic\""), std::string::npos) << host.outstanding();
  EXPECT_NE(host.outstanding().find("\"ai::AutoBuffer\""), std::string::npos) << host.outstanding();
  host.faults().failAllocation(host.allocations() + 1);
  with<SPBlocksSuite>(kSPBlocksSuite, kSPBlocksSuiteVersion, [&](SPMessageData& m, const SPBlocksSuite& blocks) {
    void* refused = &heap;
    EXPECT_EQ(blocks.AllocateBlock(4, "refused", &refused), kOutOfMemoryErr);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(m.basic->FreeBlock(buffer), kNoErr);
    EXPECT_EQ(m.basic->FreeBlock(nullptr), kNoErr);
    EXPECT_NE(m.basic->FreeBlock(buffer), kNoErr);
    int onStack = 0;
    EXPECT_NE(m.basic->FreeBlock(&onStack), kNoErr);
  });
  EXPECT_EQ(misuses(), 2u);
  EXPECT_EQ(host.liveBlocks(), 1u);
}

// The pool behind the plug-in's small blocks (bypassed under the address sanitizer).
TEST(SmallBlocks, AreDistinctAlignedAndReusedLatestFirst) {
  hostsim::SmallBlocks pool;
  std::vector<std::pair<unsigned char*, size_t>> blocks;
  for (size_t size : {0, 1, 16, 17, 33, 64})
    for (int i = 0; i < 3000; ++i) {
      auto* block = static_cast<unsigned char*>(pool.take(size));
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
      std::memset(block, static_cast<int>(blocks.size() % 251), size);
      blocks.emplace_back(block, size);
    }
  size_t overwritten = 0;  // by a block that overlaps another
  for (size_t n = 0; n < blocks.size(); ++n)
    overwritten += std::count_if(blocks[n].first, blocks[n].first + blocks[n].second,
                                 [&](unsigned char c) { return c != n % 251; });
  EXPECT_EQ(overwritten, 0u);
  EXPECT_EQ(pool.take(65), nullptr);
  pool.give(blocks[0].first, 0);
  pool.give(blocks[1].first, 0);
  EXPECT_EQ(pool.take(16), blocks[1].first);  // one size class up to 16 bytes
  EXPECT_EQ(pool.take(1), blocks[0].first);
}

TEST(CallCounts, ANameIsCountedByItsTextNotItsAddress) {
  hostsim::Accounting accounting;
  const char* const kNewArt = "AI Art Suite.NewArt";
  char name[32] = "AI Art Suite.NewArt";
  accounting.countCall(name);
  accounting.objectCreated(name);
  std::strcpy(name, "AI Art Suite.Dispose");  // the same address, another name
  accounting.countCall(name);
  accounting.objectCreated(name);
  accounting.countCall(kNewArt);
  accounting.countCall(std::string(kNewArt));
  accounting.objectDestroyed("AI Art Suite.Dispose");
  hostsim::Accounting copy = accounting;  // counts on by itself
  copy.countCall(kNewArt);
  EXPECT_EQ(accounting.callsOf(kNewArt), 3u);
  EXPECT_EQ(accounting.callsOf("AI Art Suite.Dispose"), 1u);
  EXPECT_EQ(accounting.totalCalls(), 4u);
  EXPECT_EQ(accounting.objectsLive(kNewArt), 1);
  EXPECT_EQ(accounting.objectsLive("AI Art Suite.Dispose"), 0);
  EXPECT_EQ(copy.callsOf(kNewArt), 4u);
}

TEST_F(FaultPlan, NthCallOfAnOperationFailsWithTheChosenCode) {
  host.faults().failCall("AI Menu Suite.CountMenuGroups", 2, kChosen);
  with<AIMenuSuite>(kAIMenuSuite, kAIMenuSuiteVersion, [&](SPMessageData&, const AIMenuSuite& menu) {
    int32_t count = 0;
    AIMenuGroup group = nullptr;
    EXPECT_EQ(menu.GetNthMenuGroup(0, &group), kNoErr);  // another operation, numbered apart
    EXPECT_EQ(menu.CountMenuGroups(&count), kNoErr);
    EXPECT_EQ(menu.CountMenuGroups(&count), kChosen);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(menu.CountMenuGroups(&count), kNoErr);
  });
}

TEST_F(SpSuites, PluginAccessIsCountedUntilReleasedEvenThroughAPlannedFault) {
  host.faults().failCall("SP Access Suite.ReleasePlugin", 1, kCantHappenErr);
  SPAccessRef access = nullptr;
  with<SPAccessSuite>(kSPAccessSuite, kSPAccessSuiteVersion, [&](SPMessageData& m, const SPAccessSuite& suite) {
    EXPECT_EQ(suite.AcquirePlugin(m.self, &access), kNoErr);
    SPPluginRef current = nullptr;
    EXPECT_EQ(suite.GetCurrentPlugin(&current), kNoErr);
    EXPECT_EQ(current, m.self);
  });
  EXPECT_EQ(host.plugin().accessCount, 1);
  EXPECT_EQ(host.accounting().objectsLive("plug-in access"), 1);
  with<SPAccessSuite>(kSPAccessSuite, kSPAccessSuiteVersion, [&](SPMessageData&, const SPAccessSuite& suite) {
    EXPECT_EQ(suite.ReleasePlugin(access), kCantHappenErr);  // given back all the same
    EXPECT_NE(suite.ReleasePlugin(access), kNoErr);
  });
  EXPECT_EQ(host.plugin().accessCount, 0);
  EXPECT_EQ(host.accounting().objectsLive(), 0);
  EXPECT_EQ(misuses(), 1u);
}

}  // namespace
}  // namespace hostcore_test
