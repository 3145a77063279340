#include "shell/Plugin.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "shell/AppContext.h"
#include "shell/DateSuites.h"
#include "shell/Suites.h"

namespace {

// Codes never shown to the user, up to the zero terminator.
constexpr ASErr kFilteredErrors[] = {
    fourcc("FMT?"), fourcc("RFSE"), fourcc("AFTR"), fourcc("VALD"), fourcc("MOOT"), fourcc("TRSH"),
    fourcc("CHEK"), fourcc("CHIT"), fourcc("TLTK"), fourcc("pFls"), fourcc("S!Fd"), fourcc("!Acq"),
    fourcc("dsRP"), fourcc("skpE"), fourcc("DONE"), fourcc("STOP"), 361,            0,
};

// DefaultError takes ADM Basic in this version when the import table's is not held.
constexpr int32_t kDefaultErrorADMBasicVersion = kADMBasicSuiteVersion11;

bool Same(const char* a, const char* b) { return a != nullptr && std::strcmp(a, b) == 0; }

// The code as the user reads it: four characters above 16384, decimal otherwise.
void CodeText(ASErr error, char (&text)[12]) {
  if (error > 16384) {
    const uint32_t code = static_cast<uint32_t>(error);
    text[0] = static_cast<char>(code >> 24);
    text[1] = static_cast<char>(code >> 16);
    text[2] = static_cast<char>(code >> 8);
    text[3] = static_cast<char>(code);
    text[4] = '\0';
  } else {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(error));
  }
}

// The message with its first "%s" replaced by the code text. The message is a resource
// text: no other byte of it may act as a formatting directive.
void InsertCode(const char* message, const char* code, char* out, size_t capacity) {
  size_t n = 0;
  auto append = [&](const char* from, size_t length) {
    for (size_t i = 0; i < length && n + 1 < capacity; ++i) out[n++] = from[i];
  };
  const char* marker = std::strstr(message, "%s");
  if (marker == nullptr) {
    append(message, std::strlen(message));
  } else {
    append(message, static_cast<size_t>(marker - message));
    append(code, std::strlen(code));
    append(marker + 2, std::strlen(marker + 2));
  }
  out[n] = '\0';
}

}  // namespace

Plugin::Plugin(SPPluginRef pluginRef)
    : fPluginRef(pluginRef),
      fPluginName{},
      fSuites(nullptr),
      fLockCount(0),
      fPluginAccess(nullptr),
      fApplicationStartedNotifier(nullptr) {
  std::snprintf(fPluginName, sizeof fPluginName, "%s", "Plugin");
}

Plugin::~Plugin() = default;

void* Plugin::operator new(size_t size) noexcept { return ::operator new(size, std::nothrow); }

void Plugin::operator delete(void* block) noexcept { ::operator delete(block); }

void Plugin::ReportError(ASErr, const char*, const char*, void*) {}

ASErr Plugin::LockPlugin(bool lock) {
  if (lock) {
    if (++fLockCount == 1) sSPAccess->AcquirePlugin(fPluginRef, &fPluginAccess);
  } else {
    if (--fLockCount == 0) {
      sSPAccess->ReleasePlugin(fPluginAccess);
      fPluginAccess = nullptr;
    }
    if (fLockCount < 0) fLockCount = 0;
  }
  return kNoErr;
}

ASErr Plugin::StartupPlugin(SPInterfaceMessage* message) {
  ASErr error = SetGlobal(this);
  if (error == kNoErr) {
    fSuites = new (std::nothrow) Suites;
    if (fSuites == nullptr) {
      error = kOutOfMemoryErr;
    } else {
      error = fSuites->Error();
      Suites::InitializeRefCount();
    }
    if (error != kNoErr) {
      delete fSuites;
      fSuites = nullptr;
    }
  }
  if (error == kNoErr) error = sSPPlugins->SetPluginName(message->d.self, fPluginName);
  if (error == kNoErr) {
    char notifierName[256];
    // The name is cut so that the whole suffix always fits the 256-byte buffer.
    std::snprintf(notifierName, sizeof notifierName, "%.234s App Started Notifier", fPluginName);
    error = sAINotifier->AddNotifier(message->d.self, notifierName, kAIApplicationStartedNotifier,
                                     &fApplicationStartedNotifier);
  }
  if (error == kNoErr) {
    error = AllocateSuiteTables();
    if (error == kNoErr) FillSuiteTables();
  }
  return error;
}

ASErr Plugin::PostStartupPlugin() { return kNoErr; }

ASErr Plugin::ShutdownPlugin(SPInterfaceMessage*) {
  delete fSuites;
  fSuites = nullptr;
  SetGlobal(nullptr);
  return kNoErr;
}

