#include "shell/DatePlugIn.h"

#include <cstdio>
#include <new>

#include "engine/Reglages.h"
#include "host/IAIUnicodeString.h"
#include "shell/DateSuites.h"

namespace {

// The lists of stamped frames outlive each stamping so that the next one can remove its
// frames. At shutdown their nodes go back to the host's heap; the frames stay in their
// documents.
void RendListesTextes() {
  for (MaillonAHTexte** tete :
       {&PtrPremierAHTexteNumero, &PtrPremierAHTexteNom, &PtrPremierAHTexteTaille, &PtrPremierAHTexteDate}) {
    while (*tete != nullptr) {
      MaillonAHTexte* suivant = (*tete)->Suivant;
      if (sSPBasic != nullptr) sSPBasic->FreeBlock(*tete);
      *tete = suivant;
    }
  }
}

}  // namespace

DatePlugIn::DatePlugIn(SPPluginRef pluginRef)
    : Plugin(pluginRef), fEstampilleurMenu(nullptr), fAboutPluginMenu(nullptr) {
  std::snprintf(fPluginName, sizeof fPluginName, "%s", "Estampilleur");
}

DatePlugIn::~DatePlugIn() = default;

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new DatePlugIn(pluginRef); }

void FixupReload(Plugin* plugin) { DatePlugIn::FixupVTable(static_cast<DatePlugIn*>(plugin)); }

void DatePlugIn::FixupVTable(DatePlugIn* plugin) { ::new (static_cast<void*>(plugin)) DatePlugIn(ReloadTag::kReload); }

ASErr DatePlugIn::StartupPlugin(SPInterfaceMessage* message) {
  ASErr error = Plugin::StartupPlugin(message);
  if (error == kNoErr) error = AddMenus(message);
  return error;
}

ASErr DatePlugIn::ShutdownPlugin(SPInterfaceMessage* message) {
  message->d.globals = nullptr;
  RendListesTextes();
  return Plugin::ShutdownPlugin(message);
}

ASErr DatePlugIn::Message(const char* caller, const char* selector, void* message) {
  ASErr error;
  try {
    error = Plugin::Message(caller, selector, message);
  } catch (const ai::Error& e) {
    error = static_cast<ASErr>(e);
  } catch (...) {
    error = kCantHappenErr;
  }
  if (error != kNoErr && error != kUnhandledMsgErr) ReportError(error, caller, selector, message);
  return error;
}

ASErr DatePlugIn::Notify(AINotifierMessage*) { return kNoErr; }
