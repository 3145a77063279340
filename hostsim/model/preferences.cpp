#include "preferences.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>
#include <unordered_map>

#include "atomic_file.h"
#include "mac_roman.h"
#include "svg_syntax.h"  // formatNumber, trim

namespace hostsim {
namespace {

struct ParseError {
  std::size_t line;
  std::string what;
};

bool validName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '=' || c == '[' || c == ']' || c == '"') return false;
  }
  return name.front() != ';' && name.front() != '#';
}

void checkName(std::string_view what, std::string_view name) {
  if (!validName(name))
    throw std::invalid_argument("preference " + std::string(what) + " name \"" + std::string(name) +
                                "\" is not usable");
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of a quoted string literal (quotes included in `literal`).
std::optional<std::string> unquote(std::string_view literal, std::string& why) {
  if (literal.size() < 2 || literal.front() != '"' || literal.back() != '"') {
    why = "a string must be in double quotes";
    return std::nullopt;
  }
  literal = literal.substr(1, literal.size() - 2);
  std::string out;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    const char c = literal[i];
    if (c == '"') {
      why = "a quote inside a string must be written \\\"";
      return std::nullopt;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= literal.size()) {
      why = "a string ends with a lone backslash";
      return std::nullopt;
    }
    switch (literal[i]) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'x': {
        const int hi = i + 1 < literal.size() ? hexValue(literal[i + 1]) : -1;
        const int lo = i + 2 < literal.size() ? hexValue(literal[i + 2]) : -1;
        if (hi < 0 || lo < 0) {
          why = "\\x must be followed by two hexadecimal digits";
          return std::nullopt;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        why = std::string("unknown escape \\") + literal[i];
        return std::nullopt;
    }
  }
  return out;
}

std::string quote(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (u < 0x20 || u == 0x7F) {
          out += "\\x";
          out += kHex[u >> 4];
          out += kHex[u & 15];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

bool isIntegerLiteral(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// The form of a real; whether its value fits a double is the reader's matter.
bool isRealLiteral(std::string_view text) {
  if (text == "nan" || text == "inf" || text == "-inf" || text == "+inf") return true;
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - start;
  };
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::size_t mantissa = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (digits() == 0) return false;
  }
  return i == text.size();
}

std::string realText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0 && std::signbit(value)) return "-0.0";
  std::string text = formatNumber(value);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace

Preferences::Preferences(std::filesystem::path file) : file_(std::move(file)) {}

Preferences Preferences::load(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !ec) return Preferences(file);
  std::string text;
  try {
    text = readFile(file);
  } catch (const std::runtime_error& e) {
    Preferences empty(file);
    empty.warning_ = std::string("preferences not read, they start empty: ") + e.what();
    empty.keepCorruptCopy_ = true;
    return empty;
  }
  return parse(text, file);
}

Preferences Preferences::parse(std::string_view text, std::filesystem::path file) {
  Preferences prefs(std::move(file));
  // Some editors start a UTF-8 file with a byte order mark.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t lineNumber = 0;
  // Where each section and key stands, so that a file of many entries reads in linear time.
  std::unordered_map<std::string, std::size_t> sectionIndex;
  std::vector<std::unordered_map<std::string, std::size_t>> keyIndex;
  try {
    Section* current = nullptr;
    std::size_t currentIndex = 0;
    while (!text.empty()) {
      ++lineNumber;
      const auto newline = text.find('\n');
      std::string_view line = text.substr(0, newline);
      text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
      line = trim(line);
      if (line.empty() || line.front() == ';' || line.front() == '#') continue;
      if (line.front() == '[') {
        if (line.back() != ']') throw ParseError{lineNumber, "a section header must end with ']'"};
        const std::string_view name = trim(line.substr(1, line.size() - 2));
        if (!validName(name)) throw ParseError{lineNumber, "the section name is not usable"};
        const auto [found, added] = sectionIndex.try_emplace(std::string(name), prefs.sections_.size());
        if (added) {
          prefs.sections_.push_back({std::string(name), {}});
          keyIndex.emplace_back();
        }
        currentIndex = found->second;
        current = &prefs.sections_[currentIndex];
        continue;
      }
      const auto equals = line.find('=');
      if (equals == std::string_view::npos) throw ParseError{lineNumber, "expected 'key = value'"};
      if (!current) throw ParseError{lineNumber, "a key comes before any [section]"};
      const std::string_view key = trim(line.substr(0, equals));
      const std::string_view literal = trim(line.substr(equals + 1));
      if (!validName(key)) throw ParseError{lineNumber, "the key name is not usable"};
      Value value{std::string(key), Kind::String, {}};
      if (!literal.empty() && literal.front() == '"') {
        std::string why;
        const auto bytes = unquote(literal, why);
        if (!bytes) throw ParseError{lineNumber, why};
        value.text = *bytes;
      } else if (literal == "true" || literal == "false") {
        value.kind = Kind::Bool;
        value.text = literal;
      } else if (isIntegerLiteral(literal)) {
        value.kind = Kind::Integer;
        value.text = literal;
      } else if (isRealLiteral(literal)) {
        value.kind = Kind::Real;
        value.text = literal;
      } else {
        throw ParseError{lineNumber, "the value is neither true/false, a number nor a quoted string"};
      }
      // A repeated key: the last one stands, as in most INI readers. The earlier one is
      // left without a name here and dropped once the whole file is read.
      const auto [at, fresh] = keyIndex[currentIndex].try_emplace(value.key, current->values.size());
      if (!fresh) {
        current->values[at->second].key.clear();
        at->second = current->values.size();
      }
      current->values.push_back(std::move(value));
    }
  } catch (const ParseError& error) {
    Preferences empty(prefs.file_);
    empty.warning_ = "preferences file '" + prefs.file_.string() + "', line " +
                     std::to_string(error.line) + ": " + error.what +
                     "; the preferences start empty and the file is kept as '" +
                     prefs.file_.string() + ".corrupt'";
    empty.keepCorruptCopy_ = true;
    return empty;
  }
  for (Section& section : prefs.sections_)
    std::erase_if(section.values, [](const Value& v) { return v.key.empty(); });
  return prefs;
}

