// The trace of every call between host and plug-in (estampilleur --trace): each message the
// host sends to PluginMain and each suite call the plug-in makes, one line each, in the
// order they began, nested calls indented. Handles get short names in order of first
// appearance and no address or time is written, so two runs' traces diff well.
//
// When a trace is wanted the plug-in is handed copies of the suite tables whose every
// operation goes through a recording thunk; otherwise it gets the tables themselves, and
// the calls cost nothing more.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "hostapi/HostAPI.h"

namespace hostsim {

class Tracer {
 public:
  // Writes to `out`, which it closes unless it is standard error.
  explicit Tracer(std::FILE* out) : out_(out) {}
  ~Tracer();
  Tracer(const Tracer&) = delete;
  Tracer& operator=(const Tracer&) = delete;

  // A call begins: its line is reserved, to be finished when it returns. `operation` is
  // what it shows until the host operation it enters names it.
  std::size_t begin(std::string suite, std::string operation, bool named = false);
  // Names the innermost call that has no name yet (the host operation it entered).
  void entered(const char* operation);
  void finish(std::size_t line, const std::string& arguments, const std::string& result);
  std::string handle(const char* kind, const void* pointer);

 private:
  void flush();
  struct Line {
    std::string suite;
    std::string text;
    bool named = false;
    bool done = false;
    int depth = 0;
  };
  std::FILE* out_;
  std::vector<Line> pending_;  // from the oldest unfinished line on
  std::size_t first_ = 0;      // the number of pending_[0]
  std::vector<std::size_t> open_;
  std::map<std::pair<std::string, const void*>, std::string> names_;
  std::map<std::string, int> counts_;
};

// The tracer of the current host, or null.
Tracer* currentTracer();

namespace trace {

// Each argument in readable form: inputs before the call, what pointers point to after it.
template <typename T> struct HandleKind { static constexpr const char* kind = nullptr; };
#define HOSTSIM_TRACE_HANDLE(type, name) \
  template <> struct HandleKind<type> { static constexpr const char* kind = name; };
HOSTSIM_TRACE_HANDLE(SPPluginRef, "plugin")
HOSTSIM_TRACE_HANDLE(SPAccessRef, "access")
HOSTSIM_TRACE_HANDLE(AINotifierHandle, "notifier")
HOSTSIM_TRACE_HANDLE(AIAppContextHandle, "context")
HOSTSIM_TRACE_HANDLE(AIMenuItemHandle, "menuitem")
HOSTSIM_TRACE_HANDLE(AIMenuGroup, "menugroup")
HOSTSIM_TRACE_HANDLE(AIArtHandle, "art")
HOSTSIM_TRACE_HANDLE(AILayerHandle, "layer")
HOSTSIM_TRACE_HANDLE(AIMdMemoryHandle, "memory")
HOSTSIM_TRACE_HANDLE(AIUnicodeStringHandle, "ustring")
HOSTSIM_TRACE_HANDLE(AIFilePathHandle, "path")
HOSTSIM_TRACE_HANDLE(AIArtboardListHandle, "artboards")
HOSTSIM_TRACE_HANDLE(AIArtboardPropertiesHandle, "artboard")
HOSTSIM_TRACE_HANDLE(AIFontKey, "font")
HOSTSIM_TRACE_HANDLE(ADMDialogRef, "dialog")
HOSTSIM_TRACE_HANDLE(ADMItemRef, "item")
HOSTSIM_TRACE_HANDLE(ADMListRef, "list")
HOSTSIM_TRACE_HANDLE(ADMEntryRef, "entry")
HOSTSIM_TRACE_HANDLE(ADMNotifierRef, "admnotifier")
HOSTSIM_TRACE_HANDLE(ADMDrawerRef, "drawer")
HOSTSIM_TRACE_HANDLE(ADMIconRef, "icon")
HOSTSIM_TRACE_HANDLE(ATE::TextRangeRef, "range")
HOSTSIM_TRACE_HANDLE(ATE::CharFeaturesRef, "charfeatures")
HOSTSIM_TRACE_HANDLE(ATE::ParaFeaturesRef, "parafeatures")
HOSTSIM_TRACE_HANDLE(ATE::FontRef, "atefont")
HOSTSIM_TRACE_HANDLE(ATE::ApplicationPaintRef, "paint")
#undef HOSTSIM_TRACE_HANDLE

std::string text(const char* text);  // quoted, Mac Roman shown as UTF-8
std::string number(double value);
std::string code(int32_t error);     // 0, or a four-character code
std::string value(const AIRealPoint& p);
std::string value(const AIRealRect& r);
std::string value(const AIRealMatrix& m);
std::string value(const ADMRect& r);
std::string value(const ADMPoint& p);
std::string value(const AIUserDateTime& t);
std::string value(const AIColor& c);

template <typename T>
std::string value(const T& v) {
  if constexpr (HandleKind<T>::kind != nullptr) {
    return currentTracer()->handle(HandleKind<T>::kind, v);
  } else if constexpr (std::is_function_v<std::remove_pointer_t<T>>) {
    return v ? currentTracer()->handle("proc", reinterpret_cast<const void*>(v)) : "null";
  } else if constexpr (std::is_same_v<T, const char*>) {
    return text(v);
  } else if constexpr (std::is_arithmetic_v<T> || std::is_enum_v<T>) {
    return number(static_cast<double>(v));
  } else if constexpr (std::is_pointer_v<T>) {
    return v ? currentTracer()->handle("ptr", v) : "null";
  } else {
    return "{}";
  }
}

// What a pointer argument shows: a value it points to (inputs), or after a successful call
// what it points to then (outputs).
template <typename T>
constexpr bool kPointsToValue = std::is_pointer_v<T> && !std::is_void_v<std::remove_cv_t<std::remove_pointer_t<T>>> &&
                                !std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, char> &&
                                !std::is_function_v<std::remove_pointer_t<T>> && HandleKind<T>::kind == nullptr;

template <typename T>
std::string argument(const T& v, bool succeeded) {
  if constexpr (kPointsToValue<T>) {
    if (!v) return "null";
    using Pointee = std::remove_pointer_t<T>;
    if constexpr (std::is_const_v<Pointee>) return "&" + value(*v);
    else return succeeded ? "->" + value(static_cast<const std::remove_cv_t<Pointee>&>(*v)) : "->?";
  } else if constexpr (std::is_same_v<T, char*>) {
    // A buffer the host fills, terminated, when the call succeeds.
    return !v ? "null" : succeeded ? "->" + text(v) : "buffer";
  } else {
    return value(v);
  }
}

template <std::size_t N> struct Any { template <typename T> operator T() const; };

template <typename Suite, std::size_t... I>
constexpr std::size_t countFields(std::index_sequence<I...>) {
  if constexpr (requires { Suite{Any<I>{}..., Any<0>{}}; })
    return countFields<Suite>(std::make_index_sequence<sizeof...(I) + 1>{});
  else
    return sizeof...(I);
}

// The operations of a suite table, as a tuple of references.
template <typename Suite>
auto fields(Suite& suite) {
  constexpr std::size_t N = countFields<std::remove_const_t<Suite>>(std::index_sequence<>{});
  if constexpr (N == 0) {
    return std::tuple<>();
  }
  else if constexpr (N == 1) {
    auto& [f0] = suite;
    return std::tie(f0);
  }
  else if constexpr (N == 2) {
    auto& [f0, f1] = suite;
    return std::tie(f0, f1);
  }
  else if constexpr (N == 3) {
    auto& [f0, f1, f2] = suite;
    return std::tie(f0, f1, f2);
  }
  else if constexpr (N == 4) {
    auto& [f0, f1, f2, f3] = suite;
    return std::tie(f0, f1, f2, f3);
  }
  else if constexpr (N == 5) {
    auto& [f0, f1, f2, f3, f4] = suite;
    return std::tie(f0, f1, f2, f3, f4);
  }
  else if constexpr (N == 6) {
    auto& [f0, f1, f2, f3, f4, f5] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5);
  }
  else if constexpr (N == 7) {
    auto& [f0, f1, f2, f3, f4, f5, f6] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6);
  }
  else if constexpr (N == 8) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7);
  }
  else if constexpr (N == 9) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8);
  }
  else if constexpr (N == 10) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9);
  }
  else if constexpr (N == 11) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10);
  }
  else if constexpr (N == 12) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11);
  }
  else if constexpr (N == 13) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12);
  }
  else if constexpr (N == 14) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13);
  }
  else if constexpr (N == 15) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14);
  }
  else if constexpr (N == 16) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15);
  }
  else if constexpr (N == 17) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16);
  }
  else if constexpr (N == 18) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17);
  }
  else if constexpr (N == 19) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18);
  }
  else if constexpr (N == 20) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19);
  }
  else if constexpr (N == 21) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20);
  }
  else if constexpr (N == 22) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21);
  }
  else if constexpr (N == 23) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21, f22] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21, f22);
  }
  else if constexpr (N == 24) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21, f22, f23] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21, f22, f23);
  }
  else if constexpr (N == 25) {
    auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21, f22, f23, f24] = suite;
    return std::tie(f0, f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20, f21, f22, f23, f24);
  }
  else {
    static_assert(N <= 25, "a suite of more than 25 operations");
  }
}

