// What the host keeps for a sweep to name its fault points: the numbered calls in order, the
// allocations with the calls made before each, and the suites acquired. A fault plan's "*"
// and allocation numbers must name the same calls and blocks as these logs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostsim/standard_host.h"

namespace {

TEST(HostLogs, NameTheCallsBlocksAndSuitesThatAFaultPlanNumbers) {
  hostsim::StandardHost host;
  host.accounting().logCalls(true);
  host.logAllocations(true);
  EXPECT_FALSE(host.enter("AI Art Suite.NewArt"));
  EXPECT_FALSE(host.enter("AI Tag Suite.SetTag"));
  host.enterUnnumbered("SP Basic Suite.AllocateBlock");  // counted, never numbered
  void* blocks[3] = {};
  ASSERT_EQ(host.allocateBlock(24, "test", &blocks[0]), kNoErr);
  EXPECT_FALSE(host.enter("AI Art Suite.NewArt"));
  ASSERT_EQ(host.allocateBlock(8, "test", &blocks[1]), kNoErr);
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
  EXPECT_EQ(host.allocateBlock(16, "test", &blocks[2]), kOutOfMemoryErr);
  EXPECT_EQ(blocks[2], nullptr);
  EXPECT_EQ(host.allocationLog().size(), 3u);
  for (void* block : {blocks[0], blocks[1]}) host.freeBlock(block);

  // Each suite once, by name, however often it is acquired.
  const void* table = nullptr;
  for (auto [name, version] : {std::pair{kAIArtSuite, kAIArtSuiteVersion}, {kAIArtSuite, kAIArtSuiteVersion},
                               {kAILayerSuite, kAILayerSuiteVersion}}) {
    ASSERT_EQ(host.acquireSuite(name, version, &table), kNoErr);
    host.releaseSuite(name, version);
  }
  EXPECT_EQ(host.accounting().suiteNames(), (std::vector<std::string>{kAIArtSuite, kAILayerSuite}));
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

}  // namespace
