// Application services: notifiers, the application context, menus and preferences.
//
// Called on the host's main thread. Menu items, groups and notifiers belong to the host;
// the plug-in keeps their handles only to recognise them in later messages.
#pragma once

#include "ASTypes.h"

constexpr const char* kAINotifierSuite = "AI Notifier Suite";
constexpr int32_t kAINotifierSuiteVersion = 1002;

struct AINotifierSuite {
  // Registers notifier `name` of `type` for the plug-in; the host sends "AI Notifier"
  // messages of that type from then on. The handle goes to *notifier.
  ASErr (*AddNotifier)(SPPluginRef self, const char* name, const char* type, AINotifierHandle* notifier);
};

constexpr const char* kAIAppContextSuite = "AI Context Suite";
constexpr int32_t kAIAppContextSuiteVersion = 1005;

struct AIAppContextSuite {
  // Makes the host ready for calls on behalf of `plugin`; pops with the handle received.
  ASErr (*PushAppContext)(SPPluginRef plugin, AIAppContextHandle* context);
  ASErr (*PopAppContext)(AIAppContextHandle context);
};

constexpr const char* kAIMenuSuite = "AI Menu Suite";
constexpr int32_t kAIMenuSuiteVersion = 1009;

// The host's menu groups that plug-ins extend.
constexpr const char* kToolPalettesMenuGroup = "Tool Palettes";
constexpr const char* kAboutMenuGroup = "About";

// A new menu item: the group it goes in and its text (the host copies both).
struct AIPlatformAddMenuItemDataUS {
  const char* groupName;
  AIUnicodeStringHandle itemText;
};

struct AIMenuSuite {
  // Adds an item for the plug-in. `key` (may be null) identifies it across sessions;
  // `options` are the host's item options. The item's handle goes to *menuItem.
  ASErr (*AddMenuItem)(SPPluginRef self, const char* key, AIPlatformAddMenuItemDataUS* data, int32_t options,
                       AIMenuItemHandle* menuItem);
  // Turns an item into a submenu holding the new group `name`; an existing name is an error.
  ASErr (*AddMenuGroupAsSubMenu)(const char* name, int32_t options, AIMenuItemHandle menuItem, AIMenuGroup* group);
  ASErr (*CountMenuGroups)(int32_t* count);
  // Group n, counted from 0.
  ASErr (*GetNthMenuGroup)(int32_t n, AIMenuGroup* group);
  // The group's name; the host keeps the string.
  ASErr (*GetMenuGroupName)(AIMenuGroup group, const char** name);
};

constexpr const char* kAIPreferenceSuite = "AI Preference Suite";
constexpr int32_t kAIPreferenceSuiteVersion = 1004;

// Preferences are addressed by a prefix (section) and a suffix (key). A read of a key the
// store does not hold, or holds with another kind, leaves the destination unchanged.
struct AIPreferenceSuite {
  ASErr (*GetBooleanPreference)(const char* prefix, const char* suffix, AIBoolean* value);
  ASErr (*PutBooleanPreference)(const char* prefix, const char* suffix, AIBoolean value);
  ASErr (*GetIntegerPreference)(const char* prefix, const char* suffix, int32_t* value);
  ASErr (*PutIntegerPreference)(const char* prefix, const char* suffix, int32_t value);
  ASErr (*GetRealPreference)(const char* prefix, const char* suffix, double* value);
  ASErr (*PutRealPreference)(const char* prefix, const char* suffix, double value);
  // Copies at most capacity - 1 bytes of the stored string and a terminator into value.
  ASErr (*GetStringPreference)(const char* prefix, const char* suffix, char* value, size_t capacity);
  ASErr (*PutStringPreference)(const char* prefix, const char* suffix, const char* value);
};
