// The stand-in host's core: one object that owns the loaded plug-in, the suites it hands
// out, the memory and host objects it counts, the fault plan, and the application state the
// suites act on (document, fonts, preferences, clock). The parts above the core (the dialog
// manager, the menus, the suite families) keep their own state in the host through state<T>(),
// and offer their tables through offerSuite(); standard_host.h puts them together.
//
// Suites are tables of plain functions; each reaches the host whose call is running through
// Host::current(), never the plug-in's internals. One host is current at a time, on one
// thread, as in the real application.
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hostapi/HostAPI.h"
#include "hostsim/core/accounting.h"
#include "hostsim/core/faults.h"
#include "hostsim/core/resources.h"

namespace hostsim {

class Document;     // hostsim/model
class FontCatalog;  // hostsim/model
class FontMetrics;
class Preferences;  // hostsim/model
class Clock;        // hostsim/model

// The host's record of a plug-in: what SPPluginRef points to.
struct PluginRecord {
  std::filesystem::path module;
  void* library = nullptr;  // dlopen handle; null for an entry point linked in-process
  PluginMainProc entry = nullptr;
  void* globals = nullptr;  // the globals slot the host keeps between calls
  std::string name;         // set by the plug-in through the SP Plug-ins Suite
  Resources resources;
  bool loaded = true;       // false between "Unload" and "Reload"
  int accessCount = 0;      // SP Access acquisitions outstanding
};

struct Notifier {
  SPPluginRef plugin;
  std::string name;
  std::string type;
  AINotifierHandle handle = nullptr;  // what the plug-in received, and finds in its messages
};

struct Alert {
  enum class Kind { Error, Message };
  Kind kind;
  std::string text;  // Mac Roman, as the plug-in gave it
};

struct AboutRequest {
  std::string text1;
  std::string text2;
};

// Where the host places the plug-in's small memory blocks: one after the other in slabs
// of its own, as a host's allocator does, rather than wherever the process's heap has
// room. The plug-in keeps linked lists in such blocks and walks them to their end on
// every addition; nodes made in turn then lie together instead of scattered among the
// host's own allocations. Freed blocks are reused, latest first.
class SmallBlocks {
 public:
  static constexpr size_t kLargest = 64;  // bytes; larger blocks come from the heap

  SmallBlocks() = default;
  SmallBlocks(const SmallBlocks&) = delete;
  SmallBlocks& operator=(const SmallBlocks&) = delete;

  // Null when `size` is above kLargest (or when memory runs out).
  void* take(size_t size);
  // A block `take` gave for the same size.
  void give(void* block, size_t size);
  // Whether blocks of `size` come from here. Not under AddressSanitizer, whose heap
  // catches a block used after it was freed.
  static bool serves(size_t size);

 private:
  static constexpr size_t kGrain = 16;  // sizes round up to this, which keeps the alignment of malloc
  static constexpr size_t kSlabBytes = 64 * 1024;
  static size_t sizeClass(size_t size) { return (size == 0 ? 0 : size - 1) / kGrain; }

  std::vector<std::unique_ptr<std::byte[]>> slabs_;
  size_t slabUsed_ = kSlabBytes;  // bytes taken from the last slab
  std::vector<void*> free_[kLargest / kGrain];
};

class Host;

// One level of the current host: a host is current from its making to its end, and a
// CurrentHost makes one current for a scope. Levels end in the reverse order they began,
// each giving back the host it found. One that ends out of order would leave a destroyed
// host current, so it is refused: the process stops with a message.
class CurrentFrame {
 public:
  CurrentFrame() = default;
  CurrentFrame(const CurrentFrame&) = delete;
  CurrentFrame& operator=(const CurrentFrame&) = delete;

  void begin(Host& host);
  // `what` names the level in the message ("a host", "a CurrentHost scope").
  void end(const char* what);

 private:
  Host* previousHost_ = nullptr;
  const CurrentFrame* previousFrame_ = nullptr;
};

// Made, a host becomes the current one; destroyed, it gives back the one it found. Hosts
// end in the reverse order they were made (see CurrentFrame).
class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The host whose call is running, else the one made last. Suites reach their state
  // through it.
  static Host& current();
  static bool hasCurrent();

