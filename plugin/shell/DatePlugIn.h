// Estampilleur's plug-in object: Plugin with the two menu items and the menu command.
#pragma once

#include "shell/Plugin.h"

class DatePlugIn : public Plugin {
 public:
  explicit DatePlugIn(SPPluginRef pluginRef);
  ~DatePlugIn() override;

  ASErr StartupPlugin(SPInterfaceMessage* message) override;
  ASErr ShutdownPlugin(SPInterfaceMessage* message) override;
  // Plugin's routing, with every exception turned back into an error code.
  ASErr Message(const char* caller, const char* selector, void* message) override;
  ASErr Notify(AINotifierMessage* message) override;
  ASErr GoMenuItem(AIMenuMessage* message) override;

  // Installs the settings command and the About item; places the settings dialog.
  ASErr AddMenus(SPInterfaceMessage* message);

  // Re-establishes the object's dispatch for freshly loaded code, its data untouched.
  static void FixupVTable(DatePlugIn* plugin);

  AIMenuItemHandle SettingsMenuItem() const { return fEstampilleurMenu; }
  AIMenuItemHandle AboutMenuItem() const { return fAboutPluginMenu; }

 private:
  explicit DatePlugIn(ReloadTag tag) : Plugin(tag) {}

  AIMenuItemHandle fEstampilleurMenu;  // the settings command
  AIMenuItemHandle fAboutPluginMenu;   // the About item
};

// A new DatePlugIn, or null when the host has no memory for it.
Plugin* AllocatePlugin(SPPluginRef pluginRef);
// Re-establishes dispatch on the object kept across an unload of the code.
void FixupReload(Plugin* plugin);
