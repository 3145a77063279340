#include "trace.h"

#include <CLI/CLI.hpp>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "session.h"

namespace estampilleur {

void addTraceOption(CLI::App& app, std::string& file) {
  app.add_option("--trace", file,
                 "Write every message the host sends the plug-in and every suite call it makes to FILE, "
                 "one line each (- is standard error)")
      ->type_name("FILE")
      ->group("Host faults");
}

bool openTrace(const std::string& file, HostSettings& settings) {
  if (file.empty()) return true;
  // Standard error is taken as it is now: what the plug-in writes there is captured apart.
  std::FILE* out = nullptr;
  if (file == "-") {
    const int fd = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    out = fd < 0 ? nullptr : ::fdopen(fd, "w");
  } else {
    out = std::fopen(file.c_str(), "we");
  }
  if (out == nullptr) {
    complain("--trace: cannot write '" + file + "': " + std::strerror(errno));
    return false;
  }
  settings.trace = std::make_shared<hostsim::Tracer>(out);
  return true;
}

}  // namespace estampilleur
