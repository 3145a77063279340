// The --trace option: every message the host sends the plug-in and every suite call the
// plug-in makes, one line each, written to a file or (-) standard error.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace estampilleur {

struct HostSettings;

void addTraceOption(CLI::App& app, std::string& file);

// Opens the trace file into the settings (nothing when `file` is empty). False, after one
// line saying why, when it cannot be written: a usage error, found before anything is done.
bool openTrace(const std::string& file, HostSettings& settings);

}  // namespace estampilleur
