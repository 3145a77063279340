// Damaged preferences through the estampilleur program, key by key and whole files: stamping
// still works, each damaged value reads as if the key were missing (or as the nearest sound
// value), an unreadable file is kept as FILE.corrupt before anything replaces it, and the input
// document is never touched.
#include <cmath>
#include <random>

#include "hostile.h"
#include "hostsim/model/preferences.h"

namespace hostile {
namespace {

constexpr const char* kSection = "QZVEstampillage";
enum class Kind { Boolean, Integer, Real, FontName, Separator };
struct Key {
  const char* name;
  Kind kind;
  const char* value;  // in the starting file: valid, and where possible not the default
};

// Every setting the plug-in keeps, in the order it reads them.
const Key kKeys[] = {
    {"AvecNum", Kind::Boolean, "false"}, {"AvecNom", Kind::Boolean, "true"}, {"PoliceNom", Kind::FontName, "\"DejaVuSerif\""},
    {"CorpsNom", Kind::Real, "10.0"}, {"AvecTaille", Kind::Boolean, "true"},
    {"PoliceTaille", Kind::FontName, "\"DejaVuSansMono\""}, {"CorpsTaille", Kind::Real, "14.0"},
    {"AvecDate", Kind::Boolean, "true"}, {"PoliceDate", Kind::FontName, "\"DejaVuSans-Bold\""},
    {"CorpsDate", Kind::Real, "9.0"}, {"FormatDate", Kind::Integer, "2"}, {"InfosSuper", Kind::Boolean, "false"},
    {"TousPlans", Kind::Boolean, "false"}, {"Separateur", Kind::Separator, "\" | \""},
    {"EnHaut", Kind::Boolean, "false"}, {"EnBas", Kind::Boolean, "true"}, {"EnDessous", Kind::Boolean, "false"}};

// What a damaged value gives: the stamps of a file without the key, silently; or the whole
// file set aside (the defaults, a warning naming the line, FILE.corrupt); or a stamp holding
// `shown` but not `shown` + `oneMore` (a separator cut at 20 characters...).
struct Damage {
  std::string value;  // what follows "KEY = " (raw bytes allowed)
  bool unparsable = false;
  std::string shown = {}, oneMore = {};
};

std::vector<Damage> damagesFor(Kind kind) {
  std::vector<Damage> damages = {{"", true}, {"oui", true}, {"\x01\x02\xFF\xFE\x7F", true}, {"\"abc", true},
                                 {"\"\\x00bin\\x01\""}, {"\"\xFF\xFE\xC3\""}, {repeated("9", 400)}, {"\"\""}};
  const auto overlong = [](const char* unit) { return Damage{"\"" + repeated(unit, 5000) + "\""}; };
  std::vector<Damage> more;
  switch (kind) {
    case Kind::Boolean: more = {overlong("t"), {"2"}, {"-1"}, {"\"true\""}, {"1.0"}}; break;
    case Kind::Integer:
      more = {overlong("7"), {"7"}, {"3"}, {"-1"}, {"2147483648"}, {"-2147483649"}, {"1.5"}, {"true"}, {"\"2\""}};
      break;
    case Kind::Real:
      more = {overlong("1"), {"nan"},   {"inf"},   {"-inf"},  {"-5.0"}, {"0.0"},
              {"0.05"},      {"1e-320"}, {"1e308"}, {"1e999"}, {"true"}, {"\"12.0\""}};
      break;
    case Kind::FontName:
      more = {overlong("X"), {"\"PasDeTellePolice\""}, {"\"\xE6\x97\xA5\xE6\x9C\xAC\""}, {"12"}, {"true"}};  // 日本
      break;
    case Kind::Separator:
      more = {{"12"}, {"true"}, {"\"" + repeated("ab", 2500) + "\"", false, repeated("ab", 10), "a"},
              {"\"" + repeated("\xC3\xA9", 30) + "\"", false, repeated("\xC3\xA9", 20), "\xC3\xA9"},  // é
              {"\"" + repeated("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 40) + "\"", false, repeated("?", 20), "?"},
              // Characters a document cannot hold show as stand-ins, not as nothing.
              {"\"\\x01\\x02\\t\"", false, "??\t"}};
      break;
  }
  damages.insert(damages.end(), more.begin(), more.end());
  return damages;
}

// The starting file, with `name` set to `value`, or left out.
std::string preferencesText(const std::string& name, const std::optional<std::string>& value) {
  std::string text = "; the stamping settings\n[QZVEstampillage]\n";
  for (const Key& key : kKeys)
    if (key.name != name || value) text += std::string(key.name) + " = " + (key.name != name ? key.value : *value) + "\n";
  return text;
}

class Preferences : public ::testing::Test {
 protected:
  // Stamps `args` with `text` (no file when null) as its preferences file; the report's entry.
  json stamp(const std::optional<std::string>& text, std::vector<std::string> args = {"affiche-a4.svg"}) {
    for (const auto& entry : std::filesystem::directory_iterator(ws.path()))
      if (entry.path().filename().string().rfind("prefs.ini", 0) == 0) std::filesystem::remove_all(entry.path());
    if (text) writeFile(prefs, *text);
    args.insert(args.begin(), {"--prefs", "prefs.ini", "-o", "out.svg"});
    result = stampUntouched(ws, args);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_FALSE(result.documents[0]["stamps"].empty()) << "nothing stamped";
    return result.documents[0];
  }
  // What the stamps on the second artboard of the three-page example look like: everything
  // but the document's own paths.
  json look(const std::optional<std::string>& text) {
    json document = stamp(text, {"--active", "2", "plaquette-multipage.svg"});
    return {document["stamps"], document["bleed"], document["alerts"]};
  }

  // What OK stored reads back cleanly, the key included, with a sound value of its kind.
  void expectStoredSoundly(const Key& key) {
    hostsim::Preferences stored = hostsim::Preferences::load(prefs);
    EXPECT_FALSE(stored.warning()) << *stored.warning();
    bool flag = false;
    std::int32_t integer = -1;
    double real = 0;
    std::string text;
    EXPECT_TRUE(key.kind == Kind::Boolean ? stored.getBool(kSection, key.name, flag)
                : key.kind == Kind::Integer
                    ? stored.getInt32(kSection, key.name, integer) && integer >= 0 && integer <= 2
                : key.kind == Kind::Real
                    ? stored.getDouble(kSection, key.name, real) && std::isfinite(real) && real >= 0.1
                    : stored.getString(kSection, key.name, text) && text.size() <= (key.kind == Kind::Separator ? 20u : 255u))
        << stored.toString();
  }

  Workspace ws;
  std::filesystem::path input = ws.example("affiche-a4.svg"), pages = ws.example("plaquette-multipage.svg");
  std::filesystem::path prefs = ws / "prefs.ini";
  Result result;
};

class DamagedKey : public Preferences, public ::testing::WithParamInterface<Key> {};

TEST_P(DamagedKey, StampsAsIfTheValueWereMissingAndStoresASoundOne) {
  const Key& key = GetParam();
  const json missing = look(preferencesText(key.name, std::nullopt)), defaults = look(std::nullopt);
  expectStoredSoundly(key);
  // Missing, a size is the default 12 points and the date the long one.
  EXPECT_TRUE(key.kind != Kind::Real || missing[0].dump().find("\"size\":12.0") != std::string::npos) << missing[0];
  EXPECT_TRUE(key.kind != Kind::Integer || missing[0].dump().find("Mardi 10 avril 2012") != std::string::npos);
  for (const Damage& damage : damagesFor(key.kind)) {
    SCOPED_TRACE(std::string(key.name) + " = " + damage.value.substr(0, 60));
    const std::string text = preferencesText(key.name, damage.value);
    const json stamps = look(text);
    std::string shown;
    for (const auto& stamp : stamps[0]) shown += stamp["text"].get<std::string>() + "\n";
    if (damage.unparsable) {
      EXPECT_EQ(stamps, defaults);
      const auto line = std::count(text.begin(), text.begin() + text.find("\n" + std::string(key.name) + " ="), '\n');
      EXPECT_NE(result.err.find("prefs.ini', line " + std::to_string(line + 2)), std::string::npos) << result.err;
      EXPECT_EQ(readFile(ws / "prefs.ini.corrupt"), text) << "the damaged file is kept whole";
    } else if (damage.shown.empty()) {
      EXPECT_EQ(stamps, missing);
      EXPECT_EQ(result.err, "") << "a value of the wrong kind reads as missing, silently";
    } else {
      EXPECT_NE(shown.find(damage.shown), std::string::npos) << shown;
      EXPECT_TRUE(damage.oneMore.empty() || shown.find(damage.shown + damage.oneMore) == std::string::npos) << shown;
    }
    expectStoredSoundly(key);
  }
}

INSTANTIATE_TEST_SUITE_P(Every, DamagedKey, ::testing::ValuesIn(kKeys),
                         [](const ::testing::TestParamInfo<Key>& key) { return std::string(key.param.name); });

TEST_F(Preferences, WholeFilesAreReadOrSetAsideAndTheStampingGoesOn) {
  const std::string settings =
      "[QZVEstampillage]\nAvecNum = false\nPoliceNom = \"DejaVuSerif\"\nCorpsTaille = 20.0\nFormatDate = 1\n"
      "InfosSuper = false\nSeparateur = \" / \"\n";
  const std::vector<std::string> defaults = {"1/1", "210 mm x 297 mm", " - affiche-a4.svg", "Mardi 10 avril 2012"},
                                 set = {" / 210 mm x 297 mm / ", "affiche-a4.svg", "Mar 10 avr 2012"};
  std::mt19937 random(6);
  std::string garbage, crlf, huge;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() & 0xFF);
  for (char c : settings) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  for (int i = 0; huge.size() < 10'000'000; ++i)
    huge += "[Section" + std::to_string(i) + "]\nCle = \"" + std::string(80, 'v') + "\"\nAutre = 1.5\n";
  const struct {
    std::string text;
    std::vector<std::string> texts;
    std::string warning = {};  // on standard error (none when empty), the file then kept as prefs.ini.corrupt
  } cases[] = {
      {"", defaults},
      {"\n\n  \t\n; nothing\n# still nothing\n", defaults},
      {"\xEF\xBB\xBF" + settings, set},  // a byte order mark
      {crlf, set},
      {huge + settings, set},
      {settings + "Long = \"" + std::string(1 << 20, 'x') + "\"\n", set},  // a megabyte line
      {garbage, defaults, "warning: preferences file 'prefs.ini', line"},
      {"[QZVEstampillage]\nAvecNum = fa" + std::string(1, '\0') + "lse\n", defaults, "line 2"},
      // Our keys under another prefix are not ours; a repeated key: the last one stands.
      {"[Autre]\nAvecNum = false\nInfosSuper = false\n[QZVEstampillage]\nFormatDate = 2\nFormatDate = 1\n",
       {"1/1", "210 mm x 297 mm", " - affiche-a4.svg", "Mar 10 avr 2012"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 100));
    EXPECT_EQ(stampTexts(stamp(c.text)), c.texts);
    EXPECT_TRUE(c.warning.empty() ? result.err.empty() : result.err.find(c.warning) != std::string::npos) << result.err;
    EXPECT_EQ(readFile(ws / "prefs.ini.corrupt"), c.warning.empty() ? "" : c.text);
    EXPECT_FALSE(hostsim::Preferences::load(prefs).warning()) << "what OK stored reads back";
  }
  bool number = true;  // another section's settings (the last case) are kept as they were
  EXPECT_TRUE(hostsim::Preferences::load(prefs).getBool("Autre", "AvecNum", number) && !number);

  // A directory instead of a file is named and left alone; a folder that does not exist yet is made.
  std::filesystem::remove(prefs);
  std::filesystem::create_directory(prefs);
  writeFile(prefs / "inside", "kept");
  Result directory = stampUntouched(ws, {"--prefs", "prefs.ini", "-o", "out.svg", "affiche-a4.svg"});
  EXPECT_EQ(directory.status, 0) << directory.err;
  EXPECT_NE(directory.err.find("preferences not read, they start empty: cannot read 'prefs.ini': Is a directory"),
            std::string::npos) << directory.err;
  EXPECT_EQ(stampTexts(directory.documents[0]), defaults);
  EXPECT_EQ(readFile(prefs / "inside"), "kept");
  EXPECT_FALSE(std::filesystem::exists(ws / "prefs.ini.corrupt"));
  EXPECT_EQ(stampUntouched(ws, {"--prefs", "deep/er/prefs.ini", "-o", "out.svg", "affiche-a4.svg"}).status, 0);
  EXPECT_TRUE(std::filesystem::exists(ws / "deep" / "er" / "prefs.ini"));
}

}  // namespace
}  // namespace hostile
