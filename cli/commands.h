// The command's subcommands, one file each. Each adds its options to the program's
// command line; the one chosen runs once the whole line has been parsed.
#pragma once

#include <memory>
#include <string>

namespace CLI {
class App;
}
namespace estampilleur {

struct DialogOutcome;

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

// Writes the picture of the dialog a menu command opened to `file`, or to standard output
// for "-"; returns the status, having said why when there is no dialog (`what`) to draw.
int draw(const DialogOutcome& outcome, const std::string& what, const std::string& file);

}  // namespace estampilleur
