// The fault plan: which host call or allocation fails, and how. The same object serves the
// tests, the fault sweep and the command's --fault option.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/ASTypes.h"

namespace hostsim {

class FaultPlan {
 public:
  // Every acquisition of the suite `name` (any version) fails as if the host had no such suite.
  void makeSuiteUnavailable(std::string name) { unavailableSuites_.insert(std::move(name)); }
  // The n-th memory block allocation (counted from 1 over both block suites) fails.
  void failAllocation(uint64_t n) { failingAllocations_.insert(n); }
  // The n-th call (from 1) of `operation` fails with `code`. An operation is named
  // "Suite Name.Operation" (as "AI Art Suite.NewArt"); "*" counts every host operation
  // except SP Basic's own and the memory blocks, which fail only through the two above.
  void failCall(std::string operation, uint64_t n, ASErr code) { failingCalls_[{std::move(operation), n}] = code; }
  void clear() { *this = FaultPlan{}; }
  bool empty() const { return unavailableSuites_.empty() && failingAllocations_.empty() && failingCalls_.empty(); }

  bool suiteUnavailable(std::string_view name) const { return unavailableSuites_.count(std::string(name)) != 0; }
  bool allocationFails(uint64_t n) const { return failingAllocations_.count(n) != 0; }
  // The code the call fails with, given its count among calls of the same operation and
  // among all host calls.
  std::optional<ASErr> callFails(std::string_view operation, uint64_t nthOfOperation, uint64_t nthOverall) const;
  bool noFailingCalls() const { return failingCalls_.empty(); }

 private:
  std::set<std::string> unavailableSuites_;
  std::set<uint64_t> failingAllocations_;
  std::map<std::pair<std::string, uint64_t>, ASErr> failingCalls_;
};

// Every host operation whose calls a plan can fail by number, "Suite Name.Operation", in
// name order. SP Basic's own operations and the memory blocks are not among them.
const std::vector<std::string>& failableOperations();
bool isFailableOperation(std::string_view operation);

}  // namespace hostsim
