#include "fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "font_cache.h"
#include "mac_roman.h"

namespace hostsim {
namespace {

struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct ObjectSetDeleter {
  void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};
struct StrListDeleter {
  void operator()(FcStrList* list) const { FcStrListDone(list); }
};

std::string getString(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value) return {};
  return reinterpret_cast<const char*>(value);
}

FontSlant slantOf(int fcSlant) {
  if (fcSlant >= FC_SLANT_OBLIQUE) return FontSlant::Oblique;
  if (fcSlant >= FC_SLANT_ITALIC) return FontSlant::Italic;
  return FontSlant::Upright;
}

int fcSlantOf(FontSlant slant) {
  switch (slant) {
    case FontSlant::Italic: return FC_SLANT_ITALIC;
    case FontSlant::Oblique: return FC_SLANT_OBLIQUE;
    case FontSlant::Upright: break;
  }
  return FC_SLANT_ROMAN;
}

// The same face is often installed in several formats (the URW fonts as OpenType and Type 1);
// an sfnt file is preferred, as FreeType opens it without parsing the whole font.
int formatRank(const std::string& format) {
  if (format == "TrueType") return 0;
  if (format == "CFF") return 1;
  return 2;
}

std::vector<FontInfo> listFonts(FcConfig* config) {
  std::unique_ptr<FcPattern, PatternDeleter> all(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
      FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_FILE,
                       FC_INDEX, FC_SCALABLE, FC_FONTFORMAT, nullptr));
  std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(config, all.get(), objects.get()));
  std::vector<std::pair<int, FontInfo>> ranked;  // each face with its format's rank
  for (int i = 0; set && i < set->nfont; ++i) {
    FcPattern* p = set->fonts[i];
    FcBool scalable = FcFalse;
    if (FcPatternGetBool(p, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable) continue;
    FontInfo info;
    info.postscriptName = getString(p, FC_POSTSCRIPT_NAME);
    info.file = getString(p, FC_FILE);
    if (info.postscriptName.empty() || info.file.empty()) continue;
    info.family = getString(p, FC_FAMILY);
    info.style = getString(p, FC_STYLE);
    double weight = FC_WEIGHT_REGULAR;
    FcPatternGetDouble(p, FC_WEIGHT, 0, &weight);
    info.weight = static_cast<int>(FcWeightToOpenTypeDouble(weight) + 0.5);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(p, FC_SLANT, 0, &slant);
    info.slant = slantOf(slant);
    FcPatternGetInteger(p, FC_INDEX, 0, &info.faceIndex);
    ranked.emplace_back(formatRank(getString(p, FC_FONTFORMAT)), std::move(info));
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& x, const auto& y) {
    const FontInfo &a = x.second, &b = y.second;
    return std::tie(a.postscriptName, x.first, a.file, a.faceIndex) <
           std::tie(b.postscriptName, y.first, b.file, b.faceIndex);
  });
  // The first of each name stands.
  std::vector<FontInfo> fonts;
  for (auto& [rank, info] : ranked)
    if (fonts.empty() || fonts.back().postscriptName != info.postscriptName) fonts.push_back(std::move(info));
  return fonts;
}

using ConfigPointer = std::unique_ptr<FcConfig, ConfigDeleter>;

ConfigPointer systemConfig() {
  ConfigPointer config(FcInitLoadConfigAndFonts());
  if (!config) throw std::runtime_error("fontconfig could not load the system's font configuration");
  return config;
}

// What fontconfig reads besides its files: a kept list made under another value is not used.
std::string systemContext() {
  std::string context = "fontconfig " + std::to_string(FcGetVersion());
  for (const char* name : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT", "HOME", "XDG_CONFIG_HOME",
                           "XDG_DATA_HOME"}) {
    const char* value = std::getenv(name);
    context += std::string("\n") + name + (value ? std::string("=") + value : std::string());
  }
  return context;
}

void addAll(std::set<std::filesystem::path>& paths, FcStrList* list) {
  std::unique_ptr<FcStrList, StrListDeleter> owned(list);
  while (FcChar8* path = owned ? FcStrListNext(owned.get()) : nullptr)
    paths.insert(reinterpret_cast<const char*>(path));
}

