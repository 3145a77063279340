// The command's tests run the built program through the shared runner.
#pragma once

#include "runner/run.h"

namespace clitest {

using namespace runner;  // the workspace, the program run and the file helpers

}  // namespace clitest
