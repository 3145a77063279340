// The host's menus: its own groups ("Tool Palettes", "About", ...), the items plug-ins add,
// and the submenu groups made from them.
//
// Names, keys and texts are kept as the plug-in gave them, Mac Roman bytes. Groups and
// items live until the host ends, so every handle given out stays valid that long, and a
// handle the host never gave is recognised rather than followed.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/ASTypes.h"

namespace hostsim {

class Host;

constexpr ASErr kMenuGroupNotFoundErr = fourcc("MGp?");
constexpr ASErr kMenuGroupExistsErr = fourcc("MGp!");
// The item already opens a submenu.
constexpr ASErr kMenuItemHasSubmenuErr = fourcc("MIt!");

struct MenuItem;

struct MenuGroup {
  std::string name;
  int32_t options = 0;
  SPPluginRef owner = nullptr;  // null for the host's own groups
  MenuItem* parent = nullptr;   // the item that opens it, for a submenu group
  std::vector<MenuItem*> items;

  AIMenuGroup handle() const { return reinterpret_cast<AIMenuGroup>(const_cast<MenuGroup*>(this)); }
};

struct MenuItem {
  std::optional<std::string> key;
  std::string text;
  int32_t options = 0;
  SPPluginRef owner = nullptr;
  MenuGroup* group = nullptr;    // the group it stands in
  MenuGroup* submenu = nullptr;  // the group it opens, if any

  AIMenuItemHandle handle() const { return reinterpret_cast<AIMenuItemHandle>(const_cast<MenuItem*>(this)); }
};

class Menus {
 public:
  // The host's own groups, in the order the host lists them.
  static const std::vector<std::string>& hostGroups();

  Menus();
  ~Menus();
  Menus(const Menus&) = delete;
  Menus& operator=(const Menus&) = delete;

  // A new item at the end of the group `groupName`; kMenuGroupNotFoundErr when there is no
  // such group.
  ASErr addItem(SPPluginRef owner, std::string_view groupName, std::optional<std::string> key, std::string text,
                int32_t options, MenuItem** item);
  // Makes `item` open a new group `name`, which joins the list of groups. A name already
  // used by any group, or an item that already opens one, is refused.
  ASErr addSubmenuGroup(std::string name, int32_t options, MenuItem* item, MenuGroup** group);

  // Every group, the host's first and then the plug-ins' in the order they were made.
  size_t groupCount() const { return groups_.size(); }
  MenuGroup* group(size_t n);  // null when out of range
  MenuGroup* findGroup(std::string_view name);
  size_t itemCount() const { return items_.size(); }

  // The object behind a handle, or null when this host never gave that handle.
  MenuItem* item(AIMenuItemHandle handle) const;
  MenuGroup* group(AIMenuGroup handle) const;

  // The first item of the group whose text is `text` (both Mac Roman), or null.
  MenuItem* findItem(std::string_view groupName, std::string_view text);

  // The menus as the user would see them: each top-level group, and under each item the
  // submenu it opens, two spaces further in. Texts in UTF-8.
  std::string tree() const;

 private:
  MenuGroup& newGroup(std::string name, int32_t options, SPPluginRef owner, MenuItem* parent);

  std::deque<MenuGroup> groups_;  // a deque: adding never moves the others
  std::deque<MenuItem> items_;
  std::set<const MenuGroup*> knownGroups_;  // to recognise handles without following them
  std::set<const MenuItem*> knownItems_;
};

// The menus of `host`, made with the host's own groups on first use.
Menus& menus(Host& host);

}  // namespace hostsim
