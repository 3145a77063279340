// What a document needs from fonts to measure its texts, kept apart from
// fontconfig and FreeType so the document model does not depend on them.
#pragma once

#include <string>
#include <string_view>

namespace hostsim {

enum class FontSlant { Upright, Italic, Oblique };

// A font as a document names it: the PostScript name when the host chose the
// font, else only what CSS says (family, weight 100..900, slant).
struct FontRef {
  std::string postscriptName;
  std::string family;
  int weight = 400;
  FontSlant slant = FontSlant::Upright;
  friend bool operator==(const FontRef&, const FontRef&) = default;
};

// Measures of one line of text set at a size of 1 (multiply by the size).
struct LineExtent {
  double advance = 0;  // sum of advances, kerning included
  double ascent = 0;   // above the baseline, > 0
  double descent = 0;  // below the baseline, <= 0
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual LineExtent measure(const FontRef& font, std::string_view utf8) = 0;
};

}  // namespace hostsim
