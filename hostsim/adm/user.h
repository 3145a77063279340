// The scripted user: the actions a person would take in the host's modal dialogs, queued
// in advance. The innermost open dialog takes them one by one; each changes the widget,
// notifies the item, then lets the host redraw what was invalidated.
//
// Texts are written as people write them, in UTF-8; the host hands them to the plug-in in
// Mac Roman.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim::adm {

struct UserAction {
  enum class Kind {
    Click,       // a button, box, label or field
    SetValue,    // a spin edit's value, as if typed
    Step,        // a spin edit's arrows: `position` steps (negative: down), `value` != 0 for large steps
    Choose,      // a popup entry by position
    ChooseText,  // a popup entry by its text
    Type,        // a text field's new contents, replacing the old
  };
  Kind kind = Kind::Click;
  int32_t itemID = 0;
  double value = 0;
  int32_t position = 0;
  std::string text;  // UTF-8

  // "click item 21", "set item 6 to 14", "choose «Mar 10 avr 2012» in item 12", ...
  std::string describe() const;
};

class ScriptedUser {
 public:
  ScriptedUser& click(int32_t itemID);
  ScriptedUser& setValue(int32_t itemID, double value);
  // Arrow clicks on a spin edit: steps > 0 up, < 0 down, by its small (or large) increment.
  ScriptedUser& step(int32_t itemID, int32_t steps, bool large = false);
  ScriptedUser& choose(int32_t itemID, int32_t position);
  ScriptedUser& choose(int32_t itemID, std::string_view text);
  ScriptedUser& type(int32_t itemID, std::string_view text);
  ScriptedUser& ok();      // click item 1
  ScriptedUser& cancel();  // click item 2
  ScriptedUser& add(UserAction action);

  bool empty() const { return actions_.empty(); }
  size_t pending() const { return actions_.size(); }
  const std::deque<UserAction>& actions() const { return actions_; }
  void clear() { actions_.clear(); }
  // The next action, taken off the queue.
  std::optional<UserAction> next();

 private:
  std::deque<UserAction> actions_;
};

}  // namespace hostsim::adm
