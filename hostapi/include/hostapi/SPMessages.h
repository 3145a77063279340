// The records the host passes with every call of PluginMain. All begin with the same
// header; a plug-in reads only the fields it needs and writes only the globals slot.
#pragma once

#include "ASTypes.h"
#include "SPSuites.h"

constexpr int32_t kSPValidSPMessageData = fourcc("SPCk");

struct SPMessageData {
  int32_t SPCheck;        // kSPValidSPMessageData
  SPPluginRef self;       // the host's handle of the plug-in receiving the message
  void* globals;          // kept by the host for the plug-in between calls
  SPBasicSuite* basic;    // the basic suite, valid for the duration of the call
};

// Callers and selectors the host sends.
constexpr const char* kSPInterfaceCaller = "SP Interface";
constexpr const char* kSPInterfaceStartupSelector = "Startup";
constexpr const char* kSPInterfaceShutdownSelector = "Shutdown";
constexpr const char* kSPInterfaceAboutSelector = "About";
constexpr const char* kSPAccessCaller = "SP Access";
constexpr const char* kSPAccessUnloadSelector = "Unload";
constexpr const char* kSPAccessReloadSelector = "Reload";
constexpr const char* kSPCacheCaller = "SP Cache";
constexpr const char* kSPPluginPurgeCachesSelector = "Plug-in Purge";
constexpr const char* kSPPropertiesCaller = "SP Properties";
constexpr const char* kSPPropertiesAcquireSelector = "Acquire";
constexpr const char* kSPPropertiesReleaseSelector = "Release";
constexpr const char* kCallerAINotify = "AI Notifier";
constexpr const char* kSelectorAINotify = "AI Notify";
constexpr const char* kCallerAIMenu = "AI Menu";
constexpr const char* kSelectorAIGoMenuItem = "AI Go";
constexpr const char* kSelectorAIUpdateMenuItem = "AI Update";

constexpr const char* kAIApplicationStartedNotifier = "AI Application Started Notifier";

struct SPInterfaceMessage {
  SPMessageData d;
};

struct SPPropertiesMessage {
  SPMessageData d;
};

struct AINotifierMessage {
  SPMessageData d;
  AINotifierHandle notifier;
  const char* type;       // the notifier type, as "AI Application Started Notifier"
  void* notifyData;
};

struct AIMenuMessage {
  SPMessageData d;
  AIMenuItemHandle menuItem;  // the item the user chose
};

// Messages of the other callers carry nothing this system reads beyond the header.
struct DoActionMessage { SPMessageData d; };
struct AIFilterMessage { SPMessageData d; };
struct AIPluginGroupMessage { SPMessageData d; };
struct AIFileFormatMessage { SPMessageData d; };
struct AIUpdateFileFormatMessage { SPMessageData d; };
struct AIToolMessage { SPMessageData d; };
struct AILiveEffectEditParamMessage { SPMessageData d; };
struct AILiveEffectGoMessage { SPMessageData d; };
struct AILiveEffectInterpParamMessage { SPMessageData d; };
struct AILiveEffectInputTypeMessage { SPMessageData d; };
struct AILiveEffectConvertColorMessage { SPMessageData d; };
struct AILiveEffectScaleParamMessage { SPMessageData d; };
struct AILiveEffectAdjustColorsMessage { SPMessageData d; };
struct AILiveEffectHandleMergeMessage { SPMessageData d; };
struct AITimerMessage { SPMessageData d; };
struct AIClipboardMessage { SPMessageData d; };
struct AIWorkspaceMessage { SPMessageData d; };

// The one entry point a plug-in module exports (C linkage).
using PluginMainProc = ASErr (*)(const char* caller, const char* selector, void* message);
constexpr const char* kPluginMainSymbol = "PluginMain";
