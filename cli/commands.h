// The command's subcommands, one file each. Each adds its options to the program's
// command line; the one chosen runs once the whole line has been parsed.
#pragma once

#include <memory>
#include <string>

namespace CLI {
class App;
}
namespace hostsim::adm {
class Dialog;
}

namespace estampilleur {

// Exit statuses.
constexpr int kSuccess = 0;
constexpr int kFailure = 1;  // an input (or the host) failed; the others were still done
constexpr int kUsage = 2;    // the command line asks for something that cannot be done

class Command {
 public:
  virtual ~Command() = default;
  virtual int run() = 0;
  CLI::App* app = nullptr;
};

std::unique_ptr<Command> stampCommand(CLI::App& program);
std::unique_ptr<Command> dialogCommand(CLI::App& program);
std::unique_ptr<Command> aboutCommand(CLI::App& program);
std::unique_ptr<Command> fontsCommand(CLI::App& program);
std::unique_ptr<Command> menusCommand(CLI::App& program);

// Writes a dialog's picture to `file`, or to standard output for "-"; returns the status.
int render(const hostsim::adm::Dialog& dialog, const std::string& file);

}  // namespace estampilleur
