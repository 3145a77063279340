#include "actions.h"

#include <CLI/CLI.hpp>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "hostsim/adm/dialogs.h"
#include "hostsim/model/mac_roman.h"

namespace estampilleur {

namespace {

using hostsim::adm::UserAction;

std::string quoted(const std::string& utf8) { return "«" + utf8 + "»"; }

// A point size as a person types it: a positive number a single-precision field can hold.
std::string checkPoints(const std::string& text) {
  size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    return "«" + text + "» is not a number of points";
  }
  if (used != text.size()) return "«" + text + "» is not a number of points";
  if (!std::isfinite(value) || value <= 0 || value > FLT_MAX) return "«" + text + "» is not a usable point size";
  return {};
}

constexpr const char* kDateFormats[] = {"long", "short", "numeric"};

}  // namespace

std::string itemName(int32_t id) {
  switch (id) {
    case item::kOK: return quoted("OK");
    case item::kCancel: return quoted("Annuler");
    case item::kNameFont: return "the font list of " + quoted("Nom.");
    case item::kSizeFont: return "the font list of " + quoted("Taille.");
    case item::kDateFont: return "the font list of " + quoted("Date.");
    case item::kNamePoints: return "the size of " + quoted("Nom.");
    case item::kSizePoints: return "the size of " + quoted("Taille.");
    case item::kDatePoints: return "the size of " + quoted("Date.");
    case item::kDateFormat: return "the date format list";
    case item::kName: return quoted("Nom.");
    case item::kSize: return quoted("Taille.");
    case item::kDate: return quoted("Date.");
    case item::kStacked: return quoted("Infos superposées");
    case item::kAllArtboards: return quoted("Sur tous les plans");
    case item::kSeparator: return "the separator field " + quoted("Séparateurs");
    case item::kNumber: return quoted("Numéro du plan");
    case item::kTop: return quoted("Haut.");
    case item::kBottom: return quoted("Bas.");
    case item::kBelow: return quoted("Dessous.");
    default: return "item " + std::to_string(id);
  }
}

// --- The command line -----------------------------------------------------------------------

void DialogActionOptions::addTo(CLI::App& command) {
  command_ = &command;
  const std::string group = "Dialog actions (played in the order given, each only when it changes something)";
  auto flag = [&](const char* name, DialogAction::Kind kind, int32_t id, bool on, const std::string& help) {
    CLI::Option* option = command.add_flag(name, help)->group(group);
    bindings_.push_back({option, kind, id, on});
  };
  auto value = [&](const char* name, const char* type, DialogAction::Kind kind, int32_t id, const std::string& help) {
    CLI::Option* option = command.add_option(name, help)
                              ->type_name(type)
                              ->expected(1)
                              ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                              ->group(group);
    bindings_.push_back({option, kind, id, true});
    return option;
  };
  using K = DialogAction::Kind;
  flag("--number", K::Check, item::kNumber, true, "Check «Numéro du plan» (the artboard number before the file name)");
  flag("--no-number", K::Check, item::kNumber, false, "Uncheck «Numéro du plan»");
  flag("--name", K::Check, item::kName, true, "Check «Nom.» (the file name)");
  flag("--no-name", K::Check, item::kName, false, "Uncheck «Nom.» (this also unchecks and disables «Numéro du plan»)");
  flag("--size", K::Check, item::kSize, true, "Check «Taille.» (the artboard's size in mm)");
  flag("--no-size", K::Check, item::kSize, false, "Uncheck «Taille.»");
  flag("--date-text", K::Check, item::kDate, true, "Check «Date.» (the date)");
  flag("--no-date-text", K::Check, item::kDate, false, "Uncheck «Date.»");
  value("--name-font", "FONT", K::Font, item::kNameFont,
        "Font of the file name: an entry of the font list, by its exact name (see `estampilleur fonts`)");
  value("--size-font", "FONT", K::Font, item::kSizeFont, "Font of the size");
  value("--date-font", "FONT", K::Font, item::kDateFont, "Font of the date");
  value("--name-pt", "N", K::Points, item::kNamePoints, "Size of the file name, in points")->check(checkPoints);
  value("--size-pt", "N", K::Points, item::kSizePoints, "Size of the size text, in points")->check(checkPoints);
  value("--date-pt", "N", K::Points, item::kDatePoints, "Size of the date, in points")->check(checkPoints);
  value("--date-format", "FORMAT", K::Format, item::kDateFormat,
        "Date format: long (Mardi 10 avril 2012), short (Mar 10 avr 2012) or numeric (10/04/2012)")
      ->check(CLI::IsMember({"long", "short", "numeric"}));
  flag("--stacked", K::Check, item::kStacked, true, "Check «Infos superposées»: one text per line");
  flag("--one-line", K::Check, item::kStacked, false, "Uncheck «Infos superposées»: the texts on one line");
  flag("--all", K::Check, item::kAllArtboards, true, "Check «Sur tous les plans»: stamp every artboard");
  flag("--active-only", K::Check, item::kAllArtboards, false, "Uncheck «Sur tous les plans»: the active artboard only");
  value("--separator", "TEXT", K::Text, item::kSeparator,
        "Separator between the texts on one line (at most 20 characters)");
  flag("--top", K::Radio, item::kTop, true, "Choose «Haut.»: the texts at the top of the artboard");
  flag("--bottom", K::Radio, item::kBottom, true, "Choose «Bas.»: the texts at the bottom of the artboard");
  flag("--below", K::Radio, item::kBelow, true, "Choose «Dessous.»: the texts below the artboard, in the bleed");
}

