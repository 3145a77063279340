#include "hostsim/core/faults.h"

namespace hostsim {

std::optional<ASErr> FaultPlan::callFails(std::string_view operation, uint64_t nthOfOperation,
                                          uint64_t nthOverall) const {
  if (failingCalls_.empty()) return std::nullopt;
  if (auto it = failingCalls_.find({std::string(operation), nthOfOperation}); it != failingCalls_.end())
    return it->second;
  if (auto it = failingCalls_.find({"*", nthOverall}); it != failingCalls_.end()) return it->second;
  return std::nullopt;
}

}  // namespace hostsim