ASErr Plugin::UnloadPlugin(SPInterfaceMessage*) {
  EmptySuiteTables();
  SetGlobal(nullptr);
  delete fSuites;
  fSuites = nullptr;
  return kNoErr;
}

ASErr Plugin::ReloadPlugin(SPInterfaceMessage*) {
  ASErr error = SetGlobal(this);
  if (fSuites == nullptr) {
    fSuites = new (std::nothrow) Suites;
    if (fSuites == nullptr) {
      error = kOutOfMemoryErr;
    } else {
      error = fSuites->Error();
      Suites::InitializeRefCount();
    }
  }
  if (error != kNoErr) {
    delete fSuites;
    fSuites = nullptr;
    return error;
  }
  FillSuiteTables();
  return kNoErr;
}

ASErr Plugin::AcquireProperty(SPPropertiesMessage*) { return kUnhandledMsgErr; }

ASErr Plugin::ReleaseProperty(SPPropertiesMessage*) { return kUnhandledMsgErr; }

void Plugin::GetPluginName(char* buffer, unsigned length) {
  if (buffer == nullptr || length == 0) return;
  std::snprintf(buffer, length, "%s", fPluginName);
}

ASErr Plugin::About(SPInterfaceMessage* message) {
  char text1[256] = "";
  char text2[256] = "";
  sADMBasic->GetIndexString(message->d.self, kAboutStringsID, 1, text1, sizeof text1);
  sADMBasic->GetIndexString(message->d.self, kAboutStringsID, 2, text2, sizeof text2);
  sADMBasic->AboutBox(fPluginRef, text1, text2);
  return kNoErr;
}

ASBoolean Plugin::Purge() { return false; }

