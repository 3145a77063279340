// The host's preference store: sections (the plug-in's prefix) holding keys
// with typed values, kept in an INI file:
//
//   [QZVEstampillage]
//   AvecNom = true
//   FormatDate = 0
//   CorpsNom = 12.0
//   Separateur = " - "
//
// Strings are Mac Roman bytes through the API and UTF-8 in the file, quoted,
// with \" \\ \n \r \t and \xHH escapes. Reals are written with enough digits
// to read back exactly and always with a point or exponent, so the file says
// each value's kind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim {

class Preferences {
 public:
  // An empty store that saves to `file`.
  explicit Preferences(std::filesystem::path file);

  // Reads `file`. A missing file gives an empty store; a file that cannot be
  // read or parsed gives an empty store and one warning naming the file (and
  // the line). Such a file is copied to FILE.corrupt before the first save
  // replaces it.
  static Preferences load(const std::filesystem::path& file);
  static Preferences parse(std::string_view text, std::filesystem::path file);

  const std::filesystem::path& file() const { return file_; }
  const std::optional<std::string>& warning() const { return warning_; }

  // Each read returns false and leaves `out` unchanged when the key is
  // missing or its value is of another kind or out of range.
  bool getBool(std::string_view section, std::string_view key, bool& out) const;
  bool getInt32(std::string_view section, std::string_view key, std::int32_t& out) const;
  bool getDouble(std::string_view section, std::string_view key, double& out) const;  // integers too
  // Mac Roman; a value with NUL bytes or ill-formed UTF-8 is binary and not read.
  bool getString(std::string_view section, std::string_view key, std::string& out) const;

  // Section and key names: printable, no spaces, '=', '[' or ']'. Throws
  // std::invalid_argument for other names.
  void putBool(std::string_view section, std::string_view key, bool value);
  void putInt32(std::string_view section, std::string_view key, std::int32_t value);
  void putDouble(std::string_view section, std::string_view key, double value);
  void putString(std::string_view section, std::string_view key, std::string_view macRoman);

  bool contains(std::string_view section, std::string_view key) const;
  bool modified() const { return modified_; }

  std::string toString() const;
  // Atomic write, creating the folder; keeps FILE.corrupt first when the file
  // held unreadable content. Throws std::runtime_error naming the file.
  void save();

 private:
  enum class Kind { Bool, Integer, Real, String };
  struct Value {
    std::string key;
    Kind kind = Kind::String;
    std::string text;  // the literal; for strings the decoded UTF-8 bytes
  };
  struct Section {
    std::string name;
    std::vector<Value> values;
  };

  const Value* lookUp(std::string_view section, std::string_view key) const;
  void put(std::string_view section, std::string_view key, Kind kind, std::string text);

  std::filesystem::path file_;
  std::vector<Section> sections_;
  std::optional<std::string> warning_;
  bool keepCorruptCopy_ = false;
  bool modified_ = false;
};

}  // namespace hostsim
