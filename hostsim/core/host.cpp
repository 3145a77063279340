#include "hostsim/core/host.h"

#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include "hostsim/model/clock.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"

namespace hostsim {

namespace {

Host* gCurrent = nullptr;
const CurrentFrame* gInnermost = nullptr;  // the level that made gCurrent current

// A file in memory where the system offers one: a temporary file costs an inode on disk, and
// every message to the plug-in takes one.
std::FILE* memoryFile() {
  const int fd = ::memfd_create("plug-in stderr", MFD_CLOEXEC);
  if (fd < 0) return std::tmpfile();
  std::FILE* file = ::fdopen(fd, "w+");
  if (file == nullptr) ::close(fd);
  return file;
}

// Collects what is written to file descriptor 2 while it lives, for the host's record.
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    file_ = memoryFile();
    if (file_ == nullptr) return;
    saved_ = ::dup(2);
    if (saved_ < 0 || ::dup2(::fileno(file_), 2) < 0) {
      std::fclose(file_);
      file_ = nullptr;
    }
  }
  ~StderrCapture() { finish(); }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  std::string finish() {
    std::string text;
    if (file_ == nullptr) return text;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    std::rewind(file_);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text.append(buffer, n);
    std::fclose(file_);
    file_ = nullptr;
    return text;
  }

 private:
  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

}  // namespace

void CurrentFrame::begin(Host& host) {
  previousHost_ = gCurrent;
  previousFrame_ = gInnermost;
  gCurrent = &host;
  gInnermost = this;
}

void CurrentFrame::end(const char* what) {
  if (gInnermost != this) {
    std::fprintf(stderr,
                 "hostsim: %s ended while a host made or made current after it was still there; hosts and "
                 "CurrentHost scopes must end in the reverse order they began\n",
                 what);
    std::abort();
  }
  gCurrent = previousHost_;
  gInnermost = previousFrame_;
}

Host::Host() { frame_.begin(*this); }

Host::~Host() {
  frame_.end("a host");
  // What the parts above the core keep (dialogs, menus...) may refer to the plug-in's
  // procedures: drop it before its code.
  states_.clear();
  if (plugin_ && plugin_->library != nullptr) ::dlclose(plugin_->library);
  // Blocks the plug-in never freed are already reported by outstanding(); the host still
  // owns their memory.
  for (auto& [block, info] : blocks_)
    if (!SmallBlocks::serves(info.first)) std::free(block);
  blocks_.clear();
}

Host& Host::current() {
  if (gCurrent == nullptr) {
    std::fputs("hostsim: a host operation was called with no host running\n", stderr);
    std::abort();
  }
  return *gCurrent;
}

bool Host::hasCurrent() { return gCurrent != nullptr; }

void Host::loadPlugin(const std::filesystem::path& module) {
  auto resourceFile = std::filesystem::path(module).replace_extension(".rsrc");
  Resources resources = Resources::load(resourceFile);
  void* library = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) throw std::runtime_error(module.string() + ": cannot load the plug-in: " + ::dlerror());
  auto entry = reinterpret_cast<PluginMainProc>(::dlsym(library, kPluginMainSymbol));
  if (entry == nullptr) {
    ::dlclose(library);
    throw std::runtime_error(module.string() + ": the module exports no PluginMain");
  }
  plugin_ = std::make_unique<PluginRecord>();
  plugin_->module = module;
  plugin_->library = library;
  plugin_->entry = entry;
  plugin_->resources = std::move(resources);
}

void Host::attachPlugin(PluginMainProc entry, Resources resources) {
  plugin_ = std::make_unique<PluginRecord>();
  plugin_->entry = entry;
  plugin_->resources = std::move(resources);
}

PluginRecord& Host::plugin() {
  if (!plugin_) throw std::logic_error("no plug-in is loaded");
  return *plugin_;
}

SPPluginRef Host::pluginRef() { return reinterpret_cast<SPPluginRef>(plugin_.get()); }