ASErr Plugin::Message(const char* caller, const char* selector, void* message) {
  AcquireOptionalSuites();
  ASErr result = kUnhandledMsgErr;

  if (Same(caller, kSPAccessCaller)) {
    auto* m = static_cast<SPInterfaceMessage*>(message);
    if (Same(selector, kSPAccessUnloadSelector)) result = UnloadPlugin(m);
    else if (Same(selector, kSPAccessReloadSelector)) result = ReloadPlugin(m);
  } else if (Same(caller, kSPInterfaceCaller)) {
    if (Same(selector, kSPInterfaceAboutSelector)) result = About(static_cast<SPInterfaceMessage*>(message));
    else if (Same(selector, kSPInterfaceStartupSelector)) result = kNoErr;
  } else if (Same(caller, kSPCacheCaller)) {
    if (Same(selector, kSPPluginPurgeCachesSelector)) result = Purge() ? kPluginCachesFlushedErr : kNoErr;
  } else if (Same(caller, kSPPropertiesCaller)) {
    auto* m = static_cast<SPPropertiesMessage*>(message);
    if (Same(selector, kSPPropertiesAcquireSelector)) result = AcquireProperty(m);
    else if (Same(selector, kSPPropertiesReleaseSelector)) result = ReleaseProperty(m);
  } else if (Same(caller, kCallerAINotify)) {
    auto* m = static_cast<AINotifierMessage*>(message);
    AppContext context(m->d.self);
    if (Same(m->type, kAIApplicationStartedNotifier)) result = PostStartupPlugin();
    if ((result == kNoErr || result == kUnhandledMsgErr) && Same(selector, kSelectorAINotify)) result = Notify(m);
  } else if (Same(caller, "Action Manager")) {
    if (Same(selector, "Do Action")) result = GoAction(static_cast<DoActionMessage*>(message));
  } else if (Same(caller, kCallerAIMenu)) {
    auto* m = static_cast<AIMenuMessage*>(message);
    if (Same(selector, kSelectorAIGoMenuItem)) result = GoMenuItem(m);
    else if (Same(selector, kSelectorAIUpdateMenuItem)) result = UpdateMenuItem(m);
  } else if (Same(caller, "AI Filter")) {
    auto* m = static_cast<AIFilterMessage*>(message);
    if (Same(selector, "AI Get Parameters")) result = GetFilterParameters(m);
    else if (Same(selector, "AI Go")) result = GoFilter(m);
  } else if (Same(caller, "AI Plugin Group")) {
    auto* m = static_cast<AIPluginGroupMessage*>(message);
    if (Same(selector, "AI Notify Edits")) result = PluginGroupNotify(m);
    else if (Same(selector, "AI Update")) result = PluginGroupUpdate(m);
  } else if (Same(caller, "AI File Format")) {
    auto* m = static_cast<AIFileFormatMessage*>(message);
    if (Same(selector, "AI Get Parameters")) result = GetFileFormatParameters(m);
    else if (Same(selector, "AI Go")) result = GoFileFormat(m);
    else if (Same(selector, "AI Check")) result = CheckFileFormat(m);
    else if (Same(selector, "AI Update AI140")) result = FileFormatUpdate(static_cast<AIUpdateFileFormatMessage*>(message));
    else if (Same(selector, "Do Action")) result = SetFileFormatParameters(static_cast<DoActionMessage*>(message));
  } else if (Same(caller, "AI Tool")) {
    auto* m = static_cast<AIToolMessage*>(message);
    if (Same(selector, "AI Edit Options")) result = EditTool(m);
    else if (Same(selector, "AI Track Cursor")) result = TrackToolCursor(m);
    else if (Same(selector, "AI Mouse Down")) result = ToolMouseDown(m);
    else if (Same(selector, "AI Mouse Drag")) result = ToolMouseDrag(m);
    else if (Same(selector, "AI Mouse Up")) result = ToolMouseUp(m);
    else if (Same(selector, "AI Select")) result = SelectTool(m);
    else if (Same(selector, "AI Deselect")) result = DeselectTool(m);
    else if (Same(selector, "AI Reselect")) result = ReselectTool(m);
    else if (Same(selector, "AI Decrease Diameter")) result = DecreaseDiameter(m);
    else if (Same(selector, "AI Increase Diameter")) result = IncreaseDiameter(m);
  } else if (Same(caller, "AI Live Effect")) {
    if (Same(selector, "AI Live Effect Edit Parameters"))
      result = EditLiveEffectParameters(static_cast<AILiveEffectEditParamMessage*>(message));
    else if (Same(selector, "AI Live Effect Go Live"))
      result = GoLiveEffect(static_cast<AILiveEffectGoMessage*>(message));
    else if (Same(selector, "AI Live Effect Interpolate Parameters"))
      result = LiveEffectInterpolate(static_cast<AILiveEffectInterpParamMessage*>(message));
    else if (Same(selector, "AI Live Effect Input Type"))
      result = LiveEffectGetInputType(static_cast<AILiveEffectInputTypeMessage*>(message));
    else if (Same(selector, "AI Live Effect Scale Parameters"))
      result = LiveEffectScaleParameters(static_cast<AILiveEffectScaleParamMessage*>(message));
    else if (Same(selector, "AI Live Effect Convert Color Space"))
      result = LiveEffectConvertColorSpace(static_cast<AILiveEffectConvertColorMessage*>(message));
    else if (Same(selector, "AI Live Effect Adjust Colors"))
      result = LiveEffectAdjustColors(static_cast<AILiveEffectAdjustColorsMessage*>(message));
    else if (Same(selector, "AI Live Effect Handle Merge"))
      result = LiveEffectHandleMerge(static_cast<AILiveEffectHandleMergeMessage*>(message));
  } else if (Same(caller, "AI Timer")) {
    if (Same(selector, "AI Go")) result = GoTimer(static_cast<AITimerMessage*>(message));
  } else if (Same(caller, "AI Clipboard")) {
    auto* m = static_cast<AIClipboardMessage*>(message);
    if (Same(selector, "AI Go")) result = GoClipboard(m);
    else if (Same(selector, "AI Can Copy")) result = CanCopyClipboard(m);
    else if (Same(selector, "AI Clone")) result = CloneClipboard(m);
    else if (Same(selector, "AI Dispose")) result = DisposeClipboard(m);
  } else if (Same(caller, "Workspace Manager")) {
    // The host's own spelling of these selectors.
    auto* m = static_cast<AIWorkspaceMessage*>(message);
    if (Same(selector, "Write Woskspace")) result = WorkspaceWrite(m);
    else if (Same(selector, "Restore Woskspace")) result = WorkspaceRestore(m);
    else if (Same(selector, "Default Woskspace")) result = WorkspaceDefault(m);
  }
  return result;
}

ASErr Plugin::SetGlobal(Plugin*) { return kNoErr; }
ASErr Plugin::AllocateSuiteTables() { return kNoErr; }
ASErr Plugin::FillSuiteTables() { return kNoErr; }
ASErr Plugin::EmptySuiteTables() { return kNoErr; }

ASErr Plugin::AcquireOptionalSuites() {
  if (fSuites != nullptr) fSuites->acquire_Optional_Suites();
  return kNoErr;
}

