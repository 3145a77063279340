#include "shell/AppContext.h"

#include "shell/DateSuites.h"

AppContext::AppContext(SPPluginRef pluginRef) : fAppContext(nullptr) {
  if (sAIAppContext != nullptr) sAIAppContext->PushAppContext(pluginRef, &fAppContext);
}

AppContext::~AppContext() {
  if (sAIAppContext != nullptr) sAIAppContext->PopAppContext(fAppContext);
}