const Preferences::Value* Preferences::lookUp(std::string_view section, std::string_view key) const {
  for (const Section& s : sections_) {
    if (s.name != section) continue;
    for (const Value& v : s.values)
      if (v.key == key) return &v;
  }
  return nullptr;
}

bool Preferences::contains(std::string_view section, std::string_view key) const {
  return lookUp(section, key) != nullptr;
}

bool Preferences::getBool(std::string_view section, std::string_view key, bool& out) const {
  const Value* v = lookUp(section, key);
  if (!v || v->kind != Kind::Bool) return false;
  out = v->text == "true";
  return true;
}

bool Preferences::getInt32(std::string_view section, std::string_view key, std::int32_t& out) const {
  const Value* v = lookUp(section, key);
  if (!v || v->kind != Kind::Integer) return false;
  std::string_view text = v->text;
  if (text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return false;
  out = value;
  return true;
}

bool Preferences::getDouble(std::string_view section, std::string_view key, double& out) const {
  const Value* v = lookUp(section, key);
  if (!v || (v->kind != Kind::Real && v->kind != Kind::Integer)) return false;
  std::string_view text = v->text;
  if (text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return false;
  out = value;
  return true;
}

bool Preferences::getString(std::string_view section, std::string_view key, std::string& out) const {
  const Value* v = lookUp(section, key);
  if (!v || v->kind != Kind::String) return false;
  if (v->text.find('\0') != std::string::npos || !isValidUtf8(v->text)) return false;
  out = utf8ToMacRoman(v->text);
  return true;
}

void Preferences::put(std::string_view section, std::string_view key, Kind kind, std::string text) {
  checkName("section", section);
  checkName("key", key);
  Section* target = nullptr;
  for (Section& s : sections_)
    if (s.name == section) target = &s;
  if (!target) {
    sections_.push_back({std::string(section), {}});
    target = &sections_.back();
  }
  for (Value& v : target->values) {
    if (v.key != key) continue;
    if (v.kind != kind || v.text != text) modified_ = true;
    v.kind = kind;
    v.text = std::move(text);
    return;
  }
  target->values.push_back({std::string(key), kind, std::move(text)});
  modified_ = true;
}

void Preferences::putBool(std::string_view section, std::string_view key, bool value) {
  put(section, key, Kind::Bool, value ? "true" : "false");
}

void Preferences::putInt32(std::string_view section, std::string_view key, std::int32_t value) {
  put(section, key, Kind::Integer, std::to_string(value));
}

void Preferences::putDouble(std::string_view section, std::string_view key, double value) {
  put(section, key, Kind::Real, realText(value));
}

void Preferences::putString(std::string_view section, std::string_view key, std::string_view macRoman) {
  put(section, key, Kind::String, macRomanToUtf8(macRoman));
}

std::string Preferences::toString() const {
  std::string out;
  for (const Section& s : sections_) {
    if (!out.empty()) out += '\n';
    out += "[" + s.name + "]\n";
    for (const Value& v : s.values)
      out += v.key + " = " + (v.kind == Kind::String ? quote(v.text) : v.text) + "\n";
  }
  return out;
}

void Preferences::save() {
  if (keepCorruptCopy_) {
    std::error_code ec;
    if (std::filesystem::exists(file_, ec)) {
      // Never overwrite an earlier copy: pick the first free name.
      std::filesystem::path copy = file_.string() + ".corrupt";
      for (int n = 2; std::filesystem::exists(copy, ec); ++n)
        copy = file_.string() + ".corrupt" + std::to_string(n);
      std::filesystem::copy_file(file_, copy, ec);
      if (ec)
        throw std::runtime_error("preferences not saved: the unreadable file '" + file_.string() +
                                 "' could not be kept as '" + copy.string() + "': " + ec.message());
    }
    keepCorruptCopy_ = false;
  }
  writeFileAtomically(file_, toString(), /*createParentDirectories=*/true);
  modified_ = false;
}

}  // namespace hostsim
