// estampilleur fonts: the host's font list, one name a line, in the list's order: the
// entries of the dialog's font lists, as --name-font and the like expect them.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/mac_roman.h"
#include "hostsim/standard_host.h"
#include "session.h"

namespace estampilleur {

namespace {

class FontsCommand final : public Command {
 public:
  explicit FontsCommand(CLI::App& program) {
    app = program.add_subcommand("fonts", "List the host's fonts, one name a line, as the dialog's font lists show them");
  }

  int run() override {
    // Only the host is needed: its font suite names the fonts as the plug-in sees them.
    hostsim::StandardHost host;
    try {
      host.setFonts(hostFonts());
    } catch (const SetupError& e) {
      complain(e.what());
      return kFailure;
    }
    hostsim::CurrentHost scope(host);
    const void* table = nullptr;
    if (host.acquireSuite(kAIFontSuite, kAIFontSuiteVersion, &table) != kNoErr || table == nullptr) {
      complain("the host offers no font suite");
      return kFailure;
    }
    const auto* fonts = static_cast<const AIFontSuite*>(table);
    int status = kSuccess;
    int32_t count = 0;
    if (ASErr error = fonts->CountFonts(&count); error != kNoErr) {
      complain("the host cannot count its fonts (error " + errorCodeText(error) + ")");
      status = kFailure;
    }
    std::string list;
    for (int32_t i = 0; i < count && status == kSuccess; ++i) {
      AIFontKey key = nullptr;
      char name[1024] = {};
      ASErr error = fonts->IndexFontList(i, &key);
      if (error == kNoErr) error = fonts->GetFontName(key, name, static_cast<int16_t>(sizeof name));
      if (error != kNoErr) {
        complain("the host cannot name its font " + std::to_string(i) + " (error " + errorCodeText(error) + ")");
        status = kFailure;
        break;
      }
      list += hostsim::macRomanToUtf8(name) + "\n";
    }
    host.releaseSuite(kAIFontSuite, kAIFontSuiteVersion);
    std::fwrite(list.data(), 1, list.size(), stdout);
    if (std::fflush(stdout) != 0) status = kFailure;
    return status;
  }
};

}  // namespace

std::unique_ptr<Command> fontsCommand(CLI::App& program) { return std::make_unique<FontsCommand>(program); }

}  // namespace estampilleur