  // --- The plug-in ---------------------------------------------------------------------
  // Loads a module with RTLD_LOCAL and its resource file (same path, extension .rsrc).
  // Throws std::runtime_error with a clear message when either cannot be read.
  void loadPlugin(const std::filesystem::path& module);
  // An entry point linked into this process, for tests of the plug-in's parts.
  void attachPlugin(PluginMainProc entry, Resources resources);
  bool hasPlugin() const { return plugin_ != nullptr; }
  PluginRecord& plugin();
  SPPluginRef pluginRef();
  // True when ref is the loaded plug-in's reference (never for null).
  bool isPlugin(SPPluginRef ref) const {
    return plugin_ != nullptr && ref == reinterpret_cast<SPPluginRef>(plugin_.get());
  }

  // Messages. Each call sets the current host, fills the header, captures what the plug-in
  // writes to standard error, and returns the plug-in's answer.
  ASErr send(const char* caller, const char* selector, SPMessageData& message);
  ASErr send(const char* caller, const char* selector);  // a message with only the header
  ASErr startup();
  ASErr shutdown();
  ASErr unload();
  ASErr reload();
  ASErr applicationStarted();  // the notifiers of type "AI Application Started Notifier"
  ASErr chooseMenuItem(AIMenuItemHandle item);  // "AI Menu"/"AI Go"

  // --- Suites --------------------------------------------------------------------------
  // The table of (name, version), or null; counts the acquisition.
  ASErr acquireSuite(const char* name, int32_t version, const void** suite);
  ASErr releaseSuite(const char* name, int32_t version);
  // Every suite the host offers; each suite family adds its tables here.
  void offerSuite(std::string name, int32_t version, const void* table);
  // The name of every suite offered, once each, in name order.
  std::vector<std::string> offeredSuiteNames() const;

  // Every host operation calls this first with its name ("AI Art Suite.NewArt"): the call
  // is counted, and the fault plan may answer with an error code instead.
  std::optional<ASErr> enter(const char* operation);
  // SP Basic's own operations and the memory blocks call this instead: they are counted,
  // but fail only through an unavailable suite or a failed allocation, never by call number,
  // and "*" does not number them (a sweep over "*" meets only calls that can fail).
  void enterUnnumbered(const char* operation) { accounting_.countCall(operation, false); }

  // --- Memory blocks ---------------------------------------------------------------------
  ASErr allocateBlock(size_t size, const char* source, void** block);
  ASErr freeBlock(void* block);
  size_t liveBlocks() const { return blocks_.size(); }
  uint64_t allocations() const { return allocations_; }
  // While on, every allocation is kept in order: allocationLog()[n - 1] is the one that
  // failAllocation(n) refuses, with its size and the number of host calls made before it.
  struct AllocationRecord {
    size_t size = 0;
    uint64_t afterCalls = 0;
  };
  void logAllocations(bool on) { loggingAllocations_ = on; }
  const std::vector<AllocationRecord>& allocationLog() const { return allocationLog_; }

  // --- What the host recorded ----------------------------------------------------------
  FaultPlan& faults() { return faults_; }
  Accounting& accounting() { return accounting_; }
  // True when no suite, block or host object is held and nothing was misused.
  bool allGivenBack() const;
  // A readable list of what is still held or was misused, empty when all was given back.
  std::string outstanding() const;

  void alert(Alert::Kind kind, std::string text) { alerts_.push_back({kind, std::move(text)}); }
  const std::vector<Alert>& alerts() const { return alerts_; }
  void beep() { ++beeps_; }
  int beeps() const { return beeps_; }
  void about(AboutRequest request) { abouts_.push_back(std::move(request)); }
  const std::vector<AboutRequest>& abouts() const { return abouts_; }
  // Everything the plug-in wrote to standard error so far.
  const std::string& pluginStderr() const { return stderr_; }
  std::vector<Notifier>& notifiers() { return notifiers_; }