std::vector<DialogAction> DialogActionOptions::collect() const {
  std::vector<DialogAction> actions;
  if (command_ == nullptr) return actions;
  std::map<const CLI::Option*, size_t> seen;
  for (const CLI::Option* option : command_->parse_order()) {
    const Binding* binding = nullptr;
    for (const Binding& b : bindings_)
      if (b.option == option) binding = &b;
    if (binding == nullptr) continue;
    size_t occurrence = seen[option]++;
    DialogAction action;
    action.kind = binding->kind;
    action.itemID = binding->itemID;
    action.on = binding->on;
    action.option = option->get_name();
    if (binding->kind != DialogAction::Kind::Check && binding->kind != DialogAction::Kind::Radio) {
      const auto& results = option->results();
      std::string text = occurrence < results.size() ? results[occurrence] : std::string();
      action.option += " " + text;
      switch (binding->kind) {
        case DialogAction::Kind::Points:
          action.points = std::stod(text);
          break;
        case DialogAction::Kind::Format:
          for (int32_t i = 0; i < 3; ++i)
            if (text == kDateFormats[i]) action.format = i;
          break;
        default:
          action.text = text;
          break;
      }
    }
    actions.push_back(std::move(action));
  }
  return actions;
}

// --- Playing --------------------------------------------------------------------------------

DialogScript::DialogScript(std::vector<DialogAction> actions, Ending ending)
    : actions_(std::move(actions)), ending_(ending) {}

void DialogScript::opened(hostsim::Dialogs& dialogs, hostsim::adm::Dialog& dialog) {
  if (dialog_ != nullptr) return;  // a dialog opened from ours is not ours to work
  dialog_ = &dialog;
  next(dialogs, dialog);
}

void DialogScript::acted(hostsim::Dialogs& dialogs, hostsim::adm::Dialog& dialog) {
  if (&dialog != dialog_ || !dialog.open() || dialog.endRequested()) return;
  next(dialogs, dialog);
}

void DialogScript::next(hostsim::Dialogs& dialogs, hostsim::adm::Dialog& dialog) {
  if (done_) return;
  // A dialog the plug-in could not build is its failure, not the user's: the host reports it.
  if (dialog.item(item::kOK) == nullptr) played_ = actions_.size();
  while (played_ < actions_.size()) {
    const DialogAction& action = actions_[played_++];
    std::optional<UserAction> move = decide(dialog, action);
    if (refusal_) {
      press(dialogs, Ending::Cancel);
      return;
    }
    if (move) {
      dialogs.user().add(std::move(*move));
      return;
    }
  }
  press(dialogs, ending_);
}

