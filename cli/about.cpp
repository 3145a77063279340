// estampilleur about: the plug-in's About box, chosen from the host's About menu and shown
// in a window until the person closes it, or drawn as an SVG picture and closed.
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
    app = program.add_subcommand("about", "Show the plug-in's About box in a window, or draw it as an SVG picture");
    auto* render = app->add_option("--render", render_, "Write the picture to FILE.svg (- is standard output)")
                       ->type_name("FILE.svg");
    auto* interactive =
        app->add_flag("-i,--interactive", interactive_, "Show the About box in a window, closed by a click or Escape");
    render->excludes(interactive);
    app->require_option(1);
  }

  int run() override {
    if (interactive_ && !openDesktop()) return kUsage;
    HostSettings settings;
    settings.windows = interactive_;
    std::unique_ptr<Session> session = startSession(settings);
    if (!session) return kFailure;
    // The About box's only button is its item 1: the script presses it once it is drawn,
    // or the person does.
    DialogScript script({}, interactive_ ? DialogScript::Ending::Person : DialogScript::Ending::OK);
    DialogOutcome outcome = session->choose(kAboutGroup, kSettingsCommand, script);
    int status = interactive_ ? kSuccess : draw(outcome, "About box", render_);
    if (!session->finish()) status = std::max(status, kFailure);
    return status;
  }

 private:
  std::string render_;
  bool interactive_ = false;
};

}  // namespace

std::unique_ptr<Command> aboutCommand(CLI::App& program) { return std::make_unique<AboutCommand>(program); }

}  // namespace estampilleur
