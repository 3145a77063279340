#include "hostsim/adm/menus.h"

#include <utility>

#include "hostsim/core/host.h"
#include "hostsim/model/mac_roman.h"

namespace hostsim {

const std::vector<std::string>& Menus::hostGroups() {
  static const std::vector<std::string> groups = {"File",   "Edit",   "Object",        "Type",
                                                  "Select", "Effect", "View",          "Window",
                                                  "Tool Palettes",    "Help", "About"};
  return groups;
}

Menus::Menus() {
  for (const auto& name : hostGroups()) newGroup(name, 0, nullptr, nullptr);
}

Menus::~Menus() = default;

MenuGroup& Menus::newGroup(std::string name, int32_t options, SPPluginRef owner, MenuItem* parent) {
  MenuGroup& group = groups_.emplace_back();
  group.name = std::move(name);
  group.options = options;
  group.owner = owner;
  group.parent = parent;
  knownGroups_.insert(&group);
  return group;
}

ASErr Menus::addItem(SPPluginRef owner, std::string_view groupName, std::optional<std::string> key, std::string text,
                     int32_t options, MenuItem** item) {
  if (item != nullptr) *item = nullptr;
  MenuGroup* group = findGroup(groupName);
  if (group == nullptr) return kMenuGroupNotFoundErr;
  MenuItem& added = items_.emplace_back();
  added.key = std::move(key);
  added.text = std::move(text);
  added.options = options;
  added.owner = owner;
  added.group = group;
  group->items.push_back(&added);
  knownItems_.insert(&added);
  if (item != nullptr) *item = &added;
  return kNoErr;
}

ASErr Menus::addSubmenuGroup(std::string name, int32_t options, MenuItem* item, MenuGroup** group) {
  if (group != nullptr) *group = nullptr;
  if (item == nullptr || knownItems_.count(item) == 0) return kBadParameterErr;
  if (findGroup(name) != nullptr) return kMenuGroupExistsErr;
  if (item->submenu != nullptr) return kMenuItemHasSubmenuErr;
  MenuGroup& added = newGroup(std::move(name), options, item->owner, item);
  item->submenu = &added;
  if (group != nullptr) *group = &added;
  return kNoErr;
}

MenuGroup* Menus::group(size_t n) { return n < groups_.size() ? &groups_[n] : nullptr; }

MenuGroup* Menus::findGroup(std::string_view name) {
  for (auto& group : groups_)
    if (group.name == name) return &group;
  return nullptr;
}

MenuItem* Menus::item(AIMenuItemHandle handle) const {
  auto* item = reinterpret_cast<MenuItem*>(handle);
  return knownItems_.count(item) != 0 ? item : nullptr;
}

MenuGroup* Menus::group(AIMenuGroup handle) const {
  auto* group = reinterpret_cast<MenuGroup*>(handle);
  return knownGroups_.count(group) != 0 ? group : nullptr;
}

MenuItem* Menus::findItem(std::string_view groupName, std::string_view text) {
  MenuGroup* group = findGroup(groupName);
  if (group == nullptr) return nullptr;
  for (MenuItem* item : group->items)
    if (item->text == text) return item;
  return nullptr;
}

namespace {

void printGroup(const MenuGroup& group, int depth, std::string& out) {
  for (const MenuItem* item : group.items) {
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += macRomanToUtf8(item->text);
    if (item->key) out += "  [key \"" + macRomanToUtf8(*item->key) + "\"]";
    if (item->options != 0) out += "  [options " + std::to_string(item->options) + "]";
    if (item->submenu != nullptr) {
      if (item->submenu->name != item->text) out += "  > \"" + macRomanToUtf8(item->submenu->name) + "\"";
      out += '\n';
      printGroup(*item->submenu, depth + 1, out);
    } else {
      out += '\n';
    }
  }
}

}  // namespace

std::string Menus::tree() const {
  std::string out;
  for (const auto& group : groups_) {
    if (group.parent != nullptr) continue;
    out += macRomanToUtf8(group.name) + '\n';
    printGroup(group, 1, out);
  }
  return out;
}

Menus& menus(Host& host) { return host.state<Menus>(); }

}  // namespace hostsim
