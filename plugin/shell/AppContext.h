// Makes the host ready for calls on behalf of the plug-in for the scope of one message.
#pragma once

#include "hostapi/HostAPI.h"

class AppContext {
 public:
  explicit AppContext(SPPluginRef pluginRef);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

 private:
  AIAppContextHandle fAppContext;
  bool fPushed;  // a context the host refused to push is not popped
};
