// The dialog actions of the command line, played by the host's scripted user the way a
// person works the settings dialog: in the order given, each decided against the dialog as
// it stands when its turn comes, and only when it changes something (a box already checked
// is not clicked again). A person cannot use a disabled item nor pick a font the list does
// not show: such an action is refused, and the dialog is cancelled.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace hostsim {
class Dialogs;
namespace adm {
class Dialog;
struct UserAction;
}  // namespace adm
}  // namespace hostsim

namespace estampilleur {

// The settings dialog's items.
namespace item {
constexpr int32_t kOK = 1;
constexpr int32_t kCancel = 2;
constexpr int32_t kNameFont = 3;
constexpr int32_t kSizeFont = 4;
constexpr int32_t kDateFont = 5;
constexpr int32_t kNamePoints = 6;
constexpr int32_t kSizePoints = 7;
constexpr int32_t kDatePoints = 8;
constexpr int32_t kDateFormat = 12;
constexpr int32_t kName = 13;
constexpr int32_t kSize = 14;
constexpr int32_t kDate = 15;
constexpr int32_t kStacked = 16;
constexpr int32_t kAllArtboards = 17;
constexpr int32_t kSeparator = 19;
constexpr int32_t kNumber = 21;
constexpr int32_t kTop = 22;
constexpr int32_t kBottom = 23;
constexpr int32_t kBelow = 24;
}  // namespace item

// How people call an item of the settings dialog: «Numéro du plan», the font list of «Nom.»...
std::string itemName(int32_t id);

struct DialogAction {
  enum class Kind {
    Check,   // a check box to `on`
    Radio,   // a radio button on
    Font,    // a font list to the entry `text`
    Points,  // a spin edit to `points`
    Format,  // the date format list to entry `format`
    Text,    // the separator field to `text`
  };
  Kind kind = Kind::Check;
  int32_t itemID = 0;
  bool on = true;
  double points = 0;
  int32_t format = 0;
  std::string text;    // UTF-8
  std::string option;  // as given, for messages: "--name-font DejaVuSerif"
};

// The dialog action options, added to a subcommand; collect() reads them back in the order
// they were given once the command line is parsed.
class DialogActionOptions {
 public:
  void addTo(CLI::App& command);
  std::vector<DialogAction> collect() const;

 private:
  struct Binding {
    CLI::Option* option;
    DialogAction::Kind kind;
    int32_t itemID;
    bool on;
  };
  CLI::App* command_ = nullptr;
  std::vector<Binding> bindings_;
};

// Plays the actions in the first dialog that opens while it is installed, then presses OK
// (or Cancel), or leaves the dialog to the person at its window.
class DialogScript {
 public:
  enum class Ending { OK, Cancel, Person };
  DialogScript(std::vector<DialogAction> actions, Ending ending);

  // The refusal that stopped the script ("--number: «Numéro du plan» is disabled..."), if any.
  const std::optional<std::string>& refusal() const { return refusal_; }
  // The button the script pressed last: OK, or Cancel (also after a refusal). Nothing when
  // the dialog never got that far, or was left to the person.
  std::optional<Ending> pressed() const { return pressed_; }

 private:
  friend class ScriptInstalled;
  void opened(hostsim::Dialogs& dialogs, hostsim::adm::Dialog& dialog);
  void acted(hostsim::Dialogs& dialogs, hostsim::adm::Dialog& dialog);
  // Queues the next action that changes something, or the final button.
  void next(hostsim::Dialogs& dialogs, hostsim::adm::Dialog& dialog);
  // The user's move for `action` in the dialog as it stands: an action, nothing (already
  // so), or a refusal.
  std::optional<hostsim::adm::UserAction> decide(const hostsim::adm::Dialog& dialog, const DialogAction& action);
  void press(hostsim::Dialogs& dialogs, Ending button);

  std::vector<DialogAction> actions_;
  Ending ending_;
  size_t played_ = 0;
  hostsim::adm::Dialog* dialog_ = nullptr;
  bool done_ = false;
  std::optional<std::string> refusal_;
  std::optional<Ending> pressed_;
};

// While it lives, the script works the dialogs the host opens; afterwards the host's user
// is idle again (nothing left queued).
class ScriptInstalled {
 public:
  ScriptInstalled(DialogScript& script, hostsim::Dialogs& dialogs);
  ~ScriptInstalled();
  ScriptInstalled(const ScriptInstalled&) = delete;
  ScriptInstalled& operator=(const ScriptInstalled&) = delete;

 private:
  hostsim::Dialogs& dialogs_;
};

}  // namespace estampilleur
