// What the host's document-side suites (art, text, document, preferences) share: their own
// error codes, the guard that keeps exceptions out of the plug-in, the counted objects the
// host hands out, and the conversions between plug-in handles and the document model's.
//
// Every object handed to the plug-in is named by a number the host never reuses, so a
// handle given back twice, or one that never came from this host, is recognised as such
// instead of reaching freed memory.
#pragma once

#include <cstdint>
#include <map>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "hostapi/HostAPI.h"
#include "hostsim/core/host.h"
#include "hostsim/model/document.h"

namespace hostsim {

// New art would go inside locked or hidden art.
constexpr ASErr kLockedContainerErr = fourcc("LCK!");
// The art does not carry the tag asked for.
constexpr ASErr kTagNotFoundErr = fourcc("TAG?");
// One of the host's own files (fonts, preferences) could not be read or written.
constexpr ASErr kHostFileErr = fourcc("FIL!");

// Runs an operation's body and turns whatever it throws into a result code, so no
// exception ever crosses into the plug-in.
template <typename Body>
ASErr guarded(Body&& body, ASErr badParameter = kBadParameterErr, ASErr outOfMemory = kOutOfMemoryErr) noexcept {
  try {
    return body();
  } catch (const std::invalid_argument&) {  // bad handles (InvalidArtError) and values
    return badParameter;
  } catch (const std::out_of_range&) {
    return badParameter;
  } catch (const std::bad_alloc&) {
    return outOfMemory;
  } catch (const std::exception&) {
    return kHostFileErr;
  } catch (...) {
    return kCantHappenErr;
  }
}

// The objects of one kind that the host lent the plug-in, each with its count of
// references. Every reference is one live object in the host's accounting, under `kind`.
template <typename T>
class CountedObjects {
 public:
  explicit CountedObjects(const char* kind) : kind_(kind) {}

  const char* kind() const { return kind_; }

  // A new object with one reference; returns its handle number.
  uintptr_t add(Host& host, T value) {
    const uintptr_t id = host.newToken();
    objects_.emplace(id, Entry{std::move(value), 1});
    host.accounting().objectCreated(kind_);
    return id;
  }

  // The object named by a handle the plug-in passed; null for null. A handle that names
  // no live object of this kind is the plug-in's misuse, and also gives null.
  T* use(Host& host, uintptr_t id, const char* operation) {
    if (id == 0) return nullptr;
    auto it = objects_.find(id);
    if (it == objects_.end()) {
      host.accounting().misuse(std::string(operation) + ": passed a " + kind_ +
                               " the host never gave, or one already given back");
      return nullptr;
    }
    return &it->second.value;
  }

  bool retain(Host& host, uintptr_t id, const char* operation) {
    if (use(host, id, operation) == nullptr) return false;
    ++objects_.at(id).references;
    host.accounting().objectCreated(kind_);
    return true;
  }

  // Gives one reference back; the object goes with its last one. False (and a misuse for
  // anything but null) when the handle names no live object.
  bool release(Host& host, uintptr_t id, const char* operation) {
    if (use(host, id, operation) == nullptr) return false;
    auto it = objects_.find(id);
    host.accounting().objectDestroyed(kind_);
    if (--it->second.references == 0) objects_.erase(it);
    return true;
  }

  size_t size() const { return objects_.size(); }

 private:
  struct Entry {
    T value;
    int references;
  };
  const char* kind_;
  std::map<uintptr_t, Entry> objects_;
};

template <typename Handle>
uintptr_t handleNumber(Handle handle) {
  return reinterpret_cast<uintptr_t>(handle);
}

template <typename Handle>
Handle handleFromNumber(uintptr_t number) {
  return reinterpret_cast<Handle>(number);
}

inline ArtHandle modelArt(AIArtHandle art) { return {handleNumber(art)}; }
inline AIArtHandle pluginArt(ArtHandle art) { return handleFromNumber<AIArtHandle>(static_cast<uintptr_t>(art.id)); }
inline LayerHandle modelLayer(AILayerHandle layer) { return {handleNumber(layer)}; }
inline AILayerHandle pluginLayer(LayerHandle layer) {
  return handleFromNumber<AILayerHandle>(static_cast<uintptr_t>(layer.id));
}

// The host's art type of an art object: group 1 (layer groups too), text frame 12, path 2
// for path-like elements, 0 for anything else.
int16_t artType(const Document& document, ArtHandle art);

// Where new art goes: relative to a reference art, as a paint order says.
struct ArtPlace {
  ArtHandle reference;
  Placement placement;
};

// The place a paint order names: above or below `prep`, inside it on top or at the bottom,
// or (above all, below all) on top or at the bottom of the current layer, whatever `prep`.
// Checked: kBadParameterErr for an unknown order or a reference that is not valid art,
// kLockedContainerErr when the group the art would go into is locked or hidden (the host
// does not change what the user cannot edit).
ASErr newArtPlace(const Document& document, int16_t paintOrder, AIArtHandle prep, ArtPlace& place);

// The host's Unicode strings (unicode_string.cpp). Their text is UTF-8.
// A new string holding `utf8`.
AIUnicodeStringHandle newUnicodeString(Host& host, std::string utf8);
// Hands `utf8` over through *string: a new string when *string is null, else the string
// *string names is overwritten. A string the host never gave is refused (kBadParameterErr).
ASErr storeUnicodeString(Host& host, AIUnicodeStringHandle* string, std::string utf8, const char* operation);
// The text of a string; a null string is empty; nothing for one the host never gave.
std::optional<std::string> unicodeStringUtf8(Host& host, AIUnicodeStringHandle string, const char* operation);
// The text of a string in an encoding (Mac Roman or UTF-8); characters the encoding cannot
// hold become '?'. Null, a string the host never gave, or another encoding: empty.
std::string unicodeStringText(AIUnicodeStringHandle string, AICharacterEncoding encoding);
void offerUnicodeStringSuite(Host& host);

}  // namespace hostsim
