#include "session.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "actions.h"
#include "faults.h"
#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/model/font_cache.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/mac_roman.h"
#include "hostsim/model/preferences.h"

namespace estampilleur {

const char kToolsGroup[] = "QZV\xA5Outils";                        // QZV•Outils
const char kSettingsCommand[] = "QZV\xA5" "Estampilleur\xC9";      // QZV•Estampilleur…
const char kAboutGroup[] = "\xCB propos des QZV\xA5Outils\xC9";    // À propos des QZV•Outils…

namespace {

std::optional<std::string> environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::filesystem::path thisProgram() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw SetupError("cannot find where this program lives (/proc/self/exe): " + ec.message());
  return path;
}

// The window module beside this program, loaded on first use and kept for the process.
struct WindowModule {
  bool (*openDesktop)(std::string* why) = nullptr;
  hostsim::adm::FrontEnd* (*dialogWindows)(hostsim::Host* host) = nullptr;
};

const WindowModule* windowModule(std::string& why) {
  static WindowModule module;
  if (module.openDesktop != nullptr) return &module;
  std::filesystem::path file;
  try {
    file = thisProgram().parent_path() / "estampilleur-window.so";
  } catch (const SetupError& e) {
    why = e.what();
    return nullptr;
  }
  void* library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    why = "the window module cannot be loaded: " + std::string(::dlerror());
    return nullptr;
  }
  module.openDesktop = reinterpret_cast<bool (*)(std::string*)>(::dlsym(library, "estampilleur_open_desktop"));
  module.dialogWindows =
      reinterpret_cast<hostsim::adm::FrontEnd* (*)(hostsim::Host*)>(::dlsym(library, "estampilleur_dialog_windows"));
  if (module.openDesktop == nullptr || module.dialogWindows == nullptr) {
    module = {};
    why = file.string() + " is not the window module";
    return nullptr;
  }
  return &module;
}

}  // namespace

bool openDesktop() {
  std::string why;
  const WindowModule* module = windowModule(why);
  if (module != nullptr && module->openDesktop(&why)) return true;
  complain("--interactive: " + why);
  return false;
}

void complain(const std::string& text) {
  std::fflush(stdout);
  std::fprintf(stderr, "estampilleur: %s\n", text.c_str());
  std::fflush(stderr);
}

std::string errorCodeText(ASErr code) {
  auto value = static_cast<uint32_t>(code);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((value >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) return std::to_string(code);
    text += c;
  }
  return "'" + text + "'";
}

std::optional<hostsim::DateTime> parseDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char end = 0;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &end) != 3)
    return std::nullopt;
  for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  hostsim::DateTime when{year, month, day, 12, 0, 0};
  try {
    hostsim::Clock::at(when);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  }
  return when;
}

std::optional<std::filesystem::path> defaultPreferencesFile() {
  if (auto config = environment("XDG_CONFIG_HOME"))
    return std::filesystem::path(*config) / "estampilleur" / "preferences.ini";
  if (auto home = environment("HOME"))
    return std::filesystem::path(*home) / ".config" / "estampilleur" / "preferences.ini";
  return std::nullopt;
}

std::filesystem::path pluginModule() {
  if (auto module = environment("ESTAMPILLEUR_PLUGIN")) return *module;
  return thisProgram().parent_path() / "Estampilleur.so";
}

std::unique_ptr<hostsim::FontCatalog> hostFonts() {
  try {
    if (auto folder = environment("ESTAMPILLEUR_FONTS"))
      return std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(*folder));
    const std::optional<hostsim::FontListCache> cache = hostsim::FontListCache::inUserCache();
    return std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::system(cache ? &*cache : nullptr));
  } catch (const std::runtime_error& e) {
    throw SetupError(std::string("ESTAMPILLEUR_FONTS: ") + e.what());
  }
}

