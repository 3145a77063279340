// One run of the command as one session of the host: the host is built once (fonts,
// preferences, clock), the plug-in module is loaded and started once, every document is
// worked through the plug-in's menu commands, and the plug-in is shut down at the end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "hostsim/model/clock.h"
#include "hostsim/adm/front_end.h"
#include "hostsim/standard_host.h"

namespace hostsim {
class Document;
namespace adm {
class Dialog;
}
}  // namespace hostsim

namespace estampilleur {

class DialogScript;

// What stops the session from being built: one line, already naming what was wrong.
class SetupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the preferences live, the date the host's clock shows.
struct HostSettings {
  std::optional<std::filesystem::path> preferences;  // empty: the default file
  std::optional<hostsim::DateTime> date;             // empty: SOURCE_DATE_EPOCH, else today
  // The dialogs open in desktop windows, for the person at them to work once the script
  // has played (openDesktop() first).
  bool windows = false;
  std::vector<std::string> faults;                   // --fault specs, checked when parsed
  std::shared_ptr<hostsim::Tracer> trace;            // --trace, opened when parsed
};

// A date written YYYY-MM-DD, or nothing when it is not one or does not exist.
std::optional<hostsim::DateTime> parseDate(const std::string& text);

// The default preferences file: $XDG_CONFIG_HOME/estampilleur/preferences.ini, else
// ~/.config/estampilleur/preferences.ini; nothing when neither variable is set.
std::optional<std::filesystem::path> defaultPreferencesFile();

// The module to load: $ESTAMPILLEUR_PLUGIN when set, else Estampilleur.so beside this program.
std::filesystem::path pluginModule();

// The host's fonts: those of $ESTAMPILLEUR_FONTS when set, else the system's.
// Throws SetupError when the folder cannot be used.
std::unique_ptr<hostsim::FontCatalog> hostFonts();

// "QZV•Outils", "QZV•Estampilleur…" and "À propos des QZV•Outils…", as the plug-in names them.
extern const char kToolsGroup[];
extern const char kSettingsCommand[];
extern const char kAboutGroup[];

// How one modal dialog run went.
struct DialogOutcome {
  bool opened = false;               // the plug-in opened a dialog
  hostsim::adm::Dialog* dialog = nullptr;  // its record, readable after it closed
  ASErr result = kNoErr;             // the menu command's answer
  std::vector<std::string> problems; // what the host found wrong with the script or the dialog
};

class Session {
 public:
  // Builds the host and loads the plug-in. Throws SetupError.
  explicit Session(const HostSettings& settings);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  hostsim::Host& host() { return host_; }

  // Startup and the application-started notifiers. False when the plug-in refused to
  // start; startupError() then says why (with the alert it showed, if any).
  bool start();
  const std::string& startupError() const { return startupError_; }

  // Chooses the menu item `text` of `group`, with `script` working the dialog it opens.
  DialogOutcome choose(const char* group, const char* text, DialogScript& script);

  // Shuts the plug-in down and saves the preferences if they changed. Returns false when
  // they could not be saved (the message is printed). Prints one warning line when the
  // plug-in kept something of the host's.
  bool finish();

  // Prints on standard error what the plug-in wrote there since the last call.
  void relayPluginOutput();

 private:
  hostsim::StandardHost host_;
  std::unique_ptr<hostsim::adm::FrontEnd> windows_;
  bool started_ = false;
  bool finished_ = false;
  std::string startupError_;
  size_t relayed_ = 0;
};

// For -i: whether the desktop can be reached; says why not in one line (status 2 follows).
bool openDesktop();

// One line on standard error: "estampilleur: TEXT".
void complain(const std::string& text);

// A session started with `settings`, or null once standard error says why.
std::unique_ptr<Session> startSession(const HostSettings& settings);

// A host error code as people read it: 'PARM', or the number.
std::string errorCodeText(ASErr code);

}  // namespace estampilleur
