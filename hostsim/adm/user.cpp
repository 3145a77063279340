#include "hostsim/adm/user.h"

#include <cstdio>
#include <utility>

namespace hostsim::adm {

namespace {

std::string number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

}  // namespace

std::string UserAction::describe() const {
  std::string item = "item " + std::to_string(itemID);
  switch (kind) {
    case Kind::Click:
      return "click " + item;
    case Kind::SetValue:
      return "set " + item + " to " + number(value);
    case Kind::Step: {
      int32_t times = position >= 0 ? position : -position;
      return std::string("click the ") + (position >= 0 ? "up" : "down") + " arrow of " + item +
             (times == 1 ? "" : " " + std::to_string(times) + " times") + (value != 0 ? " with large steps" : "");
    }
    case Kind::Choose:
      return "choose entry " + std::to_string(position) + " in " + item;
    case Kind::ChooseText:
      return "choose «" + text + "» in " + item;
    case Kind::Type:
      return "type «" + text + "» into " + item;
  }
  return item;
}

ScriptedUser& ScriptedUser::click(int32_t itemID) { return add({UserAction::Kind::Click, itemID, 0, 0, {}}); }

ScriptedUser& ScriptedUser::setValue(int32_t itemID, double value) {
  return add({UserAction::Kind::SetValue, itemID, value, 0, {}});
}

ScriptedUser& ScriptedUser::step(int32_t itemID, int32_t steps, bool large) {
  return add({UserAction::Kind::Step, itemID, large ? 1.0 : 0.0, steps, {}});
}

ScriptedUser& ScriptedUser::choose(int32_t itemID, int32_t position) {
  return add({UserAction::Kind::Choose, itemID, 0, position, {}});
}

ScriptedUser& ScriptedUser::choose(int32_t itemID, std::string_view text) {
  return add({UserAction::Kind::ChooseText, itemID, 0, 0, std::string(text)});
}

ScriptedUser& ScriptedUser::type(int32_t itemID, std::string_view text) {
  return add({UserAction::Kind::Type, itemID, 0, 0, std::string(text)});
}

ScriptedUser& ScriptedUser::ok() { return click(1); }

ScriptedUser& ScriptedUser::cancel() { return click(2); }

ScriptedUser& ScriptedUser::add(UserAction action) {
  actions_.push_back(std::move(action));
  return *this;
}

std::optional<UserAction> ScriptedUser::next() {
  if (actions_.empty()) return std::nullopt;
  UserAction action = std::move(actions_.front());
  actions_.pop_front();
  return action;
}

}  // namespace hostsim::adm