Session::Session(const HostSettings& settings) {
  planFaults(settings.faults, host_.faults());
  if (settings.trace) host_.traceTo(settings.trace);
  host_.setFonts(hostFonts());

  std::optional<std::filesystem::path> file = settings.preferences ? settings.preferences : defaultPreferencesFile();
  if (file) {
    auto preferences = hostsim::Preferences::load(*file);
    if (preferences.warning()) complain("warning: " + *preferences.warning());
    host_.setPreferences(std::make_unique<hostsim::Preferences>(std::move(preferences)));
  }

  try {
    host_.clock() = settings.date ? hostsim::Clock::at(*settings.date) : hostsim::Clock::fromEnvironment();
  } catch (const std::invalid_argument& e) {
    throw SetupError(std::string("the host's clock: ") + e.what());
  }

  std::filesystem::path module = pluginModule();
  std::error_code ec;
  if (!std::filesystem::exists(module, ec))
    throw SetupError("no plug-in module at " + module.string() + " (build it, or name it with ESTAMPILLEUR_PLUGIN)");
  try {
    host_.loadPlugin(module);
  } catch (const std::runtime_error& e) {
    throw SetupError(e.what());
  }
  if (settings.windows) {
    // Before the start-up, so the plug-in places its dialogs on the real screen.
    std::string why;
    const WindowModule* windows = windowModule(why);
    if (windows == nullptr) throw SetupError("--interactive: " + why);
    windows_.reset(windows->dialogWindows(&host_));
    hostsim::dialogs(host_).setFrontEnd(windows_.get());
  }
}

Session::~Session() {
  // A session left by an exception still lets the plug-in go before its code is unloaded.
  if (started_ && !finished_) {
    host_.shutdown();
    relayPluginOutput();
  }
}

std::unique_ptr<Session> startSession(const HostSettings& settings) {
  std::unique_ptr<Session> session;
  try {
    session = std::make_unique<Session>(settings);
  } catch (const SetupError& e) {
    complain(e.what());
    return nullptr;
  }
  if (!session->start()) {
    complain(session->startupError());
    return nullptr;
  }
  return session;
}

bool Session::start() {
  size_t alertsBefore = host_.alerts().size();
  ASErr result = host_.startup();
  started_ = true;
  relayPluginOutput();
  if (result != kNoErr) {
    startupError_ = "the plug-in did not start (error " + errorCodeText(result) + ")";
    for (size_t i = alertsBefore; i < host_.alerts().size(); ++i)
      startupError_ += ": " + hostsim::macRomanToUtf8(host_.alerts()[i].text);
    // A plug-in that failed its start-up has destroyed its object; it gets no shutdown.
    finished_ = true;
    return false;
  }
  host_.applicationStarted();
  relayPluginOutput();
  return true;
}

DialogOutcome Session::choose(const char* group, const char* text, DialogScript& script) {
  DialogOutcome outcome;
  hostsim::MenuItem* item = hostsim::menus(host_).findItem(group, text);
  if (item == nullptr) {
    outcome.problems.push_back("the plug-in added no menu item «" + hostsim::macRomanToUtf8(text) + "» to «" +
                               hostsim::macRomanToUtf8(group) + "»");
    return outcome;
  }
  hostsim::Dialogs& dialogs = hostsim::dialogs(host_);
  size_t dialogsBefore = dialogs.all().size();
  dialogs.clearErrors();
  {
    ScriptInstalled installed(script, dialogs);
    outcome.result = host_.chooseMenuItem(item->handle());
  }
  relayPluginOutput();
  outcome.problems = dialogs.errors();
  dialogs.clearErrors();
  if (dialogs.all().size() > dialogsBefore) {
    outcome.opened = true;
    outcome.dialog = dialogs.all()[dialogsBefore].get();
  }
  return outcome;
}

bool Session::finish() {
  bool saved = true;
  if (started_ && !finished_) {
    ASErr result = host_.shutdown();
    relayPluginOutput();
    if (result != kNoErr) complain("warning: the plug-in's shutdown answered error " + errorCodeText(result));
  }
  finished_ = true;
  if (!host_.allGivenBack()) {
    std::string kept = host_.outstanding();
    while (!kept.empty() && kept.back() == '\n') kept.pop_back();
    for (auto& c : kept)
      if (c == '\n') c = ';';
    complain("warning: after shutdown the plug-in still held: " + kept);
  }
  hostsim::Preferences& preferences = host_.preferences();
  if (preferences.modified() && !preferences.file().empty()) {
    try {
      preferences.save();
    } catch (const std::exception& e) {
      complain(std::string("the preferences were not saved: ") + e.what());
      saved = false;
    }
  }
  return saved;
}

void Session::relayPluginOutput() {
  const std::string& written = host_.pluginStderr();
  if (written.size() <= relayed_) return;
  std::fflush(stdout);
  std::fwrite(written.data() + relayed_, 1, written.size() - relayed_, stderr);
  std::fflush(stderr);
  relayed_ = written.size();
}

}  // namespace estampilleur
