// The host's text engine: text ranges over point texts, character and paragraph feature
// sets, fonts and paints. Each is reference-counted; every reference is a live object in
// the host's accounting until given back.
#pragma once

#include <cstdint>
#include <optional>

#include "hostsim/model/color.h"
#include "hostsim/model/document.h"
#include "hostsim/suites/doc_support.h"

namespace hostsim {

// The local character attributes a feature set carries; unset ones leave the text as it is.
struct CharFeatureSet {
  std::optional<FontRef> font;
  std::optional<double> sizePt;
  std::optional<double> tracking;
  std::optional<double> baselineShiftPt;
  std::optional<Rgb> fill;
};

struct ParaFeatureSet {
  std::optional<Justification> justification;
  std::optional<double> firstLineIndentPt;
  std::optional<double> startIndentPt;
  std::optional<int32_t> leadingType;  // accepted and checked; a point text keeps no leading type
};

struct TextEngine {
  CountedObjects<ArtHandle> ranges{"text range"};  // always the whole text of a point text
  CountedObjects<CharFeatureSet> charFeatures{"char features"};
  CountedObjects<ParaFeatureSet> paraFeatures{"para features"};
  CountedObjects<FontRef> fonts{"text-engine font"};
  CountedObjects<Rgb> paints{"application paint"};
};

inline TextEngine& textEngine(Host& host) { return host.state<TextEngine>(); }

// The text-engine suites with operations (ATE TextRange, CharFeatures, ParaFeatures, Font,
// ApplicationPaint).
void offerTextEngineSuites(Host& host);

}  // namespace hostsim
