#include "font_cache.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "atomic_file.h"

namespace hostsim {
namespace {

constexpr std::string_view kHeader = "estampilleur font list 1\n";
constexpr std::string_view kSum = "sum ";

// FNV-1a: enough to tell a cut-short or altered file from the one written.
std::uint64_t checksum(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char byte : bytes) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return hash;
}

// Fields are separated by tabs and records by line breaks, so those (and %) are escaped.
std::string escape(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const unsigned char c : text) {
    if (c < 0x20 || c == '%' || c == 0x7F) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::optional<std::string> unescape(std::string_view text) {
  if (text.find('%') == text.npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= text.size()) return std::nullopt;
    const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
    if (error != std::errc() || end != text.data() + i + 3) return std::nullopt;
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

// What a file or folder is now: its kind, identity, size and time of change; "-" if absent.
std::string stateOf(const char* path) {
  struct stat status {};
  if (::stat(path, &status) != 0) return "-";
  return std::string(S_ISDIR(status.st_mode) ? "d" : "f") + ' ' + std::to_string(status.st_dev) + ' ' +
         std::to_string(status.st_ino) + ' ' + std::to_string(status.st_size) + ' ' +
         std::to_string(status.st_mtim.tv_sec) + '.' + std::to_string(status.st_mtim.tv_nsec);
}

std::vector<std::string_view> split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t at = line.find(separator);
    fields.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return fields;
    line.remove_prefix(at + 1);
  }
}

template <typename Number>
bool parse(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::optional<FontInfo> parseFont(std::string_view record) {
  const std::vector<std::string_view> fields = split(record, '\t');
  if (fields.size() != 7) return std::nullopt;
  std::optional<std::string> name = unescape(fields[0]), family = unescape(fields[1]),
                             style = unescape(fields[2]), file = unescape(fields[6]);
  FontInfo font;
  int slant = 0;
  if (!name || !family || !style || !file || name->empty() || file->empty() || !parse(fields[3], font.weight) ||
      !parse(fields[4], slant) || !parse(fields[5], font.faceIndex) || slant < 0 ||
      slant > static_cast<int>(FontSlant::Oblique))
    return std::nullopt;
  font.postscriptName = std::move(*name);
  font.family = std::move(*family);
  font.style = std::move(*style);
  font.slant = static_cast<FontSlant>(slant);
  font.file = std::move(*file);
  return font;
}

}  // namespace

std::optional<FontListCache> FontListCache::inUserCache() {
  std::filesystem::path folder;
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
    folder = cache;
  else if (const char* home = std::getenv("HOME"); home && *home == '/')
    folder = std::filesystem::path(home) / ".cache";
  else
    return std::nullopt;
  return FontListCache(folder / "estampilleur" / "fonts.list");
}

std::optional<std::vector<FontInfo>> FontListCache::read(const std::string& context) const {
  std::string bytes;
  try {
    bytes = readFile(file_);
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
  // The last line holds the checksum of everything before it.
  if (bytes.size() < kHeader.size() || bytes.back() != '\n') return std::nullopt;
  const std::size_t last = bytes.rfind('\n', bytes.size() - 2) + 1;
  std::string_view body(bytes.data(), last), tail(bytes.data() + last, bytes.size() - last - 1);
  std::uint64_t sum = 0;
  if (!tail.starts_with(kSum) || !body.starts_with(kHeader)) return std::nullopt;
  tail.remove_prefix(kSum.size());
  const auto [end, error] = std::from_chars(tail.data(), tail.data() + tail.size(), sum, 16);
  if (error != std::errc() || end != tail.data() + tail.size() || sum != checksum(body)) return std::nullopt;

  body.remove_prefix(kHeader.size());
  std::vector<FontInfo> fonts;
  bool contextSeen = false;
  for (const std::string_view line : split(body.substr(0, body.size() - 1), '\n')) {
    const std::size_t space = line.find(' ');
    const std::string_view kind = line.substr(0, space), rest = space == line.npos ? "" : line.substr(space + 1);
    if (kind == "context") {
      if (unescape(rest) != context) return std::nullopt;
      contextSeen = true;
    } else if (kind == "path") {
      const std::size_t tab = rest.find('\t');
      if (tab == rest.npos) return std::nullopt;
      const std::optional<std::string> path = unescape(rest.substr(tab + 1));
      if (!path || stateOf(path->c_str()) != rest.substr(0, tab)) return std::nullopt;
    } else if (kind == "font") {
      std::optional<FontInfo> font = parseFont(rest);
      if (!font) return std::nullopt;
      fonts.push_back(std::move(*font));
    } else {
      return std::nullopt;
    }
  }
  if (!contextSeen) return std::nullopt;
  return fonts;
}

void FontListCache::write(const std::string& context, const std::vector<std::filesystem::path>& dependsOn,
                          const std::vector<FontInfo>& fonts) const {
  // The folder first: making it changes its parent, which may be one of the files recorded.
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  std::string body(kHeader);
  body += "context " + escape(context) + '\n';
  for (const std::filesystem::path& path : dependsOn) body += "path " + stateOf(path.c_str()) + '\t' + escape(path.string()) + '\n';
  for (const FontInfo& font : fonts)
    body += "font " + escape(font.postscriptName) + '\t' + escape(font.family) + '\t' + escape(font.style) + '\t' +
            std::to_string(font.weight) + '\t' + std::to_string(static_cast<int>(font.slant)) + '\t' +
            std::to_string(font.faceIndex) + '\t' + escape(font.file.string()) + '\n';
  char sum[17];
  body += std::string(kSum) + std::string(sum, std::to_chars(sum, sum + sizeof sum, checksum(body), 16).ptr) + '\n';
  try {
    writeFileAtomically(file_, body);
  } catch (const std::runtime_error&) {
    // A read-only or full cache folder (or one that cannot be made) costs the next run its
    // speed, nothing else.
  }
}

}  // namespace hostsim