template <typename Suite>
struct Original {
  static inline const Suite* table = nullptr;
  static inline std::string name;
};

template <typename Suite, std::size_t I, typename F> struct Thunk;
template <typename Suite, std::size_t I, typename R, typename... A>
struct Thunk<Suite, I, R (*)(A...)> {
  static R call(A... args) {
    Tracer* tracer = currentTracer();
    const auto original = std::get<I>(fields(*Original<Suite>::table));
    if (tracer == nullptr) return original(args...);
    const std::size_t line = tracer->begin(Original<Suite>::name, "#" + std::to_string(I));
    const auto show = [&]([[maybe_unused]] bool succeeded) {
      std::string shown;
      ((shown += (shown.empty() ? "" : ", ") + argument(args, succeeded)), ...);
      return shown;
    };
    if constexpr (std::is_void_v<R>) {
      original(args...);
      tracer->finish(line, show(true), "");
    } else {
      R result = original(args...);
      if constexpr (std::is_same_v<R, int32_t>)
        tracer->finish(line, show(result == 0), code(result));
      else
        tracer->finish(line, show(true), value(result));
      return result;
    }
  }
};

// A copy of `table` whose operations are traced.
template <typename Suite>
const void* tracedTable(const void* table, const std::string& name) {
  static Suite copy;
  Original<Suite>::table = static_cast<const Suite*>(table);
  Original<Suite>::name = name;
  copy = *Original<Suite>::table;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    auto slots = fields(copy);
    ((std::get<I>(slots) = &Thunk<Suite, I, std::remove_reference_t<std::tuple_element_t<I, decltype(slots)>>>::call),
     ...);
  }(std::make_index_sequence<std::tuple_size_v<decltype(fields(copy))>>{});
  return &copy;
}

}  // namespace trace
}  // namespace hostsim
