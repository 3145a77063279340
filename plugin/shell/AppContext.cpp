#include "shell/AppContext.h"

#include "shell/DateSuites.h"

AppContext::AppContext(SPPluginRef pluginRef) : fAppContext(nullptr), fPushed(false) {
  if (sAIAppContext != nullptr) fPushed = sAIAppContext->PushAppContext(pluginRef, &fAppContext) == kNoErr;
}

AppContext::~AppContext() {
  if (sAIAppContext != nullptr && fPushed) sAIAppContext->PopAppContext(fAppContext);
}
