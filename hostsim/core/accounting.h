// What the host handed out and what came back: suites per plug-in, memory blocks, host
// objects by kind, and how often each operation was called. "Everything given back" is
// allGivenBack().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace hostsim {

class Accounting {
 public:
  // Suites.
  void suiteAcquired(const std::string& name, int32_t version) { ++suites_[{name, version}]; }
  // False when the suite was not held: releasing it is the plug-in's fault.
  bool suiteReleased(const std::string& name, int32_t version);
  int suitesHeld() const;
  int suiteHeld(const std::string& name, int32_t version) const;
  // Every suite acquired at least once, by name, in name order.
  std::vector<std::string> suiteNames() const;

  // Host objects (strings, paths, artboard lists, text-engine references, icons, ...).
  void objectCreated(const std::string& kind) { ++objects_[kind]; }
  void objectDestroyed(const std::string& kind) { --objects_[kind]; }
  void objectCreated(const char* kind) { ++objectCounts_.find(objects_, kind); }
  void objectDestroyed(const char* kind) { --objectCounts_.find(objects_, kind); }
  int objectsLive(const std::string& kind) const;
  int objectsLive() const;
  std::map<std::string, int> liveObjectsByKind() const;

  // Calls: counted per operation and, when numbered, overall (the numbering that a "*"
  // fault refers to).
  uint64_t countCall(const std::string& operation, bool numbered = true);
  uint64_t countCall(const char* operation, bool numbered = true);
  uint64_t callsOf(const std::string& operation) const;
  uint64_t totalCalls() const { return totalCalls_; }
  const std::map<std::string, uint64_t>& calls() const { return calls_; }
  // While on, the operation of every numbered call is kept in order: callLog()[n - 1] is the
  // call that a "*" fault numbered n hits. Off by default (a sweep logs its reference run).
  void logCalls(bool on) { loggingCalls_ = on; }
  const std::vector<std::string>& callLog() const { return callLog_; }

  // Misuse the host noticed (a block freed twice, a suite released that was not held...).
  void misuse(std::string what) { misuses_.push_back(std::move(what)); }
  const std::vector<std::string>& misuses() const { return misuses_; }

  // A readable list of whatever is still held, empty when all was given back.
  std::string outstanding(size_t liveBlocks) const;

 private:
  // The counter of a name, found again by the address of the name: operations and kinds
  // are string literals, so once a name was seen, counting it takes a slot picked by its
  // address instead of a string built and searched for on every host call. The name is
  // still compared, so one built at run time is counted rightly too.
  template <typename Count>
  class CounterCache {
   public:
    CounterCache() = default;
    // A copy belongs to another Accounting, whose counters are elsewhere: it starts empty.
    CounterCache(const CounterCache&) {}
    CounterCache& operator=(const CounterCache&) {
      clear();
      return *this;
    }
    Count& find(std::map<std::string, Count>& counts, const char* name) {
      const std::uint64_t address = reinterpret_cast<std::uintptr_t>(name);
      std::size_t i = (address * 0x9E3779B97F4A7C15u) >> 54;  // one of 1024 slots, then onwards
      for (;; i = (i + 1) % slots_.size()) {
        Slot& slot = slots_[i];
        if (slot.name == name) {
          // A name built at run time may have the address an earlier one had.
          if (std::strcmp(slot.counter->first.c_str(), name) != 0)
            slot.counter = &*counts.try_emplace(name).first;
          return slot.counter->second;
        }
        if (slot.name != nullptr) continue;
        if (2 * ++used_ > slots_.size()) {  // never more than half full: start again
          clear();
          return find(counts, name);
        }
        slot = {name, &*counts.try_emplace(name).first};
        return slot.counter->second;
      }
    }

   private:
    void clear() {
      slots_.fill({});
      used_ = 0;
    }

    struct Slot {
      const char* name = nullptr;
      std::pair<const std::string, Count>* counter = nullptr;
    };
    std::array<Slot, 1024> slots_{};
    std::size_t used_ = 0;
  };

  std::map<std::pair<std::string, int32_t>, int> suites_;
  std::map<std::string, int> objects_;
  std::map<std::string, uint64_t> calls_;
  uint64_t totalCalls_ = 0;
  bool loggingCalls_ = false;
  std::vector<std::string> callLog_;
  std::vector<std::string> misuses_;
  CounterCache<int> objectCounts_;
  CounterCache<uint64_t> callCounts_;
};

}  // namespace hostsim
