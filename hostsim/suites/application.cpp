// Application suites: notifiers, the application context and the menus.
//
// Notifiers, menu groups and items belong to the host and stay for the host's life; an
// application context is lent to the plug-in and must be popped, innermost first. On any
// failure, out-parameters read as null or 0, so a planned fault has one outcome.
#include "hostsim/suites/application_suites.h"

#include <algorithm>
#include <optional>
#include <string>

#include "hostsim/adm/menus.h"
#include "hostsim/core/host.h"
#include "hostsim/model/mac_roman.h"
#include "hostsim/suites/doc_support.h"

namespace hostsim {

namespace {

// --- AI Notifier -------------------------------------------------------------------------

ASErr addNotifier(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier) {
  if (notifier != nullptr) *notifier = nullptr;
  HOSTSIM_ENTER("AI Notifier Suite.AddNotifier");
  Host& host = Host::current();
  if (notifier == nullptr || !host.isPlugin(self) || name == nullptr || type == nullptr) return kBadParameterErr;
  auto handle = reinterpret_cast<AINotifierHandle>(host.newToken());
  host.notifiers().push_back({self, name, type, handle});
  *notifier = handle;
  return kNoErr;
}

const AINotifierSuite kNotifier = {addNotifier};

// --- AI Context --------------------------------------------------------------------------

constexpr const char* kContextKind = "application context";

ASErr pushAppContext(SPPluginRef plugin, AIAppContextHandle* context) {
  if (context != nullptr) *context = nullptr;
  HOSTSIM_ENTER("AI Context Suite.PushAppContext");
  Host& host = Host::current();
  if (context == nullptr || !host.isPlugin(plugin)) return kBadParameterErr;
  auto handle = reinterpret_cast<AIAppContextHandle>(host.newToken());
  host.contexts().push_back(handle);
  host.accounting().objectCreated(kContextKind);
  *context = handle;
  return kNoErr;
}

ASErr popAppContext(AIAppContextHandle context) {
  Host& host = Host::current();
  // The context is given back even when a fault is planned: only the answer changes.
  auto fault = host.enter("AI Context Suite.PopAppContext");
  auto& contexts = host.contexts();
  auto it = std::find(contexts.begin(), contexts.end(), context);
  if (it == contexts.end()) {
    host.accounting().misuse("popped an application context the host never pushed (or popped it twice)");
    return kBadParameterErr;
  }
  if (it + 1 != contexts.end())
    host.accounting().misuse("popped an application context while a context pushed after it was still open");
  contexts.erase(it);
  host.accounting().objectDestroyed(kContextKind);
  return fault.value_or(kNoErr);
}

const AIAppContextSuite kContext = {pushAppContext, popAppContext};

// --- AI Menu -----------------------------------------------------------------------------

ASErr addMenuItem(SPPluginRef self, const char* key, AIPlatformAddMenuItemDataUS* data, int32_t options,
                  AIMenuItemHandle* menuItem) {
  if (menuItem != nullptr) *menuItem = nullptr;
  HOSTSIM_ENTER("AI Menu Suite.AddMenuItem");
  Host& host = Host::current();
  if (menuItem == nullptr || !host.isPlugin(self) || data == nullptr || data->groupName == nullptr || data->itemText == nullptr)
    return kBadParameterErr;
  std::optional<std::string> text = unicodeStringUtf8(host, data->itemText, "AI Menu Suite.AddMenuItem");
  if (!text) return kBadParameterErr;
  std::optional<std::string> itemKey;
  if (key != nullptr) itemKey = key;
  MenuItem* item = nullptr;
  ASErr error = menus(host).addItem(self, data->groupName, std::move(itemKey), utf8ToMacRoman(*text), options, &item);
  if (error == kNoErr) *menuItem = item->handle();
  return error;
}

ASErr addMenuGroupAsSubMenu(const char* name, int32_t options, AIMenuItemHandle menuItem, AIMenuGroup* group) {
  if (group != nullptr) *group = nullptr;
  HOSTSIM_ENTER("AI Menu Suite.AddMenuGroupAsSubMenu");
  Host& host = Host::current();
  if (name == nullptr) return kBadParameterErr;
  MenuItem* item = menus(host).item(menuItem);
  if (item == nullptr) {
    host.accounting().misuse("made a submenu of a menu item the host never gave");
    return kBadParameterErr;
  }
  MenuGroup* added = nullptr;
  ASErr error = menus(host).addSubmenuGroup(name, options, item, &added);
  if (error == kNoErr && group != nullptr) *group = added->handle();
  return error;
}

ASErr countMenuGroups(int32_t* count) {
  if (count != nullptr) *count = 0;
  HOSTSIM_ENTER("AI Menu Suite.CountMenuGroups");
  if (count == nullptr) return kBadParameterErr;
  *count = static_cast<int32_t>(menus(Host::current()).groupCount());
  return kNoErr;
}

ASErr getNthMenuGroup(int32_t n, AIMenuGroup* group) {
  if (group != nullptr) *group = nullptr;
  HOSTSIM_ENTER("AI Menu Suite.GetNthMenuGroup");
  if (group == nullptr || n < 0) return kBadParameterErr;
  MenuGroup* found = menus(Host::current()).group(static_cast<size_t>(n));
  if (found == nullptr) return kBadParameterErr;
  *group = found->handle();
  return kNoErr;
}

ASErr getMenuGroupName(AIMenuGroup group, const char** name) {
  if (name != nullptr) *name = nullptr;
  HOSTSIM_ENTER("AI Menu Suite.GetMenuGroupName");
  Host& host = Host::current();
  if (name == nullptr) return kBadParameterErr;
  MenuGroup* found = menus(host).group(group);
  if (found == nullptr) {
    host.accounting().misuse("asked the name of a menu group the host never gave");
    return kBadParameterErr;
  }
  *name = found->name.c_str();
  return kNoErr;
}

const AIMenuSuite kMenu = {addMenuItem, addMenuGroupAsSubMenu, countMenuGroups, getNthMenuGroup, getMenuGroupName};

}  // namespace

void offerApplicationSuites(Host& host) {
  host.offerSuite(kAINotifierSuite, kAINotifierSuiteVersion, &kNotifier);
  host.offerSuite(kAIAppContextSuite, kAIAppContextSuiteVersion, &kContext);
  host.offerSuite(kAIMenuSuite, kAIMenuSuiteVersion, &kMenu);
}

}  // namespace hostsim