ASErr Plugin::Notify(AINotifierMessage*) { return kNoErr; }
ASErr Plugin::GoAction(DoActionMessage*) { return kNoErr; }
ASErr Plugin::GoMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::UpdateMenuItem(AIMenuMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GetFilterParameters(AIFilterMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GoFilter(AIFilterMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::PluginGroupNotify(AIPluginGroupMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::PluginGroupUpdate(AIPluginGroupMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GetFileFormatParameters(AIFileFormatMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GoFileFormat(AIFileFormatMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::CheckFileFormat(AIFileFormatMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::FileFormatUpdate(AIUpdateFileFormatMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::SetFileFormatParameters(DoActionMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::EditTool(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::TrackToolCursor(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::ToolMouseDown(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::ToolMouseDrag(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::ToolMouseUp(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::SelectTool(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::DeselectTool(AIToolMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::ReselectTool(AIToolMessage*) { return kNoErr; }
ASErr Plugin::DecreaseDiameter(AIToolMessage*) { return kNoErr; }
ASErr Plugin::IncreaseDiameter(AIToolMessage*) { return kNoErr; }
ASErr Plugin::EditLiveEffectParameters(AILiveEffectEditParamMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GoLiveEffect(AILiveEffectGoMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::LiveEffectInterpolate(AILiveEffectInterpParamMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::LiveEffectGetInputType(AILiveEffectInputTypeMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::LiveEffectConvertColorSpace(AILiveEffectConvertColorMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::LiveEffectScaleParameters(AILiveEffectScaleParamMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::LiveEffectAdjustColors(AILiveEffectAdjustColorsMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::LiveEffectHandleMerge(AILiveEffectHandleMergeMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GoTimer(AITimerMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::GoClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::CanCopyClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::CloneClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::DisposeClipboard(AIClipboardMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::WorkspaceWrite(AIWorkspaceMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::WorkspaceRestore(AIWorkspaceMessage*) { return kUnhandledMsgErr; }
ASErr Plugin::WorkspaceDefault(AIWorkspaceMessage*) { return kUnhandledMsgErr; }

bool Plugin::IsReloadMsg(const char* caller, const char* selector) {
  return Same(caller, kSPAccessCaller) && Same(selector, kSPAccessReloadSelector);
}

bool Plugin::FilterError(ASErr error) {
  for (const ASErr* code = kFilteredErrors; *code != 0; ++code)
    if (*code == error) return true;
  return false;
}

char* Plugin::FindMsg(SPPluginRef pluginRef, ASErr error, char* buffer, int32_t size) {
  int32_t chosen = 0;
  for (int32_t index = 1;; index += 2) {
    char entry[10] = {};
    ASErr readError = sADMBasic->GetIndexString(pluginRef, kErrorStringsID, index, entry, sizeof entry);
    if (readError != kNoErr || entry[0] == '\0') {
      if (index == 1) return nullptr;  // no list
      chosen = index - 1;               // the last pair's message
      break;
    }
    ASErr value;
    if (entry[0] == '-' || std::isdigit(static_cast<unsigned char>(entry[0])) != 0) {
      value = static_cast<ASErr>(std::strtol(entry, nullptr, 10));
    } else {
      value = static_cast<ASErr>((static_cast<uint32_t>(static_cast<uint8_t>(entry[0])) << 24) |
                                  (static_cast<uint32_t>(static_cast<uint8_t>(entry[1])) << 16) |
                                  (static_cast<uint32_t>(static_cast<uint8_t>(entry[2])) << 8) |
                                  static_cast<uint32_t>(static_cast<uint8_t>(entry[3])));
    }
    if (value == error) {
      chosen = index + 1;
      break;
    }
  }
  if (size <= 0) return nullptr;
  buffer[0] = '\0';
  if (sADMBasic->GetIndexString(pluginRef, kErrorStringsID, chosen, buffer, size) != kNoErr || buffer[0] == '\0')
    return nullptr;
  return buffer;
}

void Plugin::DefaultError(SPPluginRef pluginRef, ASErr error) {
  if (FilterError(error)) return;

  bool acquiredHere = false;
  if (sADMBasic == nullptr) {
    if (sSPBasic == nullptr) return;
    ASErr acquireError = sSPBasic->AcquireSuite(kADMBasicSuite, kDefaultErrorADMBasicVersion,
                                               static_cast<const void**>(static_cast<void*>(&sADMBasic)));
    if (acquireError != kNoErr || sADMBasic == nullptr) {
      sADMBasic = nullptr;
      return;
    }
    acquiredHere = true;
  }

  char message[128];
  if (FindMsg(pluginRef, error, message, sizeof message) != nullptr) {
    char formatted[256];
    const char* shown = message;
    if (std::strlen(message) < 120) {
      char code[12];
      CodeText(error, code);
      InsertCode(message, code, formatted, sizeof formatted);
      shown = formatted;
    }
    sADMBasic->ErrorAlert(shown);
  }

  if (acquiredHere) {
    sSPBasic->ReleaseSuite(kADMBasicSuite, kDefaultErrorADMBasicVersion);
    sADMBasic = nullptr;
  }
}