ASErr Host::deliver(const char* caller, const char* selector, SPMessageData& message) {
  PluginRecord& record = plugin();
  CurrentHost scope(*this);
  // The basic suite is handed over with every message, as the real host does.
  const SPBasicSuite* basic = nullptr;
  if (auto it = offered_.find({kSPBasicSuite, kSPBasicSuiteVersion}); it != offered_.end())
    basic = static_cast<const SPBasicSuite*>(it->second);
  message.SPCheck = kSPValidSPMessageData;
  message.self = pluginRef();
  message.globals = record.globals;
  if (basic != nullptr && tracer_) basic = static_cast<const SPBasicSuite*>(handedOut(kSPBasicSuite, kSPBasicSuiteVersion, basic));
  message.basic = const_cast<SPBasicSuite*>(basic);
  const std::size_t line = tracer_ ? tracer_->begin("PluginMain", "", true) : 0;
  StderrCapture capture;
  ASErr result = record.entry(caller, selector, &message);
  if (tracer_) tracer_->finish(line, trace::text(caller) + ", " + trace::text(selector), trace::code(result));
  stderr_ += capture.finish();
  record.globals = message.globals;
  return result;
}

ASErr Host::send(const char* caller, const char* selector, SPMessageData& message) {
  return deliver(caller, selector, message);
}

ASErr Host::send(const char* caller, const char* selector) {
  SPInterfaceMessage message{};
  return deliver(caller, selector, message.d);
}

ASErr Host::startup() { return send(kSPInterfaceCaller, kSPInterfaceStartupSelector); }

ASErr Host::shutdown() { return send(kSPInterfaceCaller, kSPInterfaceShutdownSelector); }

ASErr Host::unload() {
  ASErr result = send(kSPAccessCaller, kSPAccessUnloadSelector);
  plugin().loaded = false;
  return result;
}

ASErr Host::reload() {
  plugin().loaded = true;
  return send(kSPAccessCaller, kSPAccessReloadSelector);
}

ASErr Host::applicationStarted() {
  ASErr result = kNoErr;
  std::vector<Notifier> started;
  for (const auto& n : notifiers_)
    if (n.type == kAIApplicationStartedNotifier) started.push_back(n);
  for (const auto& n : started) {
    AINotifierMessage message{};
    message.type = kAIApplicationStartedNotifier;
    message.notifier = n.handle;
    ASErr r = send(kCallerAINotify, kSelectorAINotify, message.d);
    if (result == kNoErr) result = r;
  }
  return result;
}

ASErr Host::chooseMenuItem(AIMenuItemHandle item) {
  AIMenuMessage message{};
  message.menuItem = item;
  return send(kCallerAIMenu, kSelectorAIGoMenuItem, message.d);
}

void Host::offerSuite(std::string name, int32_t version, const void* table) {
  offered_[{std::move(name), version}] = table;
}

std::vector<std::string> Host::offeredSuiteNames() const {
  std::vector<std::string> names;
  for (const auto& [key, table] : offered_)
    if (names.empty() || names.back() != key.first) names.push_back(key.first);
  return names;
}

ASErr Host::acquireSuite(const char* name, int32_t version, const void** suite) {
  if (suite != nullptr) *suite = nullptr;
  if (name == nullptr || suite == nullptr) return kBadParameterErr;
  if (faults_.suiteUnavailable(name)) return kSPSuiteNotFoundError;
  auto it = offered_.find({name, version});
  if (it == offered_.end()) {
    for (const auto& [key, table] : offered_)
      if (key.first == name) return kSPBadSuiteVersionError;
    return kSPSuiteNotFoundError;
  }
  *suite = tracer_ ? handedOut(name, version, it->second) : it->second;
  accounting_.suiteAcquired(name, version);
  return kNoErr;
}

ASErr Host::releaseSuite(const char* name, int32_t version) {
  if (name == nullptr) return kBadParameterErr;
  if (!accounting_.suiteReleased(name, version)) {
    accounting_.misuse(std::string("released suite \"") + name + "\" v" + std::to_string(version) +
                       " that was not held");
    return kBadParameterErr;
  }
  return kNoErr;
}

const void* Host::handedOut(const std::string& name, int32_t version, const void* table) {
  const auto traced = tracedTables_.find(table);
  return traced == tracedTables_.end() ? table : traced->second(table, name + " v" + std::to_string(version));
}

std::optional<ASErr> Host::enter(const char* operation) {
  if (tracer_) tracer_->entered(operation);
  const uint64_t nth = accounting_.countCall(operation);
  if (faults_.noFailingCalls()) return std::nullopt;
  return faults_.callFails(operation, nth, accounting_.totalCalls());
}

