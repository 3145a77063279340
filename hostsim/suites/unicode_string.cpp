// The host's Unicode strings: counted objects holding well-formed UTF-8, made from and
// turned back into Mac Roman (the platform encoding) or UTF-8.
#include <cstring>
#include <string>
#include <string_view>

#include "hostsim/model/mac_roman.h"
#include "hostsim/suites/doc_support.h"

namespace hostsim {

namespace {

struct UnicodeStrings {
  CountedObjects<std::string> strings{"unicode string"};
};

CountedObjects<std::string>& strings(Host& host) { return host.state<UnicodeStrings>().strings; }

// Each ill-formed UTF-8 sequence becomes one '?', so a string always holds characters.
std::string wellFormed(std::string_view utf8) {
  std::string out;
  while (!utf8.empty()) {
    const Utf8Step step = decodeUtf8(utf8);
    if (step.codePoint)
      out.append(utf8.substr(0, step.length));
    else
      out += kMacRomanStandIn;
    utf8.remove_prefix(step.length);
  }
  return out;
}

// The text in an encoding the host speaks; nothing for another encoding.
std::optional<std::string> encoded(const std::string& utf8, AICharacterEncoding encoding) {
  if (encoding == kAIPlatformCharacterEncoding) return utf8ToMacRoman(utf8);
  if (encoding == kAIUTF8CharacterEncoding) return utf8;
  return std::nullopt;
}

ASErr initialize(AIUnicodeStringHandle* string, const char* text, int32_t byteLength, AICharacterEncoding encoding) {
  if (string != nullptr) *string = nullptr;
  HOSTSIM_ENTER("AI Unicode String Suite.Initialize");
  if (string == nullptr) return kBadParameterErr;
  if (byteLength < 0 || (text == nullptr && byteLength != 0)) return kBadParameterErr;
  const std::string_view bytes = text == nullptr ? std::string_view() : std::string_view(text, size_t(byteLength));
  if (encoding != kAIPlatformCharacterEncoding && encoding != kAIUTF8CharacterEncoding) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    *string = newUnicodeString(host, encoding == kAIPlatformCharacterEncoding ? macRomanToUtf8(bytes) : std::string(bytes));
    return kNoErr;
  });
}

ASErr destroy(AIUnicodeStringHandle string) {
  Host& host = Host::current();
  // The string is given back even when a fault is planned: only the answer changes.
  const auto fault = host.enter("AI Unicode String Suite.Destroy");
  if (string == nullptr) return fault.value_or(kNoErr);
  if (!strings(host).release(host, handleNumber(string), "AI Unicode String Suite.Destroy")) return kBadParameterErr;
  return fault.value_or(kNoErr);
}

ASErr copy(AIUnicodeStringHandle* string, AIUnicodeStringHandle source) {
  HOSTSIM_ENTER("AI Unicode String Suite.Copy");
  if (string == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    const auto text = unicodeStringUtf8(host, source, "AI Unicode String Suite.Copy");
    if (!text) return kBadParameterErr;
    return storeUnicodeString(host, string, *text, "AI Unicode String Suite.Copy");
  });
}

ASErr getAs(AIUnicodeStringHandle string, AICharacterEncoding encoding, AICharBufferData* buffer, uint32_t* count) {
  if (count != nullptr) *count = 0;
  HOSTSIM_ENTER("AI Unicode String Suite.GetAs");
  constexpr const char* kOperation = "AI Unicode String Suite.GetAs";
  if (buffer == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    const auto utf8 = unicodeStringUtf8(host, string, kOperation);
    if (!utf8) return kBadParameterErr;
    const auto text = encoded(*utf8, encoding);
    if (!text) return kBadParameterErr;
    // The buffer's old block goes first; the new one has room for a terminator too.
    if (buffer->buffer != nullptr) host.freeBlock(buffer->buffer);
    buffer->buffer = nullptr;
    buffer->count = 0;
    void* block = nullptr;
    if (ASErr error = host.allocateBlock(text->size() + 1, "SP Blocks", &block)) return error;
    std::memcpy(block, text->c_str(), text->size() + 1);
    buffer->buffer = static_cast<char*>(block);
    buffer->count = static_cast<uint32_t>(text->size());
    if (count != nullptr) *count = buffer->count;
    return kNoErr;
  });
}

int32_t compare(AIUnicodeStringHandle a, AIUnicodeStringHandle b) {
  HOSTSIM_ENTER_OR("AI Unicode String Suite.Compare", 1);
  Host& host = Host::current();
  try {
    // A string the host never gave is noted and compared as empty.
    const std::string left = unicodeStringUtf8(host, a, "AI Unicode String Suite.Compare").value_or("");
    const std::string right = unicodeStringUtf8(host, b, "AI Unicode String Suite.Compare").value_or("");
    // UTF-8 bytes sort as their code points do.
    const int order = left.compare(right);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
  } catch (...) {
    return 1;
  }
}

const AIUnicodeStringSuite kUnicodeString = {initialize, destroy, copy, getAs, compare};

}  // namespace

AIUnicodeStringHandle newUnicodeString(Host& host, std::string utf8) {
  if (!isValidUtf8(utf8)) utf8 = wellFormed(utf8);  // file names, for one, are only bytes
  return handleFromNumber<AIUnicodeStringHandle>(strings(host).add(host, std::move(utf8)));
}

ASErr storeUnicodeString(Host& host, AIUnicodeStringHandle* string, std::string utf8, const char* operation) {
  if (string == nullptr) return kBadParameterErr;
  if (*string == nullptr) {
    *string = newUnicodeString(host, std::move(utf8));
    return kNoErr;
  }
  std::string* existing = strings(host).use(host, handleNumber(*string), operation);
  if (existing == nullptr) return kBadParameterErr;
  *existing = isValidUtf8(utf8) ? std::move(utf8) : wellFormed(utf8);
  return kNoErr;
}

std::optional<std::string> unicodeStringUtf8(Host& host, AIUnicodeStringHandle string, const char* operation) {
  if (string == nullptr) return std::string();
  const std::string* text = strings(host).use(host, handleNumber(string), operation);
  if (text == nullptr) return std::nullopt;
  return *text;
}

std::string unicodeStringText(AIUnicodeStringHandle string, AICharacterEncoding encoding) {
  Host& host = Host::current();
  const auto utf8 = unicodeStringUtf8(host, string, "reading a Unicode string");
  if (!utf8) return {};
  return encoded(*utf8, encoding).value_or(std::string());
}

void offerUnicodeStringSuite(Host& host) {
  host.offerSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &kUnicodeString);
}

}  // namespace hostsim