void DialogScript::press(hostsim::Dialogs& dialogs, Ending button) {
  done_ = true;
  if (button == Ending::Person) return;
  dialogs.user().click(button == Ending::OK ? item::kOK : item::kCancel);
  pressed_ = button;
}

std::optional<UserAction> DialogScript::decide(const hostsim::adm::Dialog& dialog, const DialogAction& action) {
  const std::string name = itemName(action.itemID);
  auto refuse = [&](const std::string& why) -> std::optional<UserAction> {
    refusal_ = action.option + ": refused: " + why;
    return std::nullopt;
  };
  hostsim::adm::Item* it = dialog.item(action.itemID);
  if (it == nullptr) return refuse("the dialog has no " + name);
  auto disabled = [&] { return refuse(name + " is disabled, so a person could not change it"); };

  UserAction move;
  move.itemID = action.itemID;
  switch (action.kind) {
    case DialogAction::Kind::Check:
    case DialogAction::Kind::Radio:
      if (it->value() == action.on) return std::nullopt;
      if (!it->enabled()) return disabled();
      move.kind = UserAction::Kind::Click;
      return move;

    case DialogAction::Kind::Font:
    case DialogAction::Kind::Format: {
      hostsim::adm::List* list = it->list();
      if (list == nullptr) return refuse(name + " has no list");
      hostsim::adm::Entry* wanted = nullptr;
      if (action.kind == DialogAction::Kind::Font) {
        for (const auto& entry : list->entries())
          if (wanted == nullptr && entry->label() == action.text) wanted = entry.get();
        if (wanted == nullptr)
          return refuse(name + " holds no font «" + action.text + "» (`estampilleur fonts` lists them)");
      } else {
        wanted = list->at(action.format);
        if (wanted == nullptr) return refuse(name + " has no entry " + std::to_string(action.format));
      }
      if (list->active() == wanted) return std::nullopt;
      if (!it->enabled()) return disabled();
      move.kind = UserAction::Kind::Choose;
      move.position = list->indexOf(*wanted);
      return move;
    }

    case DialogAction::Kind::Points: {
      auto wanted = static_cast<float>(action.points);
      if (it->floatValue() == wanted) return std::nullopt;
      if (!it->enabled()) return disabled();
      if (auto minimum = it->minimum(); minimum && wanted < *minimum) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(*minimum));
        return refuse(name + " is at least " + text + " points");
      }
      move.kind = UserAction::Kind::SetValue;
      move.value = action.points;
      return move;
    }

    case DialogAction::Kind::Text: {
      std::string typed = hostsim::utf8ToMacRoman(action.text);
      if (hostsim::macRomanToUtf8(typed) != action.text)
        return refuse("«" + action.text + "» has characters " + name + " cannot hold (Mac Roman only)");
      if (auto longest = it->maxTextLength(); longest && typed.size() > static_cast<size_t>(*longest))
        return refuse(name + " holds at most " + std::to_string(*longest) + " characters");
      if (it->text() == typed) return std::nullopt;
      if (!it->enabled()) return disabled();
      move.kind = UserAction::Kind::Type;
      move.text = action.text;
      return move;
    }
  }
  return std::nullopt;
}

ScriptInstalled::ScriptInstalled(DialogScript& script, hostsim::Dialogs& dialogs) : dialogs_(dialogs) {
  dialogs_.user().clear();
  dialogs_.onOpen([&script, &dialogs](hostsim::adm::Dialog& dialog) { script.opened(dialogs, dialog); });
  dialogs_.onAction([&script, &dialogs](hostsim::adm::Dialog& dialog, const hostsim::adm::UserAction&) {
    script.acted(dialogs, dialog);
  });
}

ScriptInstalled::~ScriptInstalled() {
  dialogs_.onOpen({});
  dialogs_.onAction({});
  dialogs_.user().clear();
}

}  // namespace estampilleur
