// What the host keeps for a sweep to name its fault points: the numbered calls in order, the
// allocations with the calls made before each, and the suites acquired. A fault plan's "*"
// and allocation numbers must name the same calls and blocks as these logs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostsim/standard_host.h"

namespace {

TEST(HostLogs, NameTheCallsAndBlocksThatAFaultPlanNumbers) {
  hostsim::StandardHost host;
  host.accounting().logCalls(true);
  host.logAllocations(true);

  EXPECT_FALSE(host.enter("AI Art Suite.NewArt"));
  EXPECT_FALSE(host.enter("AI Tag Suite.SetTag"));
  host.enterUnnumbered("SP Basic Suite.AllocateBlock");  // counted, never numbered
  void* first = nullptr;
  ASSERT_EQ(host.allocateBlock(24, "test", &first), kNoErr);
  EXPECT_FALSE(host.enter("AI Art Suite.NewArt"));
  void* second = nullptr;
  ASSERT_EQ(host.allocateBlock(8, "test", &second), kNoErr);

  EXPECT_EQ(host.accounting().callLog(),
            (std::vector<std::string>{"AI Art Suite.NewArt", "AI Tag Suite.SetTag", "AI Art Suite.NewArt"}));
  ASSERT_EQ(host.allocationLog().size(), 2u);
  EXPECT_EQ(host.allocationLog()[0].size, 24u);
  EXPECT_EQ(host.allocationLog()[0].afterCalls, 2u);
  EXPECT_EQ(host.allocationLog()[1].afterCalls, 3u);

  // The next numbers the plan would use are the next entries of the logs.
  host.faults().failCall("*", 4, kBadParameterErr);
  host.faults().failAllocation(3);
  EXPECT_EQ(host.enter("ADM Item Suite.Create"), kBadParameterErr);
  EXPECT_EQ(host.accounting().callLog().back(), "ADM Item Suite.Create");
  void* refused = nullptr;
  EXPECT_EQ(host.allocateBlock(16, "test", &refused), kOutOfMemoryErr);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(host.allocationLog().size(), 3u);

  host.freeBlock(first);
  host.freeBlock(second);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(HostLogs, NothingIsKeptUnlessAsked) {
  hostsim::StandardHost host;
  EXPECT_FALSE(host.enter("AI Art Suite.NewArt"));
  void* block = nullptr;
  ASSERT_EQ(host.allocateBlock(4, "test", &block), kNoErr);
  EXPECT_TRUE(host.accounting().callLog().empty());
  EXPECT_TRUE(host.allocationLog().empty());
  EXPECT_EQ(host.accounting().totalCalls(), 1u);
  host.freeBlock(block);
}

TEST(HostLogs, ListEverySuiteAcquiredOnceByName) {
  hostsim::StandardHost host;
  const void* table = nullptr;
  ASSERT_EQ(host.acquireSuite(kAIArtSuite, kAIArtSuiteVersion, &table), kNoErr);
  ASSERT_EQ(host.acquireSuite(kAIArtSuite, kAIArtSuiteVersion, &table), kNoErr);
  ASSERT_EQ(host.acquireSuite(kAILayerSuite, kAILayerSuiteVersion, &table), kNoErr);
  host.releaseSuite(kAIArtSuite, kAIArtSuiteVersion);
  host.releaseSuite(kAIArtSuite, kAIArtSuiteVersion);
  host.releaseSuite(kAILayerSuite, kAILayerSuiteVersion);
  EXPECT_EQ(host.accounting().suiteNames(), (std::vector<std::string>{kAIArtSuite, kAILayerSuite}));
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

}  // namespace