std::size_t Host::nextStateKind() {
  static std::atomic<std::size_t> next{0};
  return next++;
}

ASErr Host::allocateBlock(size_t size, const char* source, void** block) {
  if (block == nullptr) return kBadParameterErr;
  *block = nullptr;
  if (loggingAllocations_) allocationLog_.push_back({size, accounting_.totalCalls()});
  if (faults_.allocationFails(++allocations_)) return kOutOfMemoryErr;
  void* p = SmallBlocks::serves(size) ? smallBlocks_.take(size) : std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) return kOutOfMemoryErr;
  blocks_[p] = {size, source != nullptr ? source : ""};
  *block = p;
  return kNoErr;
}

ASErr Host::freeBlock(void* block) {
  if (block == nullptr) return kNoErr;
  auto it = blocks_.find(block);
  if (it == blocks_.end()) {
    accounting_.misuse("freed a memory block the host never gave (or freed it twice)");
    return kBadParameterErr;
  }
  if (SmallBlocks::serves(it->second.first))
    smallBlocks_.give(block, it->second.first);
  else
    std::free(block);
  blocks_.erase(it);
  return kNoErr;
}

#if defined(__SANITIZE_ADDRESS__)
#define HOSTSIM_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HOSTSIM_ADDRESS_SANITIZER 1
#endif
#endif

bool SmallBlocks::serves(size_t size) {
#ifdef HOSTSIM_ADDRESS_SANITIZER
  (void)size;
  return false;
#else
  return size <= kLargest;
#endif
}

void* SmallBlocks::take(size_t size) {
  if (size > kLargest) return nullptr;
  std::vector<void*>& reusable = free_[sizeClass(size)];
  if (!reusable.empty()) {
    void* block = reusable.back();
    reusable.pop_back();
    return block;
  }
  const size_t bytes = (sizeClass(size) + 1) * kGrain;
  if (slabUsed_ + bytes > kSlabBytes) {
    slabs_.push_back(std::unique_ptr<std::byte[]>(new (std::nothrow) std::byte[kSlabBytes]));
    if (slabs_.back() == nullptr) {
      slabs_.pop_back();
      return nullptr;
    }
    slabUsed_ = 0;
  }
  void* block = slabs_.back().get() + slabUsed_;
  slabUsed_ += bytes;
  return block;
}

void SmallBlocks::give(void* block, size_t size) { free_[sizeClass(size)].push_back(block); }

std::string Host::outstanding() const {
  std::string text = accounting_.outstanding(0);
  std::map<std::string, std::pair<size_t, size_t>> bySource;  // source -> (blocks, bytes)
  for (const auto& [block, info] : blocks_) {
    auto& [count, bytes] = bySource[info.second];
    ++count;
    bytes += info.first;
  }
  for (const auto& [source, totals] : bySource)
    text += std::to_string(totals.first) + " memory block(s) of " + std::to_string(totals.second) +
            " byte(s) from \"" + source + "\" not freed\n";
  return text;
}

bool Host::allGivenBack() const {
  return accounting_.suitesHeld() == 0 && accounting_.objectsLive() == 0 && blocks_.empty() &&
         accounting_.misuses().empty();
}

void Host::setDocument(std::unique_ptr<Document> document) { document_ = std::move(document); }
std::unique_ptr<Document> Host::takeDocument() { return std::move(document_); }

FontCatalog& Host::fonts() {
  if (!fonts_) fonts_ = std::make_unique<FontCatalog>(FontCatalog::system());
  return *fonts_;
}
void Host::setFonts(std::unique_ptr<FontCatalog> fonts) {
  textMetrics_.reset();  // its faces are the old catalogue's
  fonts_ = std::move(fonts);
}

FontMetrics& Host::textMetrics() {
  if (!textMetrics_) textMetrics_ = std::make_unique<FontMetrics>(fonts());
  return *textMetrics_;
}

Preferences& Host::preferences() {
  // Kept in memory only, until a store with a file is set.
  if (!preferences_) preferences_ = std::make_unique<Preferences>(std::filesystem::path());
  return *preferences_;
}
void Host::setPreferences(std::unique_ptr<Preferences> preferences) { preferences_ = std::move(preferences); }

Clock& Host::clock() {
  if (!clock_) clock_ = std::make_unique<Clock>();
  return *clock_;
}

}  // namespace hostsim
