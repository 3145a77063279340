// The host's fonts: a catalogue from fontconfig, widths from FreeType.
//
// A catalogue lists one entry per face, named by its PostScript name and
// sorted by it (byte order), so a font's index is stable for a given set of
// font files. It is built either from the system's fonts (kept between runs
// in a FontListCache when one is given) or from one folder only (a fresh
// fontconfig configuration, so tests see a fixed set).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text_metrics.h"

namespace hostsim {

struct FontInfo {
  std::string postscriptName;
  std::string family;
  std::string style;  // "Bold", "Book", ...
  int weight = 400;   // CSS scale 100..900
  FontSlant slant = FontSlant::Upright;
  std::filesystem::path file;
  int faceIndex = 0;
};

class FontListCache;

class FontCatalog {
 public:
  // Throws std::runtime_error when fontconfig cannot load its configuration.
  static FontCatalog system(const FontListCache* cache = nullptr);
  // Only the fonts found in `folder` (and its subfolders). Throws
  // std::runtime_error when the folder does not exist.
  static FontCatalog fromDirectory(const std::filesystem::path& folder);

  FontCatalog(FontCatalog&&) noexcept;
  FontCatalog& operator=(FontCatalog&&) noexcept;
  ~FontCatalog();

  // Scalable faces with a PostScript name; when two files give the same name,
  // an OpenType or TrueType file stands before others, then the path sorting first.
  const std::vector<FontInfo>& fonts() const;
  const FontInfo* find(std::string_view postscriptName) const;
  int indexOf(std::string_view postscriptName) const;  // -1 when absent
  // The face for a document's font: by PostScript name when listed, else the
  // one fontconfig matches to the family, weight and slant (among these fonts
  // only). Null only when the catalogue is empty.
  const FontInfo* resolve(const FontRef& font) const;
  // Whether fontconfig's configuration is loaded: a list read from the cache loads it only
  // when a font has to be matched.
  bool configurationLoaded() const;

 private:
  struct Impl;
  explicit FontCatalog(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Measures text with FreeType; faces are opened on first use and kept.
class FontMetrics final : public TextMeasurer {
 public:
  explicit FontMetrics(const FontCatalog& catalog);  // the catalogue must outlive this
  ~FontMetrics() override;
  FontMetrics(const FontMetrics&) = delete;
  FontMetrics& operator=(const FontMetrics&) = delete;

  // Throws std::runtime_error when there is no font or its file cannot be opened.
  LineExtent measure(const FontRef& font, std::string_view utf8) override;
  int facesOpened() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hostsim
