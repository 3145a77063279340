// The AI Preference Suite: typed values under (prefix, key) in the host's preference store.
//
// Every Put that changes the store is written to the store's file at once, atomically, so
// a crash of the host never loses a setting that a plug-in was told was stored. When the
// file cannot be written, the Put is refused and the store keeps what it held before. A
// Put of the value already held writes nothing: the plug-in stores all its settings on
// every OK, and a durable write costs milliseconds.
#include <algorithm>
#include <cstring>
#include <string>

#include "hostsim/model/preferences.h"
#include "hostsim/suites/doc_support.h"
#include "hostsim/suites/preference_suite.h"

namespace hostsim {

namespace {

// Reads leave the destination as it is when the key is missing or of another kind.
template <typename Read>
ASErr get(const char* prefix, const char* suffix, const void* value, Read&& read) {
  if (prefix == nullptr || suffix == nullptr || value == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    read(host.preferences());
    return kNoErr;
  });
}

template <typename Write>
ASErr put(const char* prefix, const char* suffix, Write&& write) {
  if (prefix == nullptr || suffix == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  Preferences& store = host.preferences();
  return guarded([&] {
    Preferences before = store;
    write(store);  // names the store refuses throw invalid_argument before any change
    if (store.file().empty()) return kNoErr;  // a store kept in memory only
    if (!store.modified()) return kNoErr;     // the file holds it already
    try {
      store.save();
    } catch (const std::exception&) {
      store = std::move(before);
      return kHostFileErr;
    }
    return kNoErr;
  });
}

ASErr getBoolean(const char* prefix, const char* suffix, AIBoolean* value) {
  HOSTSIM_ENTER("AI Preference Suite.GetBooleanPreference");
  return get(prefix, suffix, value, [&](const Preferences& store) {
    bool read = false;
    if (store.getBool(prefix, suffix, read)) *value = read;
  });
}

ASErr putBoolean(const char* prefix, const char* suffix, AIBoolean value) {
  HOSTSIM_ENTER("AI Preference Suite.PutBooleanPreference");
  return put(prefix, suffix, [&](Preferences& store) { store.putBool(prefix, suffix, value != 0); });
}

ASErr getInteger(const char* prefix, const char* suffix, int32_t* value) {
  HOSTSIM_ENTER("AI Preference Suite.GetIntegerPreference");
  return get(prefix, suffix, value, [&](const Preferences& store) { store.getInt32(prefix, suffix, *value); });
}

ASErr putInteger(const char* prefix, const char* suffix, int32_t value) {
  HOSTSIM_ENTER("AI Preference Suite.PutIntegerPreference");
  return put(prefix, suffix, [&](Preferences& store) { store.putInt32(prefix, suffix, value); });
}

ASErr getReal(const char* prefix, const char* suffix, double* value) {
  HOSTSIM_ENTER("AI Preference Suite.GetRealPreference");
  return get(prefix, suffix, value, [&](const Preferences& store) { store.getDouble(prefix, suffix, *value); });
}

ASErr putReal(const char* prefix, const char* suffix, double value) {
  HOSTSIM_ENTER("AI Preference Suite.PutRealPreference");
  return put(prefix, suffix, [&](Preferences& store) { store.putDouble(prefix, suffix, value); });
}

// At most capacity - 1 bytes and a terminator: a longer stored value is cut, never
// written past the caller's buffer.
ASErr getString(const char* prefix, const char* suffix, char* value, size_t capacity) {
  HOSTSIM_ENTER("AI Preference Suite.GetStringPreference");
  if (capacity == 0) return kBadParameterErr;
  return get(prefix, suffix, value, [&](const Preferences& store) {
    std::string read;
    if (!store.getString(prefix, suffix, read)) return;
    const size_t length = std::min(read.size(), capacity - 1);
    std::memcpy(value, read.data(), length);
    value[length] = '\0';
  });
}

ASErr putString(const char* prefix, const char* suffix, const char* value) {
  HOSTSIM_ENTER("AI Preference Suite.PutStringPreference");
  if (value == nullptr) return kBadParameterErr;
  return put(prefix, suffix, [&](Preferences& store) { store.putString(prefix, suffix, value); });
}

const AIPreferenceSuite kPreference = {getBoolean, putBoolean, getInteger, putInteger,
                                       getReal,    putReal,    getString,  putString};

}  // namespace

void offerPreferenceSuite(Host& host) { host.offerSuite(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &kPreference); }

}  // namespace hostsim
