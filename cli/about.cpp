// estampilleur about: the plug-in's About box, chosen from the host's About menu and drawn
// as an SVG picture, then closed with its button.
#include <CLI/CLI.hpp>

#include <memory>
#include <string>

#include "actions.h"
#include "commands.h"
#include "hostsim/adm/dialogs.h"
#include "session.h"

namespace estampilleur {

namespace {

class AboutCommand final : public Command {
 public:
  explicit AboutCommand(CLI::App& program) {
    app = program.add_subcommand("about", "Draw the plug-in's About box as an SVG picture");
    app->add_option("--render", render_, "Write the picture to FILE.svg (- is standard output)")
        ->type_name("FILE.svg")
        ->required();
  }

  int run() override {
    std::unique_ptr<Session> session = startSession(HostSettings{});
    if (!session) return kFailure;
    // The About box's only button is its item 1: the script presses it once it is drawn.
    DialogScript script({}, DialogScript::Ending::OK);
    DialogOutcome outcome = session->choose(kAboutGroup, kSettingsCommand, script);
    int status = draw(outcome, "About box", render_);
    if (!session->finish()) status = std::max(status, kFailure);
    return status;
  }

 private:
  std::string render_;
};

}  // namespace

std::unique_ptr<Command> aboutCommand(CLI::App& program) { return std::make_unique<AboutCommand>(program); }

}  // namespace estampilleur
