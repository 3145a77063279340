// The preferences reader on any bytes: a file is either read or set aside with a warning;
// typed reads never fail badly, and what the store writes reads back as the same store.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "preferences.h"

namespace {

// A broken property names itself before the abort that the fuzzer reports.
void fail(const char* condition, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, line, condition);
  std::abort();
}
#define require(condition) ((condition) ? (void)0 : fail(#condition, __LINE__))

constexpr const char* kSection = "QZVEstampillage";
constexpr const char* kKeys[] = {"AvecNum",   "AvecNom",      "PoliceNom",  "CorpsNom",   "AvecTaille", "PoliceTaille",
                                 "CorpsTaille", "AvecDate",   "PoliceDate", "CorpsDate",  "FormatDate", "InfosSuper",
                                 "TousPlans", "Separateur",   "EnHaut",     "EnBas",      "EnDessous"};

// Every typed read of a key, the same in both stores.
void sameReads(const hostsim::Preferences& a, const hostsim::Preferences& b, const char* section, const char* key) {
  bool flagA = false, flagB = false;
  require(a.getBool(section, key, flagA) == b.getBool(section, key, flagB) && flagA == flagB);
  std::int32_t intA = 0, intB = 0;
  require(a.getInt32(section, key, intA) == b.getInt32(section, key, intB) && intA == intB);
  double realA = 0, realB = 0;
  const bool readA = a.getDouble(section, key, realA);
  require(readA == b.getDouble(section, key, realB));
  require((std::isnan(realA) && std::isnan(realB)) || realA == realB);
  std::string textA, textB;
  require(a.getString(section, key, textA) == b.getString(section, key, textB) && textA == textB);
  require(a.contains(section, key) == b.contains(section, key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const hostsim::Preferences store = hostsim::Preferences::parse(input, "fuzz.ini");
  if (store.warning()) require(store.toString().empty());  // set aside whole

  // What the store writes reads back as the same store, and writes the same again.
  const std::string written = store.toString();
  const hostsim::Preferences again = hostsim::Preferences::parse(written, "again.ini");
  require(!again.warning());
  require(again.toString() == written);
  for (const char* key : kKeys) sameReads(store, again, kSection, key);

  // Values taken from the input go through put, the file and get unchanged.
  hostsim::Preferences edited = again;
  std::string text(input.substr(0, 64));
  double real = 0;
  std::int32_t integer = 0;
  if (size >= sizeof real) std::memcpy(&real, data, sizeof real);
  if (size >= sizeof integer) std::memcpy(&integer, data + size - sizeof integer, sizeof integer);
  edited.putString(kSection, "Separateur", text);
  edited.putDouble(kSection, "CorpsNom", real);
  edited.putInt32(kSection, "FormatDate", integer);
  edited.putBool(kSection, "EnBas", size % 2 == 1);
  const hostsim::Preferences reread = hostsim::Preferences::parse(edited.toString(), "edited.ini");
  require(!reread.warning());
  std::string textBack;
  // A string with a NUL byte is stored but never read back as text.
  require(reread.getString(kSection, "Separateur", textBack) == (text.find('\0') == std::string::npos));
  if (text.find('\0') == std::string::npos) require(textBack == text);
  double realBack = 0;
  require(reread.getDouble(kSection, "CorpsNom", realBack));
  require(std::isnan(real) ? std::isnan(realBack) : realBack == real && std::signbit(realBack) == std::signbit(real));
  std::int32_t integerBack = 0;
  require(reread.getInt32(kSection, "FormatDate", integerBack) && integerBack == integer);
  bool flagBack = false;
  require(reread.getBool(kSection, "EnBas", flagBack) && flagBack == (size % 2 == 1));
  return 0;
}
