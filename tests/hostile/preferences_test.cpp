// Damaged preferences, key by key, through the estampilleur program: stamping still works,
// each damaged value reads as if the key were missing (or as the nearest sound value), an
// unreadable file is kept as FILE.corrupt before anything replaces it, and the input
// document is never touched.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hostsim/model/preferences.h"
#include "support.h"

namespace hostile {
namespace {

using nlohmann::json;

enum class Kind { Boolean, Integer, Real, FontName, Separator };

struct Key {
  const char* name;
  Kind kind;
  const char* value;  // in the starting file: valid, and where possible not the default
};

void PrintTo(const Key& key, std::ostream* out) { *out << key.name; }

// Every setting the plug-in keeps, in the order it reads them.
const std::vector<Key> kKeys = {
    {"AvecNum", Kind::Boolean, "false"},
    {"AvecNom", Kind::Boolean, "true"},
    {"PoliceNom", Kind::FontName, "\"DejaVuSerif\""},
    {"CorpsNom", Kind::Real, "10.0"},
    {"AvecTaille", Kind::Boolean, "true"},
    {"PoliceTaille", Kind::FontName, "\"DejaVuSansMono\""},
    {"CorpsTaille", Kind::Real, "14.0"},
    {"AvecDate", Kind::Boolean, "true"},
    {"PoliceDate", Kind::FontName, "\"DejaVuSans-Bold\""},
    {"CorpsDate", Kind::Real, "9.0"},
    {"FormatDate", Kind::Integer, "2"},
    {"InfosSuper", Kind::Boolean, "false"},
    {"TousPlans", Kind::Boolean, "false"},
    {"Separateur", Kind::Separator, "\" | \""},
    {"EnHaut", Kind::Boolean, "false"},
    {"EnBas", Kind::Boolean, "true"},
    {"EnDessous", Kind::Boolean, "false"},
};

enum class Expect {
  LikeMissing,  // the stamps are those of a file without the key
  Unparsable,   // the whole file is set aside: the defaults, a warning, FILE.corrupt
  Checked,      // only `check` says what is right
};

using Check = std::function<void(const json& document)>;

struct Damage {
  std::string label;
  std::string value;  // what follows "KEY = " (raw bytes allowed)
  Expect expect;
  Check check = {};
};

std::string repeated(const std::string& unit, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

// Whether some stamp holds `text`.
bool stamped(const json& document, const std::string& text) {
  for (const auto& t : stampTexts(document))
    if (t.find(text) != std::string::npos) return true;
  return false;
}

// The separator as the stamps show it: exactly `expected`, never one character more.
Check separatorIs(const std::string& expected, const std::string& oneMore) {
  return [=](const json& document) {
    EXPECT_TRUE(stamped(document, expected)) << document["stamps"].dump();
    EXPECT_FALSE(stamped(document, expected + oneMore)) << "cut at 20 characters";
  };
}

// The date as the stamps show it.
Check dateIs(const std::string& expected) {
  return [=](const json& document) { EXPECT_TRUE(stamped(document, expected)) << document["stamps"].dump(); };
}

// Some stamp is set at the default 12 points: the damaged size fell back.
Check someSizeIsTheDefault() {
  return [](const json& document) {
    bool found = false;
    for (const auto& stamp : document["stamps"]) found = found || stamp["size"] == 12.0;
    EXPECT_TRUE(found) << document["stamps"].dump();
  };
}

std::vector<Damage> damagesFor(Kind kind) {
  std::vector<Damage> damages = {
      {"nothing after =", "", Expect::Unparsable},
      {"a bare word", "oui", Expect::Unparsable},
      {"raw binary bytes", "\x01\x02\xFF\xFE\x7F", Expect::Unparsable},
      {"an unterminated string", "\"abc", Expect::Unparsable},
      {"a string with a NUL byte", "\"\\x00bin\\x01\"", Expect::LikeMissing},
      {"a string of ill-formed UTF-8", "\"\xFF\xFE\xC3\"", Expect::LikeMissing},
      {"a 400-digit number", repeated("9", 400), Expect::LikeMissing},
  };
  const auto add = [&](std::string label, std::string value, Expect expect = Expect::LikeMissing,
                       Check check = {}) { damages.push_back({std::move(label), std::move(value), expect, check}); };
  switch (kind) {
    case Kind::Boolean:
      add("an empty string", "\"\"");
      add("a 5000-byte string", "\"" + repeated("t", 5000) + "\"");
      add("the number 2", "2");
      add("the number -1", "-1");
      add("true in quotes", "\"true\"");
      add("a real", "1.0");
      break;
    case Kind::Integer:
      add("an empty string", "\"\"");
      add("a 5000-byte string", "\"" + repeated("7", 5000) + "\"");
      add("7, no format", "7", Expect::LikeMissing, dateIs("Mardi 10 avril 2012"));
      add("3, one past the last format", "3");
      add("-1", "-1");
      add("2^31, beyond 32 bits", "2147483648");
      add("-2^31 - 1", "-2147483649");
      add("a real", "1.5");
      add("a boolean", "true");
      add("a number in quotes", "\"2\"");
      break;
    case Kind::Real:
      add("an empty string", "\"\"");
      add("a 5000-byte string", "\"" + repeated("1", 5000) + "\"");
      add("nan", "nan", Expect::LikeMissing, someSizeIsTheDefault());
      add("inf", "inf");
      add("-inf", "-inf");
      add("a negative size", "-5.0", Expect::LikeMissing, someSizeIsTheDefault());
      add("zero", "0.0");
      add("below the smallest size", "0.05");
      add("a denormal", "1e-320");
      add("beyond single precision", "1e308");
      add("beyond double precision", "1e999");
      add("a boolean", "true");
      add("a number in quotes", "\"12.0\"");
      break;
    case Kind::FontName:
      add("an empty string", "\"\"");
      add("a 5000-byte name", "\"" + repeated("X", 5000) + "\"");
      add("a font the host lacks", "\"PasDeTellePolice\"");
      add("a name Mac Roman cannot hold", "\"\xE6\x97\xA5\xE6\x9C\xAC\"");  // 日本
      add("a number", "12");
      add("a boolean", "true");
      break;
    case Kind::Separator:
      add("an empty string", "\"\"");
      add("a number", "12");
      add("a boolean", "true");
      add("a 5000-byte separator", "\"" + repeated("ab", 2500) + "\"", Expect::Checked,
          separatorIs(repeated("ab", 10), "a"));
      add("30 accented letters", "\"" + repeated("\xC3\xA9", 30) + "\"", Expect::Checked,  // é
          separatorIs(repeated("\xC3\xA9", 20), "\xC3\xA9"));
      add("120 characters Mac Roman cannot hold", "\"" + repeated("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", 40) + "\"",
          Expect::Checked, separatorIs(repeated("?", 20), "?"));  // 日本語
      add("control characters", "\"\\x01\\x02\\t\"", Expect::Checked, [](const json& document) {
        // Characters a document cannot hold show as stand-ins, not as nothing.
        EXPECT_TRUE(stamped(document, "??\t")) << document["stamps"].dump();
      });
      break;
  }
  return damages;
}

int damageCount() {
  int count = 0;
  for (const Key& key : kKeys) count += 1 + static_cast<int>(damagesFor(key.kind).size());  // +1: missing
  return count;
}
const int kRegistered = countInputs("preferences: damaged values of the 17 keys", damageCount());

std::string preferencesText(const std::string& name, const std::optional<std::string>& value) {
  std::string text = "; the stamping settings\n[QZVEstampillage]\n";
  for (const Key& key : kKeys) {
    if (key.name != name) {
      text += std::string(key.name) + " = " + key.value + "\n";
    } else if (value) {
      text += std::string(key.name) + " = " + *value + "\n";
    }
  }
  return text;
}

// The line of `name` in preferencesText (a comment and the section come first).
int lineOf(const std::string& name) {
  for (size_t i = 0; i < kKeys.size(); ++i)
    if (kKeys[i].name == name) return 3 + static_cast<int>(i);
  return 0;
}

struct Outcome {
  Result result;
  json document;
};

// What the stamps look like: everything but the document's own paths.
json look(const json& document) {
  return {{"stamps", document.value("stamps", json())},
          {"bleed", document.value("bleed", json())},
          {"alerts", document.value("alerts", json())}};
}

class Preferences : public ::testing::Test {
 protected:
  // Stamps the second artboard of the three-page example with the preferences `text`
  // (no file at all when empty) and checks what holds for every run.
  Outcome stamp(const std::optional<std::string>& text, const std::string& what) {
    for (const auto& entry : std::filesystem::directory_iterator(ws.path())) {
      const std::string name = entry.path().filename().string();
      if (name == "out.svg" || name == "report.json" || name.rfind("prefs.ini", 0) == 0)
        std::filesystem::remove_all(entry.path());
    }
    if (text) writeFile(prefs, *text);
    const Snapshot before = Snapshot::of(input);
    Outcome run;
    run.result = ws.run({"stamp", "--date", "2012-04-10", "--active", "2", "--prefs", "prefs.ini", "-o", "out.svg",
                         "--report", "report.json", input.filename().string()});
    EXPECT_EQ(run.result.status, 0) << what << "\n" << run.result.err;
    EXPECT_TRUE(Snapshot::of(input) == before) << what << ": the input document was touched";
    if (std::filesystem::exists(ws / "report.json")) run.document = firstDocument(ws / "report.json");
    EXPECT_FALSE(run.document.is_null()) << what;
    if (!run.document.is_null()) {
      EXPECT_FALSE(run.document["stamps"].empty()) << what << ": nothing stamped";
    }
    return run;
  }

  // What OK stored reads back cleanly, the key included, with a sound value of its kind.
  void expectStoredSoundly(const Key& key) {
    hostsim::Preferences stored = hostsim::Preferences::load(prefs);
    EXPECT_FALSE(stored.warning()) << *stored.warning();
    bool flag = false;
    std::int32_t integer = -1;
    double real = 0;
    std::string string;
    switch (key.kind) {
      case Kind::Boolean: EXPECT_TRUE(stored.getBool(kSection, key.name, flag)); break;
      case Kind::Integer:
        EXPECT_TRUE(stored.getInt32(kSection, key.name, integer));
        EXPECT_TRUE(integer >= 0 && integer <= 2) << integer;
        break;
      case Kind::Real:
        EXPECT_TRUE(stored.getDouble(kSection, key.name, real));
        EXPECT_TRUE(std::isfinite(real) && real >= 0.1) << real;
        break;
      case Kind::FontName:
      case Kind::Separator:
        EXPECT_TRUE(stored.getString(kSection, key.name, string));
        EXPECT_LE(string.size(), key.kind == Kind::Separator ? 20u : 255u);
        break;
    }
  }

  static constexpr const char* kSection = "QZVEstampillage";
  Workspace ws;
  std::filesystem::path input = ws.example("plaquette-multipage.svg");
  std::filesystem::path prefs = ws / "prefs.ini";
};

class DamagedKey : public Preferences, public ::testing::WithParamInterface<Key> {};

TEST_P(DamagedKey, StampsAsIfTheValueWereMissingAndStoresASoundOne) {
  const Key& key = GetParam();
  const Outcome missing = stamp(preferencesText(key.name, std::nullopt), std::string(key.name) + " missing");
  const Outcome defaults = stamp(std::nullopt, "no preferences file");
  ASSERT_FALSE(missing.document.is_null());
  ASSERT_FALSE(defaults.document.is_null());
  expectStoredSoundly(key);

  for (const Damage& damage : damagesFor(key.kind)) {
    const std::string what = std::string(key.name) + " = " + damage.label;
    SCOPED_TRACE(what);
    const std::string text = preferencesText(key.name, damage.value);
    const Outcome run = stamp(text, what);
    if (run.document.is_null()) continue;
    switch (damage.expect) {
      case Expect::LikeMissing:
        EXPECT_EQ(look(run.document), look(missing.document));
        EXPECT_EQ(run.result.err, "") << "a value of the wrong kind reads as missing, silently";
        break;
      case Expect::Unparsable: {
        EXPECT_EQ(look(run.document), look(defaults.document));
        EXPECT_NE(run.result.err.find("prefs.ini', line " + std::to_string(lineOf(key.name))), std::string::npos)
            << "the warning names the file and the line:\n" << run.result.err;
        EXPECT_EQ(readFile(ws / "prefs.ini.corrupt"), text) << "the damaged file is kept whole";
        break;
      }
      case Expect::Checked: break;
    }
    if (damage.check) damage.check(run.document);
    expectStoredSoundly(key);
  }
}

INSTANTIATE_TEST_SUITE_P(Every, DamagedKey, ::testing::ValuesIn(kKeys),
                         [](const ::testing::TestParamInfo<Key>& key) { return std::string(key.param.name); });

}  // namespace
}  // namespace hostile
