// The plug-in architecture's suites and the host's accounting and fault plan behind them.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fake_plugin.h"
#include "hostsim/standard_host.h"

namespace hostcore_test {
namespace {

using hostsim::Accounting;
using hostsim::StandardHost;

TEST(SuiteAccounting, EachAcquisitionIsHeldUntilReleased) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_NE(acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion), nullptr);
    EXPECT_NE(acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion), nullptr);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().suiteHeld(kAIMenuSuite, kAIMenuSuiteVersion), 2);
  EXPECT_FALSE(host.allGivenBack());
  EXPECT_NE(host.outstanding().find("AI Menu Suite"), std::string::npos);
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_EQ(message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
    EXPECT_EQ(message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(SuiteAccounting, ReleasingASuiteNotHeldIsFlagged) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_NE(acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion), nullptr);
    // Held under 1009, released under another version: not the same acquisition.
    EXPECT_NE(message.basic->ReleaseSuite(kAIMenuSuite, 1008), kNoErr);
    EXPECT_EQ(message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
    EXPECT_NE(message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().misuses().size(), 2u);
  EXPECT_FALSE(host.allGivenBack());
}

TEST(MemoryBlocks, BlocksAreCountedBySourceUntilFreed) {
  StandardHost host;
  attachFakePlugin(host);
  void* heap = nullptr;
  void* buffer = nullptr;
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_EQ(message.basic->AllocateBlock(24, &heap), kNoErr);
    std::memset(heap, 0xAB, 24);
    auto* blocks = acquire<SPBlocksSuite>(message, kSPBlocksSuite, kSPBlocksSuiteVersion);
    EXPECT_EQ(blocks->AllocateBlock(10, "ai::AutoBuffer", &buffer), kNoErr);
    message.basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.liveBlocks(), 2u);
  EXPECT_NE(host.outstanding().find("24 byte(s) from \"SP Basic\""), std::string::npos) << host.outstanding();
  EXPECT_NE(host.outstanding().find("\"ai::AutoBuffer\""), std::string::npos) << host.outstanding();
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_EQ(message.basic->FreeBlock(heap), kNoErr);
    EXPECT_EQ(message.basic->FreeBlock(buffer), kNoErr);  // either suite frees either block
    EXPECT_EQ(message.basic->FreeBlock(nullptr), kNoErr);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(MemoryBlocks, FreeingTwiceIsFlaggedNotRepeated) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    void* block = nullptr;
    EXPECT_EQ(message.basic->AllocateBlock(8, &block), kNoErr);
    EXPECT_EQ(message.basic->FreeBlock(block), kNoErr);
    EXPECT_NE(message.basic->FreeBlock(block), kNoErr);
    int onStack = 0;
    EXPECT_NE(message.basic->FreeBlock(&onStack), kNoErr);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().misuses().size(), 2u);
  EXPECT_EQ(host.liveBlocks(), 0u);
}

