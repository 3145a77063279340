// estampilleur menus: the host's menus once the plug-in has started, with its items.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "hostsim/adm/menus.h"
#include "session.h"

namespace estampilleur {

namespace {

class MenusCommand final : public Command {
 public:
  explicit MenusCommand(CLI::App& program) {
    app = program.add_subcommand("menus", "Print the host's menu tree, with the items the plug-in added");
  }

  int run() override {
    std::unique_ptr<Session> session = startSession(HostSettings{});
    if (!session) return kFailure;
    std::string tree = hostsim::menus(session->host()).tree();
    std::fwrite(tree.data(), 1, tree.size(), stdout);
    int status = std::fflush(stdout) == 0 ? kSuccess : kFailure;
    if (!session->finish()) status = kFailure;
    return status;
  }
};

}  // namespace

std::unique_ptr<Command> menusCommand(CLI::App& program) { return std::make_unique<MenusCommand>(program); }

}  // namespace estampilleur
