// The text engine's exception: its error code, thrown by the ATE wrappers when the engine
// reports a failure.
#pragma once

#include <cstdint>
#include <exception>

#include "hostapi/ATESuites.h"

namespace ATE {

class Exception : public std::exception {
 public:
  explicit Exception(ATEErr code) noexcept : error(code) {}
  const char* what() const noexcept override { return "text engine error"; }

  ATEErr error;
};

[[noreturn]] void Throw_ATE_Exception(ATEErr code);

}  // namespace ATE
