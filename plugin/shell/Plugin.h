// The plug-in framework: the object the host's messages are routed to. Each host message
// (caller, selector) becomes one call of a virtual operation; a subclass overrides the few
// that do real work.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapi/HostAPI.h"

class Suites;

// Answer to a cache purge when the plug-in has released its caches.
constexpr ASErr kPluginCachesFlushedErr = fourcc("pFls");

// The plug-in's string lists.
constexpr int32_t kErrorStringsID = 16050;
constexpr int32_t kAboutStringsID = 16600;

class Plugin {
 public:
  explicit Plugin(SPPluginRef pluginRef);
  virtual ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // Slot order is part of the framework's interface: do not reorder.
  virtual void ReportError(ASErr error, const char* caller, const char* selector, void* message);
  virtual ASErr LockPlugin(bool lock);
  virtual ASErr StartupPlugin(SPInterfaceMessage* message);
  virtual ASErr PostStartupPlugin();
  virtual ASErr ShutdownPlugin(SPInterfaceMessage* message);
  virtual ASErr UnloadPlugin(SPInterfaceMessage* message);
  virtual ASErr ReloadPlugin(SPInterfaceMessage* message);
  virtual ASErr AcquireProperty(SPPropertiesMessage* message);
  virtual ASErr ReleaseProperty(SPPropertiesMessage* message);
  virtual void GetPluginName(char* buffer, unsigned length);
  virtual ASErr About(SPInterfaceMessage* message);
  virtual ASBoolean Purge();
  virtual ASErr Message(const char* caller, const char* selector, void* message);
  virtual ASErr SetGlobal(Plugin* plugin);
  virtual ASErr AllocateSuiteTables();
  virtual ASErr FillSuiteTables();
  virtual ASErr EmptySuiteTables();
  virtual ASErr AcquireOptionalSuites();
  virtual ASErr Notify(AINotifierMessage* message);
  virtual ASErr GoAction(DoActionMessage* message);
  virtual ASErr GoMenuItem(AIMenuMessage* message);
  virtual ASErr UpdateMenuItem(AIMenuMessage* message);
  virtual ASErr GetFilterParameters(AIFilterMessage* message);
  virtual ASErr GoFilter(AIFilterMessage* message);
  virtual ASErr PluginGroupNotify(AIPluginGroupMessage* message);
  virtual ASErr PluginGroupUpdate(AIPluginGroupMessage* message);
  virtual ASErr GetFileFormatParameters(AIFileFormatMessage* message);
  virtual ASErr GoFileFormat(AIFileFormatMessage* message);
  virtual ASErr CheckFileFormat(AIFileFormatMessage* message);
  virtual ASErr FileFormatUpdate(AIUpdateFileFormatMessage* message);
  virtual ASErr SetFileFormatParameters(DoActionMessage* message);
  virtual ASErr EditTool(AIToolMessage* message);
  virtual ASErr TrackToolCursor(AIToolMessage* message);
  virtual ASErr ToolMouseDown(AIToolMessage* message);
  virtual ASErr ToolMouseDrag(AIToolMessage* message);
  virtual ASErr ToolMouseUp(AIToolMessage* message);
  virtual ASErr SelectTool(AIToolMessage* message);
  virtual ASErr DeselectTool(AIToolMessage* message);
  virtual ASErr ReselectTool(AIToolMessage* message);
  virtual ASErr DecreaseDiameter(AIToolMessage* message);
  virtual ASErr IncreaseDiameter(AIToolMessage* message);
  virtual ASErr EditLiveEffectParameters(AILiveEffectEditParamMessage* message);
  virtual ASErr GoLiveEffect(AILiveEffectGoMessage* message);
  virtual ASErr LiveEffectInterpolate(AILiveEffectInterpParamMessage* message);
  virtual ASErr LiveEffectGetInputType(AILiveEffectInputTypeMessage* message);
  virtual ASErr LiveEffectConvertColorSpace(AILiveEffectConvertColorMessage* message);
  virtual ASErr LiveEffectScaleParameters(AILiveEffectScaleParamMessage* message);
  virtual ASErr LiveEffectAdjustColors(AILiveEffectAdjustColorsMessage* message);
  virtual ASErr LiveEffectHandleMerge(AILiveEffectHandleMergeMessage* message);
  virtual ASErr GoTimer(AITimerMessage* message);
  virtual ASErr GoClipboard(AIClipboardMessage* message);
  virtual ASErr CanCopyClipboard(AIClipboardMessage* message);
  virtual ASErr CloneClipboard(AIClipboardMessage* message);
  virtual ASErr DisposeClipboard(AIClipboardMessage* message);
  virtual ASErr WorkspaceWrite(AIWorkspaceMessage* message);
  virtual ASErr WorkspaceRestore(AIWorkspaceMessage* message);
  virtual ASErr WorkspaceDefault(AIWorkspaceMessage* message);

  bool SuitesAcquired() const { return fSuites != nullptr; }

  static bool IsReloadMsg(const char* caller, const char* selector);
  // Reports a start-up failure when there is no plug-in object: the message of list 16050
  // for the code, in an error alert. Filtered codes show nothing.
  static void DefaultError(SPPluginRef pluginRef, ASErr error);
  // The message of list 16050 for error into buffer (size bytes), or null.
  static char* FindMsg(SPPluginRef pluginRef, ASErr error, char* buffer, int32_t size);
  // True for the codes that are never shown to the user.
  static bool FilterError(ASErr error);

  // The object's memory comes from the host; a failed allocation yields null.
  static void* operator new(size_t size) noexcept;
  static void operator delete(void* block) noexcept;

 protected:
  // Used only to re-establish dispatch on an existing object after the code was reloaded:
  // initialises nothing but the virtual table, every data member keeps its bytes.
  enum class ReloadTag { kReload };
  explicit Plugin(ReloadTag) {}

  // No default member initialisers: the reload constructor must leave every byte alone.
  SPPluginRef fPluginRef;
  char fPluginName[256];
  Suites* fSuites;
  int32_t fLockCount;
  SPAccessRef fPluginAccess;
  AINotifierHandle fApplicationStartedNotifier;
};
