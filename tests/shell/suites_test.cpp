#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/Suites.h"
#include "shell_fixture.h"

namespace {

using shelltest::InProcess;

// Every row of both tables, basic suites first, in acquisition order.
std::vector<ImportSuite*> AllRows() {
  std::vector<ImportSuite*> rows;
  for (ImportSuite& row : gBasicSuites) rows.push_back(&row);
  for (ImportSuite* row = gImportSuites; row->name != nullptr; ++row) rows.push_back(row);
  return rows;
}

int HeldGlobals() {
  int held = 0;
  for (ImportSuite* row : AllRows()) held += *row->target != nullptr ? 1 : 0;
  return held;
}

class SuitesTest : public InProcess {
 protected:
  const int all = static_cast<int>(AllRows().size());
};

TEST_F(SuitesTest, AcquiresEverySuiteAndGivesEveryOneBack) {
  {
    Suites suites;
    EXPECT_EQ(suites.Error(), kNoErr);
    EXPECT_EQ(Suites::AcquiredCount(), 1);
    EXPECT_EQ(HeldGlobals(), all);
    EXPECT_EQ(SuitesHeldByPlugin(), all);
    // The text engine's rows carry their own versions.
    EXPECT_EQ(host.accounting().suiteHeld("ATE CharFeatures Suite", 101), 1);
    EXPECT_EQ(host.accounting().suiteHeld("ADM Icon Suite", 1), 1);
    EXPECT_EQ(host.accounting().suiteHeld("ADM Icon Suite", 2), 1);
  }
  EXPECT_EQ(Suites::AcquiredCount(), 0);
  EXPECT_EQ(HeldGlobals(), 0);
  EXPECT_EQ(SuitesHeldByPlugin(), 0);
  EXPECT_TRUE(host.accounting().misuses().empty());
}

TEST_F(SuitesTest, SecondHolderAcquiresAndReleasesNothing) {
  auto* first = new Suites;
  ASSERT_EQ(first->Error(), kNoErr);
  {
    Suites second;
    EXPECT_EQ(second.Error(), kNoErr);
    EXPECT_EQ(Suites::AcquiredCount(), 2);
    EXPECT_EQ(SuitesHeldByPlugin(), all);
  }
  EXPECT_EQ(Suites::AcquiredCount(), 1);
  EXPECT_EQ(SuitesHeldByPlugin(), all);
  EXPECT_EQ(HeldGlobals(), all);
  delete first;
  EXPECT_EQ(SuitesHeldByPlugin(), 0);
}

// A suite the host lacks: the rows before it are held, the rows after it are not tried, and
// destroying the object after InitializeRefCount gives back exactly the held ones.
TEST_F(SuitesTest, MissingSuiteStopsAcquisitionAndOnlyWhatWasAcquiredIsGivenBack) {
  std::vector<ImportSuite*> rows = AllRows();
  for (size_t missing = 0; missing < rows.size(); ++missing) {
    SCOPED_TRACE(std::string(rows[missing]->name) + " v" + std::to_string(rows[missing]->version));
    // The two ADM Icon rows share a name: making it unavailable stops at the first one.
    size_t stop = missing;
    while (stop > 0 && std::string(rows[stop - 1]->name) == rows[missing]->name) --stop;
    host.faults().clear();
    host.faults().makeSuiteUnavailable(rows[missing]->name);
    {
      Suites suites;
      EXPECT_EQ(suites.Error(), kSPSuiteNotFoundError);
      Suites::InitializeRefCount();
      for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(*rows[i]->target != nullptr, i < stop) << rows[i]->name;
      EXPECT_EQ(SuitesHeldByPlugin(), static_cast<int>(stop));
    }
    EXPECT_EQ(HeldGlobals(), 0);
    EXPECT_EQ(SuitesHeldByPlugin(), 0);
    EXPECT_EQ(Suites::AcquiredCount(), 0);
  }
  EXPECT_TRUE(host.accounting().misuses().empty());
}

// Without InitializeRefCount a failed holder was never counted: it must still give back what
// it acquired, and the count must not wrap round so that later holders acquire again.
TEST_F(SuitesTest, UncountedFailedHolderGivesBackAndLeavesTheCountAtZero) {
  host.faults().makeSuiteUnavailable("AI Menu Suite");
  { Suites failed; }
  EXPECT_EQ(Suites::AcquiredCount(), 0);
  EXPECT_EQ(SuitesHeldByPlugin(), 0);
  host.faults().clear();
  {
    Suites suites;
    EXPECT_EQ(suites.Error(), kNoErr);
    EXPECT_EQ(HeldGlobals(), all);
  }
  EXPECT_EQ(SuitesHeldByPlugin(), 0);
}

}  // namespace
