// The suite import table: acquired by the first holder, given back by the last, and only what
// was acquired given back when the host lacks one (each suite in turn: the fault sweep).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shell/DateSuites.h"
#include "shell/Suites.h"
#include "support/support.h"

namespace {

class SuitesTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    sSPBasic = const_cast<SPBasicSuite*>(&suite<SPBasicSuite>(kSPBasicSuite, kSPBasicSuiteVersion));
    for (ImportSuite& row : gBasicSuites) rows.push_back(&row);
    for (ImportSuite* row = gImportSuites; row->name != nullptr; ++row) rows.push_back(row);
  }
  void TearDown() override {
    sSPBasic = nullptr;
    HostTest::TearDown();
  }
  // The rows whose global is set, and the suites the host counts (SP Basic is the test's).
  size_t globals() { return std::count_if(rows.begin(), rows.end(), [](ImportSuite* r) { return *r->target != nullptr; }); }
  size_t held() { return static_cast<size_t>(host_.accounting().suitesHeld() - 1); }
  std::vector<ImportSuite*> rows;  // basic suites first, in acquisition order
};

// A second holder acquires and releases nothing.
TEST_F(SuitesTest, TheFirstHolderAcquiresEverySuiteAndTheLastGivesThemBack) {
  auto* first = new Suites;
  EXPECT_EQ(first->Error(), kNoErr);
  EXPECT_EQ(globals(), rows.size());
  EXPECT_EQ(held(), rows.size());
  {
    Suites second;
    EXPECT_EQ(Suites::AcquiredCount(), 2);
    EXPECT_EQ(held(), rows.size());
  }
  EXPECT_EQ(Suites::AcquiredCount(), 1);
  EXPECT_EQ(globals(), rows.size());
  delete first;
  EXPECT_EQ(Suites::AcquiredCount(), 0);
  EXPECT_EQ(globals(), 0u);
  EXPECT_EQ(held(), 0u);
}

// The rows before a missing suite are held, those after it not tried; the holder gives back
// exactly those, counted or not, and the count never wraps: a later holder acquires again.
TEST_F(SuitesTest, MissingSuiteStopsAcquisitionAndOnlyWhatWasAcquiredIsGivenBack) {
  size_t missing = 0;
  while (std::string(rows[missing]->name) != kAIMenuSuite) ++missing;
  for (bool counted : {true, false}) {
    host_.faults().makeSuiteUnavailable(kAIMenuSuite);
    {
      Suites suites;
      EXPECT_EQ(suites.Error(), kSPSuiteNotFoundError);
      if (counted) Suites::InitializeRefCount();
      for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(*rows[i]->target != nullptr, i < missing) << rows[i]->name;
      EXPECT_EQ(held(), missing);
    }
    EXPECT_EQ(globals(), 0u);
    EXPECT_EQ(held(), 0u);
    EXPECT_EQ(Suites::AcquiredCount(), 0);
  }
  host_.faults().clear();
  Suites suites;
  EXPECT_EQ(suites.Error(), kNoErr);
  EXPECT_EQ(globals(), rows.size());
}

}  // namespace
