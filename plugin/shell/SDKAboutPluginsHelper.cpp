#include "shell/SDKAboutPluginsHelper.h"

#include <cstring>

ASErr SDKAboutPluginsHelper::AddAboutPluginsMenuItem(SPInterfaceMessage* message, const char* groupName,
                                                     const ai::UnicodeString& groupText, const char* itemText,
                                                     AIMenuItemHandle* item) {
  SPBasicSuite* basic = message->d.basic;
  ASErr error = kNoErr;
  if (fMenuSuite == nullptr)
    error = basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion, static_cast<const void**>(static_cast<void*>(&fMenuSuite)));

  try {
    if (error == kNoErr) {
      bool exists = false;
      error = GroupExists(groupName, exists);
      if (error == kNoErr && !exists) {
        AIPlatformAddMenuItemDataUS data{kAboutMenuGroup, groupText.GetHandle()};
        AIMenuItemHandle groupItem = nullptr;
        error = fMenuSuite->AddMenuItem(message->d.self, nullptr, &data, 0, &groupItem);
        if (error == kNoErr) {
          AIMenuGroup group = nullptr;
          error = fMenuSuite->AddMenuGroupAsSubMenu(groupName, 1, groupItem, &group);
        }
      }
    }
    if (error == kNoErr) {
      ai::UnicodeString text(itemText, kAIPlatformCharacterEncoding);
      AIPlatformAddMenuItemDataUS data{groupName, text.GetHandle()};
      AIMenuItemHandle newItem = nullptr;
      error = fMenuSuite->AddMenuItem(message->d.self, nullptr, &data, 0, &newItem);
      if (error == kNoErr) *item = newItem;
    }
  } catch (const ai::Error& e) {
    // The suite is given back below whatever happened.
    error = static_cast<ASErr>(e);
  }

  if (fMenuSuite != nullptr) {
    basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    fMenuSuite = nullptr;
  }
  return error;
}

ASErr SDKAboutPluginsHelper::GroupExists(const char* name, bool& exists) {
  exists = false;
  if (fMenuSuite == nullptr) return kCantHappenErr;
  int32_t count = 0;
  ASErr error = fMenuSuite->CountMenuGroups(&count);
  for (int32_t i = 0; error == kNoErr && i < count; ++i) {
    AIMenuGroup group = nullptr;
    error = fMenuSuite->GetNthMenuGroup(i, &group);
    if (error != kNoErr) break;
    const char* groupName = nullptr;
    error = fMenuSuite->GetMenuGroupName(group, &groupName);
    if (error == kNoErr && groupName != nullptr && std::strcmp(groupName, name) == 0) {
      exists = true;
      break;
    }
  }
  return error;
}