// The files and folders the font list was made from: the configuration files and the folders
// holding them (a file added there changes the folder), the user's configuration even where
// there is none yet, and every font folder with its subfolders.
std::vector<std::filesystem::path> systemSources(FcConfig* config) {
  std::set<std::filesystem::path> paths;
  addAll(paths, FcConfigGetConfigFiles(config));
  for (const std::filesystem::path& file : std::vector<std::filesystem::path>(paths.begin(), paths.end()))
    paths.insert(file.parent_path());
  std::filesystem::path userConfig;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) userConfig = xdg;
  if (const char* home = std::getenv("HOME"); home && *home) {
    if (userConfig.empty()) userConfig = std::filesystem::path(home) / ".config";
    paths.insert(std::filesystem::path(home) / ".fonts.conf");
    paths.insert(std::filesystem::path(home) / ".fonts.conf.d");
  }
  if (!userConfig.empty()) {
    paths.insert(userConfig / "fontconfig");
    paths.insert(userConfig / "fontconfig" / "fonts.conf");
    paths.insert(userConfig / "fontconfig" / "conf.d");
  }
  addAll(paths, FcConfigGetConfigDirs(config));
  addAll(paths, FcConfigGetFontDirs(config));
  return {paths.begin(), paths.end()};
}

}  // namespace

struct FontCatalog::Impl {
  // The system's configuration is loaded only when a font must be matched, when the list
  // came from the cache.
  ConfigPointer config;
  bool system = false;
  std::vector<FontInfo> fonts;

  FcConfig* configuration() {
    if (!config && system) {
      try {
        config = systemConfig();
      } catch (const std::runtime_error&) {
        system = false;
      }
    }
    return config.get();
  }
};

FontCatalog::FontCatalog(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontCatalog::FontCatalog(FontCatalog&&) noexcept = default;
FontCatalog& FontCatalog::operator=(FontCatalog&&) noexcept = default;
FontCatalog::~FontCatalog() = default;

FontCatalog FontCatalog::system(const FontListCache* cache) {
  auto impl = std::make_unique<Impl>();
  impl->system = true;
  const std::string context = systemContext();
  if (cache) {
    if (std::optional<std::vector<FontInfo>> kept = cache->read(context)) {
      impl->fonts = std::move(*kept);
      return FontCatalog(std::move(impl));
    }
  }
  impl->config = systemConfig();
  impl->fonts = listFonts(impl->config.get());
  if (cache) cache->write(context, systemSources(impl->config.get()), impl->fonts);
  return FontCatalog(std::move(impl));
}

bool FontCatalog::configurationLoaded() const { return impl_->config != nullptr; }

FontCatalog FontCatalog::fromDirectory(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec))
    throw std::runtime_error("font folder '" + folder.string() + "' does not exist");
  auto impl = std::make_unique<Impl>();
  impl->config.reset(FcConfigCreate());
  if (!impl->config) throw std::runtime_error("fontconfig could not start");
  // File by file rather than FcConfigAppFontAddDir: a bare configuration has
  // no cache folder, and adding a folder would complain about it on stderr.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec)) {
    if (!entry.is_regular_file()) continue;
    // Files that are not fonts (a licence, say) are simply not added.
    FcConfigAppFontAddFile(impl->config.get(), reinterpret_cast<const FcChar8*>(entry.path().c_str()));
  }
  if (ec) throw std::runtime_error("cannot read the font folder '" + folder.string() + "': " + ec.message());
  impl->fonts = listFonts(impl->config.get());
  return FontCatalog(std::move(impl));
}

const std::vector<FontInfo>& FontCatalog::fonts() const { return impl_->fonts; }

int FontCatalog::indexOf(std::string_view postscriptName) const {
  const auto& fonts = impl_->fonts;
  const auto it = std::lower_bound(
      fonts.begin(), fonts.end(), postscriptName,
      [](const FontInfo& info, std::string_view name) { return info.postscriptName < name; });
  if (it == fonts.end() || it->postscriptName != postscriptName) return -1;
  return static_cast<int>(it - fonts.begin());
}