TEST(MemoryBlocks, SmallBlocksAreDistinctAlignedAndReused) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    std::vector<void*> blocks;
    for (size_t size : {0, 1, 16, 17, 33, 64, 65, 200}) {
      for (int i = 0; i < 300; ++i) {
        void* block = nullptr;
        EXPECT_EQ(message.basic->AllocateBlock(size, &block), kNoErr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
        std::memset(block, static_cast<int>(blocks.size() % 251), size);
        blocks.push_back(block);
      }
    }
    // Every block still holds what was written into it: none overlaps another.
    size_t n = 0, overwritten = 0;
    for (size_t size : {0, 1, 16, 17, 33, 64, 65, 200})
      for (int i = 0; i < 300; ++i, ++n)
        for (size_t byte = 0; byte < size; ++byte)
          if (static_cast<unsigned char*>(blocks[n])[byte] != n % 251) ++overwritten;
    EXPECT_EQ(overwritten, 0u);
    for (void* block : blocks) EXPECT_EQ(message.basic->FreeBlock(block), kNoErr);
    void* again = nullptr;
    EXPECT_EQ(message.basic->AllocateBlock(16, &again), kNoErr);
    EXPECT_EQ(message.basic->FreeBlock(again), kNoErr);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(CallCounts, ANameIsCountedByItsTextNotItsAddress) {
  Accounting accounting;
  char name[32] = "AI Art Suite.NewArt";
  accounting.countCall(name);
  accounting.countCall("AI Art Suite.NewArt");
  std::strcpy(name, "AI Art Suite.Dispose");  // the same address, another name
  accounting.countCall(name);
  accounting.countCall(std::string("AI Art Suite.NewArt"));
  EXPECT_EQ(accounting.callsOf("AI Art Suite.NewArt"), 3u);
  EXPECT_EQ(accounting.callsOf("AI Art Suite.Dispose"), 1u);
  EXPECT_EQ(accounting.totalCalls(), 4u);

  char kind[16] = "text range";
  accounting.objectCreated(kind);
  accounting.objectCreated(std::string("text range"));
  std::strcpy(kind, "char feats");
  accounting.objectCreated(kind);
  accounting.objectDestroyed("text range");
  EXPECT_EQ(accounting.objectsLive("text range"), 1);
  EXPECT_EQ(accounting.objectsLive("char feats"), 1);
  // A copy counts on by itself.
  Accounting copy = accounting;
  copy.countCall("AI Art Suite.NewArt");
  EXPECT_EQ(copy.callsOf("AI Art Suite.NewArt"), 4u);
  EXPECT_EQ(accounting.callsOf("AI Art Suite.NewArt"), 3u);
}

TEST(MemoryBlocks, BlocksLeftAtTheEndAreReportedAndReclaimed) {
  // Under the leak checker, this test fails if the host forgets blocks it gave out.
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    void* block = nullptr;
    return message.basic->AllocateBlock(100, &block);
  });
  EXPECT_EQ(host.liveBlocks(), 1u);
}

