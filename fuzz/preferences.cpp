// The preferences reader on any bytes: a file is either read or set aside with a warning;
// typed reads never fail badly, and what the store writes reads back as the same store.
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "preferences.h"
#include "fuzz.h"

constexpr const char* kSection = "QZVEstampillage";
constexpr const char* kKeys[] = {"AvecNum",    "AvecNom",    "PoliceNom", "CorpsNom",   "AvecTaille", "PoliceTaille",
                                 "CorpsTaille", "AvecDate",  "PoliceDate", "CorpsDate", "FormatDate", "InfosSuper",
                                 "TousPlans",  "Separateur", "EnHaut",    "EnBas",      "EnDessous"};

// Every typed read of a key, the same in both stores.
static void sameReads(const hostsim::Preferences& a, const hostsim::Preferences& b, const char* key) {
  bool flagA = false, flagB = false;
  require(a.getBool(kSection, key, flagA) == b.getBool(kSection, key, flagB) && flagA == flagB);
  std::int32_t intA = 0, intB = 0;
  require(a.getInt32(kSection, key, intA) == b.getInt32(kSection, key, intB) && intA == intB);
  double realA = 0, realB = 0;
  require(a.getDouble(kSection, key, realA) == b.getDouble(kSection, key, realB) &&
          ((std::isnan(realA) && std::isnan(realB)) || realA == realB));
  std::string textA, textB;
  require(a.getString(kSection, key, textA) == b.getString(kSection, key, textB) && textA == textB);
  require(a.contains(kSection, key) == b.contains(kSection, key));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const hostsim::Preferences store = hostsim::Preferences::parse(input, "fuzz.ini");
  if (store.warning()) require(store.toString().empty());  // set aside whole

  // What the store writes reads back as the same store, and writes the same again.
  const std::string written = store.toString();
  hostsim::Preferences again = hostsim::Preferences::parse(written, "again.ini");
  require(!again.warning() && again.toString() == written);
  for (const char* key : kKeys) sameReads(store, again, key);

  // Values from the input go through put, the file and get unchanged (a string with a NUL is never read back).
  const std::string text(input.substr(0, 64));
  double real = 0, realBack = 0;
  std::int32_t integer = 0, integerBack = 0;
  if (size >= sizeof real) std::memcpy(&real, data, sizeof real);
  if (size >= sizeof integer) std::memcpy(&integer, data + size - sizeof integer, sizeof integer);
  again.putString(kSection, "Separateur", text);
  again.putDouble(kSection, "CorpsNom", real);
  again.putInt32(kSection, "FormatDate", integer);
  again.putBool(kSection, "EnBas", size % 2 == 1);
  const hostsim::Preferences reread = hostsim::Preferences::parse(again.toString(), "edited.ini");
  std::string textBack;
  bool flagBack = false;
  const bool nul = text.find('\0') != std::string::npos;
  require(!reread.warning() && reread.getString(kSection, "Separateur", textBack) == !nul && (nul || textBack == text));
  require(reread.getDouble(kSection, "CorpsNom", realBack) &&
          (std::isnan(real) ? std::isnan(realBack) : realBack == real && std::signbit(realBack) == std::signbit(real)));
  require(reread.getInt32(kSection, "FormatDate", integerBack) && integerBack == integer);
  require(reread.getBool(kSection, "EnBas", flagBack) && flagBack == (size % 2 == 1));
  return 0;
}
