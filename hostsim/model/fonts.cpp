#include "fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>

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

std::vector<FontInfo> listFonts(FcConfig* config) {
  std::unique_ptr<FcPattern, PatternDeleter> all(FcPatternCreate());
  std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
      FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_FILE,
                       FC_INDEX, FC_SCALABLE, nullptr));
  std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(config, all.get(), objects.get()));
  std::vector<FontInfo> fonts;
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
    fonts.push_back(std::move(info));
  }
  std::sort(fonts.begin(), fonts.end(), [](const FontInfo& a, const FontInfo& b) {
    if (a.postscriptName != b.postscriptName) return a.postscriptName < b.postscriptName;
    if (a.file != b.file) return a.file < b.file;
    return a.faceIndex < b.faceIndex;
  });
  fonts.erase(std::unique(fonts.begin(), fonts.end(),
                          [](const FontInfo& a, const FontInfo& b) {
                            return a.postscriptName == b.postscriptName;
                          }),
              fonts.end());
  return fonts;
}

}  // namespace

struct FontCatalog::Impl {
  std::unique_ptr<FcConfig, ConfigDeleter> config;
  std::vector<FontInfo> fonts;
};

FontCatalog::FontCatalog(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FontCatalog::FontCatalog(FontCatalog&&) noexcept = default;
FontCatalog& FontCatalog::operator=(FontCatalog&&) noexcept = default;
FontCatalog::~FontCatalog() = default;

FontCatalog FontCatalog::system() {
  auto impl = std::make_unique<Impl>();
  impl->config.reset(FcInitLoadConfigAndFonts());
  if (!impl->config) throw std::runtime_error("fontconfig could not load the system's font configuration");
  impl->fonts = listFonts(impl->config.get());
  return FontCatalog(std::move(impl));
}

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
  FcConfigSubstitute(impl_->config.get(), pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcPattern, PatternDeleter> match(
      FcFontMatch(impl_->config.get(), pattern.get(), &result));
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
