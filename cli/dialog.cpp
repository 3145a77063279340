// estampilleur dialog: the settings dialog as a person would see it after the given
// actions, drawn as an SVG picture. The dialog is then cancelled: nothing is stored.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

#include "actions.h"
#include "commands.h"
#include "faults.h"
#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/render.h"
#include "hostsim/model/document.h"
#include "session.h"

namespace estampilleur {

namespace {

constexpr double kMillimetre = 72 / 25.4;

class DialogCommand final : public Command {
 public:
  explicit DialogCommand(CLI::App& program) {
    app = program.add_subcommand("dialog", "Draw the settings dialog, after the given actions, as an SVG picture");
    app->add_option("--render", render_, "Write the picture to FILE.svg (- is standard output)")
        ->type_name("FILE.svg")
        ->required();
    app->add_option("--prefs", prefs_, "The host's preferences file, from which the dialog starts")
        ->type_name("FILE");
    addFaultOption(*app, faults_);
    actions_.addTo(*app);
    app->footer(
        "The dialog opens over a new, never-saved A4 document, and is cancelled once drawn:\n"
        "neither a document nor the preferences change.");
  }

  int run() override {
    if (faultHelp(faults_)) return kSuccess;
    HostSettings settings;
    if (!prefs_.empty()) settings.preferences = prefs_;
    settings.faults = faults_;
    std::unique_ptr<Session> session = startSession(settings);
    if (!session) return kFailure;

    // The menu command runs only with a document open.
    session->host().setDocument(
        std::make_unique<hostsim::Document>(hostsim::Document::create({{210 * kMillimetre, 297 * kMillimetre}})));
    DialogScript script(actions_.collect(), DialogScript::Ending::Cancel);
    DialogOutcome outcome = session->choose(kToolsGroup, kSettingsCommand, script);

    int status = kUsage;
    if (script.refusal())
      complain(*script.refusal());
    else
      status = draw(outcome, "dialog", render_);
    if (!session->finish()) status = std::max(status, kFailure);
    return status;
  }

 private:
  std::string render_;
  std::string prefs_;
  std::vector<std::string> faults_;
  DialogActionOptions actions_;
};

}  // namespace

int draw(const DialogOutcome& outcome, const std::string& what, const std::string& file) {
  if (!outcome.opened || outcome.dialog == nullptr) {
    const std::string why = outcome.problems.empty() ? "the plug-in opened no dialog" : outcome.problems.front();
    complain("no " + what + " to draw: " + why);
    return kFailure;
  }
  for (const auto& problem : outcome.problems) complain("warning: " + problem);
  const hostsim::adm::Dialog& dialog = *outcome.dialog;
  try {
    if (file == "-") {
      std::string svg = hostsim::adm::renderSvg(dialog);
      if (std::fwrite(svg.data(), 1, svg.size(), stdout) != svg.size() || std::fflush(stdout) != 0) {
        complain("cannot write the picture to standard output");
        return kFailure;
      }
    } else {
      hostsim::adm::saveSvg(dialog, file);
    }
  } catch (const std::exception& e) {
    complain(e.what());
    return kFailure;
  }
  return kSuccess;
}

std::unique_ptr<Command> dialogCommand(CLI::App& program) { return std::make_unique<DialogCommand>(program); }

}  // namespace estampilleur
