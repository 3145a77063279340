// estampilleur: stamps the file name, size and date on the artboards of SVG documents by
// running the Estampilleur plug-in inside a stand-in host, as a person would from the
// host's menu and dialog.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "session.h"

int main(int argc, char** argv) {
  using namespace estampilleur;

  CLI::App program{
      "Stamps the file name, the artboard's size and the date on the artboards of SVG documents,\n"
      "through the Estampilleur plug-in run in a stand-in host: the plug-in's menu command\n"
      "«QZV•Estampilleur…» is chosen, its dialog worked as a person would, then OK pressed.",
      "estampilleur"};
  program.require_subcommand(1);
  program.set_version_flag("--version", "estampilleur " ESTAMPILLEUR_VERSION);
  program.footer(
      "Examples:\n"
      "  estampilleur stamp --date 2012-04-10 --out-dir out/ affiche.svg plaquette.svg\n"
      "  estampilleur stamp --one-line --separator ' | ' --bottom --in-place affiche.svg\n"
      "  estampilleur stamp --new 210x297mm,297x420mm -o nouveau.svg --report rapport.json\n"
      "  estampilleur dialog --no-name --render reglages.svg\n"
      "\n"
      "Environment:\n"
      "  ESTAMPILLEUR_PLUGIN  the plug-in module (default: Estampilleur.so beside this program)\n"
      "  ESTAMPILLEUR_FONTS   a folder: the host lists only its fonts (default: the system's)\n"
      "  SOURCE_DATE_EPOCH    the host's date when --date is not given (default: today)\n"
      "  XDG_CONFIG_HOME      where the preferences live: estampilleur/preferences.ini\n"
      "  XDG_CACHE_HOME       where the system's font list is kept between runs: estampilleur/fonts.list\n"
      "\n"
      "Exit status: 0 all stamped, 1 an input failed (the others are still done), 2 usage error.");
  program.failure_message([](const CLI::App*, const CLI::Error& error) {
    return "estampilleur: " + std::string(error.what()) + "\nRun `estampilleur --help` for the commands and options.\n";
  });

  // Only the command asked for is declared (declaring them all costs a start-up a third of
  // what stamping a page does); all of them for the program's own help and version.
  using Declare = std::unique_ptr<Command> (*)(CLI::App&);
  static constexpr std::pair<const char*, Declare> kCommands[] = {
      {"stamp", stampCommand}, {"dialog", dialogCommand}, {"about", aboutCommand},
      {"fonts", fontsCommand}, {"menus", menusCommand}};
  std::vector<std::unique_ptr<Command>> commands;
  const std::string first = argc > 1 ? argv[1] : "";
  for (const auto& [name, declare] : kCommands)
    if (first == name) commands.push_back(declare(program));
  if (commands.empty()) {
    // CLI11 would only say that a command is missing.
    if (!first.empty() && first[0] != '-') {
      complain("no command «" + first + "»: the commands are stamp, dialog, about, fonts and menus");
      return kUsage;
    }
    for (const auto& [name, declare] : kCommands) commands.push_back(declare(program));
  }

  try {
    program.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    int status = program.exit(error);
    return status == 0 ? kSuccess : kUsage;
  }

  try {
    for (auto& command : commands)
      if (command->app->parsed()) return command->run();
  } catch (const std::exception& error) {
    complain(error.what());
    return kFailure;
  }
  return kUsage;
}
