// The --fault option: a host fault a person plans on the command line, to see what the
// plug-in does when the host fails it, as the tests do. Each spec goes into the host's
// fault plan before the plug-in starts.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}
namespace hostsim {
class FaultPlan;
}

namespace estampilleur {

// Adds `--fault SPEC`, repeatable, to `app`; each spec is checked as the line is parsed, so
// that a name the host does not know is a usage error.
void addFaultOption(CLI::App& app, std::vector<std::string>& specs);

// When one of the specs is "help": prints what a fault can name and returns true.
bool faultHelp(const std::vector<std::string>& specs);

// Puts the specs, checked when parsed, into the host's plan.
void planFaults(const std::vector<std::string>& specs, hostsim::FaultPlan& plan);

}  // namespace estampilleur
