// Adds a plug-in's About item under the host's "About" group, in a submenu shared by the
// plug-ins of one family.
#pragma once

#include "host/IAIUnicodeString.h"
#include "hostapi/HostAPI.h"

class SDKAboutPluginsHelper {
 public:
  SDKAboutPluginsHelper() = default;
  virtual ~SDKAboutPluginsHelper() = default;
  SDKAboutPluginsHelper(const SDKAboutPluginsHelper&) = delete;
  SDKAboutPluginsHelper& operator=(const SDKAboutPluginsHelper&) = delete;

  // Creates the submenu groupName (entry text groupText) under "About" unless it exists,
  // then adds itemText to it; the new item's handle goes to *item on success.
  ASErr AddAboutPluginsMenuItem(SPInterfaceMessage* message, const char* groupName,
                                const ai::UnicodeString& groupText, const char* itemText, AIMenuItemHandle* item);
  // Whether the host has a menu group of that name, searched from the first group.
  ASErr GroupExists(const char* name, bool& exists);

 private:
  // Held only while AddAboutPluginsMenuItem runs.
  AIMenuSuite* fMenuSuite = nullptr;
};
