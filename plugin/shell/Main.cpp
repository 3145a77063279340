// The one entry point the host calls: creates the plug-in object at start-up, keeps it in
// the message's globals slot, routes every other message to it and destroys it at shutdown.
#include <cstdio>
#include <cstring>

#include "host/IAIUnicodeString.h"
#include "shell/DatePlugIn.h"
#include "shell/DateSuites.h"

namespace {

bool Same(const char* a, const char* b) { return a != nullptr && std::strcmp(a, b) == 0; }

// Start-up, reload and shutdown run outside Message's handler; no exception may reach the
// host through the C entry point either.
template <class Operation>
ASErr WithoutException(Operation operation) {
  try {
    return operation();
  } catch (const ai::Error& e) {
    return static_cast<ASErr>(e);
  } catch (...) {
    return kCantHappenErr;
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) ASErr PluginMain(const char* caller, const char* selector,
                                                                   void* message) {
  auto* data = static_cast<SPMessageData*>(message);
  auto* interfaceMessage = static_cast<SPInterfaceMessage*>(message);
  sSPBasic = data->basic;
  Plugin* plugin = static_cast<Plugin*>(data->globals);
  ASErr error = kNoErr;

  if (Same(caller, kSPInterfaceCaller)) {
    if (Same(selector, kSPInterfaceStartupSelector)) {
      plugin = AllocatePlugin(data->self);
      if (plugin == nullptr) {
        error = kOutOfMemoryErr;
      } else {
        data->globals = plugin;
        error = WithoutException([&] { return plugin->StartupPlugin(interfaceMessage); });
        if (error != kNoErr) {
          // A step after the suites were acquired failed: give them back before the object
          // goes, so that nothing stays held by a plug-in that never started.
          if (plugin->SuitesAcquired()) WithoutException([&] { return plugin->ShutdownPlugin(interfaceMessage); });
          delete plugin;
          data->globals = nullptr;
          plugin = nullptr;
        }
      }
    } else if (Same(selector, kSPInterfaceShutdownSelector) && plugin != nullptr) {
      error = WithoutException([&] { return plugin->ShutdownPlugin(interfaceMessage); });
      delete plugin;
      data->globals = nullptr;
      plugin = nullptr;
    }
  }

  if (plugin != nullptr) {
    if (Plugin::IsReloadMsg(caller, selector)) {
      FixupReload(plugin);
      error = WithoutException([&] { return plugin->ReloadPlugin(interfaceMessage); });
    } else if (plugin->SuitesAcquired()) {
      error = plugin->Message(caller, selector, message);
    } else {
      error = kNoErr;  // unloaded: nothing is routed until the reload
    }
    if (error == kUnhandledMsgErr) {
      error = kNoErr;
      std::fprintf(stderr, "Warning: Unhandled plugin message: caller \"%s\" selector \"%s\"\n", caller, selector);
    }
  }

  if (error != kNoErr) {
    if (plugin != nullptr) plugin->ReportError(error, caller, selector, message);
    else Plugin::DefaultError(data->self, error);
  }
  return error;
}