  // Handles that stand for a record of the host rather than an object (notifiers, plug-in
  // accesses, application contexts): never null, never reused by this host.
  uintptr_t newToken() { return ++tokens_; }
  // Plug-in accesses given by the SP Access Suite and not yet released.
  std::set<SPAccessRef>& accesses() { return accesses_; }
  // Application contexts pushed and not yet popped, innermost last.
  std::vector<AIAppContextHandle>& contexts() { return contexts_; }

  // The main screen's bounds, for dialog placement.
  ADMRect screen{0, 0, 900, 1440};

  // --- Application state ---------------------------------------------------------------
  // The current document, or null when none is open.
  Document* document() { return document_.get(); }
  void setDocument(std::unique_ptr<Document> document);
  std::unique_ptr<Document> takeDocument();
  FontCatalog& fonts();
  void setFonts(std::unique_ptr<FontCatalog> fonts);
  // What the host measures texts with, over fonts(): kept, as opening the faces again for
  // every text measured would read a font file per artboard stamped.
  FontMetrics& textMetrics();
  Preferences& preferences();
  void setPreferences(std::unique_ptr<Preferences> preferences);
  Clock& clock();

  // What a part above the core keeps for this host (the dialog manager, the menus, a suite
  // family's strings, paths, text-engine objects...): made on first use, destroyed with the
  // host before the plug-in's code is unloaded.
  template <typename State>
  State& state() {
    // Asked on nearly every call of a suite family: found by a number given to each kind.
    static const std::size_t kind = nextStateKind();
    if (kind >= states_.size()) states_.resize(kind + 1);
    std::shared_ptr<void>& slot = states_[kind];
    if (!slot) slot = std::make_shared<State>();
    return *static_cast<State*>(slot.get());
  }

 private:
  ASErr deliver(const char* caller, const char* selector, SPMessageData& message);

  std::unique_ptr<PluginRecord> plugin_;
  std::map<std::pair<std::string, int32_t>, const void*> offered_;
  std::map<void*, std::pair<size_t, std::string>> blocks_;
  SmallBlocks smallBlocks_;
  uint64_t allocations_ = 0;
  bool loggingAllocations_ = false;
  std::vector<AllocationRecord> allocationLog_;
  FaultPlan faults_;
  Accounting accounting_;
  std::vector<Alert> alerts_;
  int beeps_ = 0;
  std::vector<AboutRequest> abouts_;
  std::string stderr_;
  std::vector<Notifier> notifiers_;
  uintptr_t tokens_ = 0;
  std::set<SPAccessRef> accesses_;
  std::vector<AIAppContextHandle> contexts_;
  std::unique_ptr<Document> document_;
  std::unique_ptr<FontCatalog> fonts_;
  std::unique_ptr<FontMetrics> textMetrics_;
  std::unique_ptr<Preferences> preferences_;
  std::unique_ptr<Clock> clock_;
  static std::size_t nextStateKind();
  std::vector<std::shared_ptr<void>> states_;
  CurrentFrame frame_;
};

// Makes `host` current for a scope (the host's own calls into the plug-in do this).
class CurrentHost {
 public:
  explicit CurrentHost(Host& host) { frame_.begin(host); }
  ~CurrentHost() { frame_.end("a CurrentHost scope"); }
  CurrentHost(const CurrentHost&) = delete;
  CurrentHost& operator=(const CurrentHost&) = delete;

 private:
  CurrentFrame frame_;
};

// Opening lines of host operations: count the call and apply the fault plan.
//   HOSTSIM_ENTER("AI Art Suite.NewArt");            for operations that return ASErr
//   HOSTSIM_ENTER_OR("ADM Item Suite.Create", nullptr); for those that return a value
#define HOSTSIM_ENTER(operation)                                                   \
  do {                                                                             \
    if (auto hostsim_fault = ::hostsim::Host::current().enter(operation)) return *hostsim_fault; \
  } while (0)
#define HOSTSIM_ENTER_OR(operation, onFault)                                       \
  do {                                                                             \
    if (::hostsim::Host::current().enter(operation)) return onFault;               \
  } while (0)
#define HOSTSIM_ENTER_VOID(operation)                                              \
  do {                                                                             \
    if (::hostsim::Host::current().enter(operation)) return;                       \
  } while (0)

}  // namespace hostsim