const FontInfo* FontCatalog::find(std::string_view postscriptName) const {
  const int index = indexOf(postscriptName);
  return index < 0 ? nullptr : &impl_->fonts[static_cast<std::size_t>(index)];
}

const FontInfo* FontCatalog::resolve(const FontRef& font) const {
  if (const FontInfo* exact = find(font.postscriptName)) return exact;
  if (impl_->fonts.empty()) return nullptr;
  std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
  if (!font.family.empty())
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(font.family.c_str()));
  FcPatternAddDouble(pattern.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(font.weight));
  FcPatternAddInteger(pattern.get(), FC_SLANT, fcSlantOf(font.slant));
  FcConfig* config = impl_->configuration();
  if (!config) return &impl_->fonts.front();
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, PatternDeleter> match(FcFontMatch(config, pattern.get(), &result));
  if (match) {
    const std::string file = getString(match.get(), FC_FILE);
    int index = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    for (const FontInfo& info : impl_->fonts)
      if (info.file == file && info.faceIndex == index) return &info;
  }
  return &impl_->fonts.front();
}

namespace {

// One line's advance (kerning included) and the face's extent, in ems.
LineExtent measureLine(FT_Face face, std::string_view utf8) {
  const double unitsPerEm = face->units_per_EM;
  const bool kerning = FT_HAS_KERNING(face);

  double advance = 0;
  FT_UInt previous = 0;
  while (!utf8.empty()) {
    const Utf8Step step = decodeUtf8(utf8);
    utf8.remove_prefix(step.length);
    // Ill-formed bytes show as the replacement character, or .notdef.
    const FT_UInt glyph = FT_Get_Char_Index(face, step.codePoint.value_or(0xFFFD));
    FT_Fixed glyphAdvance = 0;
    if (FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &glyphAdvance) == 0)
      advance += static_cast<double>(glyphAdvance);
    if (kerning && previous) {
      FT_Vector delta{};
      if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNSCALED, &delta) == 0)
        advance += static_cast<double>(delta.x);
    }
    previous = glyph;
  }
  return {advance / unitsPerEm, face->ascender / unitsPerEm, face->descender / unitsPerEm};
}

}  // namespace

struct FontMetrics::Impl {
  const FontCatalog* catalog = nullptr;
  FT_Library library = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> faces;

  // Lines measured, by face: the host measures each text it is asked the bounds of, and
  // again when it writes the canvas. Short lines only, and never too many of them.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  static constexpr std::size_t kLongestKept = 256, kMostKept = 65536;
  std::unordered_map<const FontInfo*, std::unordered_map<std::string, LineExtent, TextHash, std::equal_to<>>>
      lines;

  ~Impl() {
    for (auto& [key, face] : faces) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }

  FT_Face face(const FontInfo& info) {
    const auto key = std::make_pair(info.file.string(), info.faceIndex);
    if (const auto it = faces.find(key); it != faces.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library, key.first.c_str(), info.faceIndex, &face) != 0 || !face)
      throw std::runtime_error("cannot open the font file '" + key.first + "'");
    if (face->units_per_EM == 0) {
      FT_Done_Face(face);
      throw std::runtime_error("the font file '" + key.first + "' has no outline metrics");
    }
    faces.emplace(key, face);
    return face;
  }
};

FontMetrics::FontMetrics(const FontCatalog& catalog) : impl_(std::make_unique<Impl>()) {
  impl_->catalog = &catalog;
  if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType could not start");
}

FontMetrics::~FontMetrics() = default;

int FontMetrics::facesOpened() const { return static_cast<int>(impl_->faces.size()); }

LineExtent FontMetrics::measure(const FontRef& font, std::string_view utf8) {
  const FontInfo* info = impl_->catalog->resolve(font);
  if (!info) throw std::runtime_error("there is no font to measure text with");
  auto& measured = impl_->lines[info];
  if (const auto found = measured.find(utf8); found != measured.end()) return found->second;
  const LineExtent extent = measureLine(impl_->face(*info), utf8);
  if (utf8.size() <= Impl::kLongestKept) {
    if (measured.size() >= Impl::kMostKept) measured.clear();
    measured.emplace(utf8, extent);
  }
  return extent;
}

}  // namespace hostsim