TEST(FaultPlan, UnavailableSuiteIsRefusedInEveryVersion) {
  StandardHost host;
  attachFakePlugin(host);
  host.faults().makeSuiteUnavailable(kADMBasicSuite);
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_EQ(acquire<ADMBasicSuite>(message, kADMBasicSuite, 10), nullptr);
    EXPECT_EQ(acquire<ADMBasicSuite>(message, kADMBasicSuite, 11), nullptr);
    EXPECT_NE(acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion), nullptr);
    message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(FaultPlan, NthAllocationFailsOverBothBlockSuites) {
  StandardHost host;
  attachFakePlugin(host);
  host.faults().failAllocation(2);
  inPlugin(host, [&](SPMessageData& message) {
    auto* blocks = acquire<SPBlocksSuite>(message, kSPBlocksSuite, kSPBlocksSuiteVersion);
    void* first = nullptr;
    void* second = &first;
    void* third = nullptr;
    EXPECT_EQ(message.basic->AllocateBlock(4, &first), kNoErr);
    EXPECT_EQ(blocks->AllocateBlock(4, "second", &second), kOutOfMemoryErr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(message.basic->AllocateBlock(4, &third), kNoErr);
    message.basic->FreeBlock(first);
    message.basic->FreeBlock(third);
    message.basic->ReleaseSuite(kSPBlocksSuite, kSPBlocksSuiteVersion);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(FaultPlan, NthCallOfAnOperationFailsWithTheChosenCode) {
  StandardHost host;
  attachFakePlugin(host);
  constexpr ASErr kChosen = fourcc("Zut!");
  host.faults().failCall("AI Menu Suite.CountMenuGroups", 2, kChosen);
  inPlugin(host, [&](SPMessageData& message) {
    auto* menu = acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion);
    int32_t count = 0;
    EXPECT_EQ(menu->CountMenuGroups(&count), kNoErr);
    EXPECT_EQ(menu->CountMenuGroups(&count), kChosen);
    EXPECT_EQ(menu->CountMenuGroups(&count), kNoErr);
    message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().callsOf("AI Menu Suite.CountMenuGroups"), 3u);
}

TEST(FaultPlan, StarNumbersEveryFallibleCallButNotTheBasicSuite) {
  StandardHost host;
  attachFakePlugin(host);
  constexpr ASErr kChosen = fourcc("Zut!");
  host.faults().failCall("*", 2, kChosen);
  inPlugin(host, [&](SPMessageData& message) {
    // Acquiring, allocating and freeing are counted but not numbered: the second numbered
    // call is GetNthMenuGroup.
    auto* menu = acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion);
    void* block = nullptr;
    message.basic->AllocateBlock(4, &block);
    message.basic->FreeBlock(block);
    int32_t count = 0;
    AIMenuGroup group = nullptr;
    EXPECT_EQ(menu->CountMenuGroups(&count), kNoErr);
    EXPECT_EQ(menu->GetNthMenuGroup(0, &group), kChosen);
    EXPECT_EQ(menu->GetNthMenuGroup(0, &group), kNoErr);
    message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().totalCalls(), 3u);
  EXPECT_EQ(host.accounting().callsOf("SP Basic Suite.AcquireSuite"), 1u);
  EXPECT_EQ(host.accounting().callsOf("SP Basic Suite.AllocateBlock"), 1u);
}

TEST(PluginAccess, AccessIsCountedUntilReleased) {
  StandardHost host;
  attachFakePlugin(host);
  SPAccessRef access = nullptr;
  inPlugin(host, [&](SPMessageData& message) {
    auto* suite = acquire<SPAccessSuite>(message, kSPAccessSuite, kSPAccessSuiteVersion);
    EXPECT_EQ(suite->AcquirePlugin(message.self, &access), kNoErr);
    EXPECT_NE(access, nullptr);
    SPPluginRef current = nullptr;
    EXPECT_EQ(suite->GetCurrentPlugin(&current), kNoErr);
    EXPECT_EQ(current, message.self);
    message.basic->ReleaseSuite(kSPAccessSuite, kSPAccessSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.plugin().accessCount, 1);
  EXPECT_EQ(host.accounting().objectsLive("plug-in access"), 1);
  inPlugin(host, [&](SPMessageData& message) {
    auto* suite = acquire<SPAccessSuite>(message, kSPAccessSuite, kSPAccessSuiteVersion);
    EXPECT_EQ(suite->ReleasePlugin(access), kNoErr);
    EXPECT_NE(suite->ReleasePlugin(access), kNoErr);
    message.basic->ReleaseSuite(kSPAccessSuite, kSPAccessSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.plugin().accessCount, 0);
  EXPECT_EQ(host.accounting().objectsLive(), 0);
  EXPECT_EQ(host.accounting().misuses().size(), 1u);
}

TEST(PluginAccess, PlannedFaultOnReleaseStillGivesTheAccessBack) {
  StandardHost host;
  attachFakePlugin(host);
  host.faults().failCall("SP Access Suite.ReleasePlugin", 1, kCantHappenErr);
  inPlugin(host, [&](SPMessageData& message) {
    auto* suite = acquire<SPAccessSuite>(message, kSPAccessSuite, kSPAccessSuiteVersion);
    SPAccessRef access = nullptr;
    EXPECT_EQ(suite->AcquirePlugin(message.self, &access), kNoErr);
    EXPECT_EQ(suite->ReleasePlugin(access), kCantHappenErr);
    message.basic->ReleaseSuite(kSPAccessSuite, kSPAccessSuiteVersion);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(PluginNames, NameIsKeptForTheCallingPluginOnly) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    auto* plugins = acquire<SPPluginsSuite>(message, kSPPluginsSuite, kSPPluginsSuiteVersion);
    EXPECT_EQ(plugins->SetPluginName(message.self, "Estampilleur"), kNoErr);
    EXPECT_NE(plugins->SetPluginName(nullptr, "Autre"), kNoErr);
    EXPECT_NE(plugins->SetPluginName(message.self, nullptr), kNoErr);
    message.basic->ReleaseSuite(kSPPluginsSuite, kSPPluginsSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.plugin().name, "Estampilleur");
}

}  // namespace
}  // namespace hostcore_test
