// The text engine's suites over the document's point texts.
//
// A text range always covers the whole text of its point text and reaches it through the
// current document: once the text is gone (disposed of, or its document closed), the
// range still has to be released but does nothing else.
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "hostsim/model/mac_roman.h"
#include "hostsim/suites/text_engine.h"

namespace hostsim {

namespace {

using ATE::ATEErr;

ATEErr ateGuarded(auto&& body) { return guarded(body, ATE::kBadParameter, ATE::kOutOfMemory); }

// Gives one reference back. Null is accepted: the plug-in's wrappers release what they
// hold, an empty reference included. The reference goes even when a fault is planned.
template <typename T>
ATEErr releaseReference(CountedObjects<T>& objects, uintptr_t id, const char* operation) {
  Host& host = Host::current();
  const auto fault = host.enter(operation);
  if (id == 0) return fault.value_or(ATE::kNoError);
  if (!objects.release(host, id, operation)) return ATE::kBadParameter;
  return fault.value_or(ATE::kNoError);
}

template <typename T>
ATEErr addReference(CountedObjects<T>& objects, uintptr_t id, const char* operation) {
  if (id == 0) return ATE::kNoError;  // copying an empty wrapper
  return objects.retain(Host::current(), id, operation) ? ATE::kNoError : ATE::kBadParameter;
}

bool finite(double v) { return std::isfinite(v); }

// --- ATE TextRange -----------------------------------------------------------------------

// The point text a range covers, in the current document; null when it is gone.
ATEErr withText(ATE::TextRangeRef range, const char* operation, auto&& body) {
  Host& host = Host::current();
  const ArtHandle* art = textEngine(host).ranges.use(host, handleNumber(range), operation);
  Document* document = host.document();
  if (art == nullptr || document == nullptr || !document->valid(*art) || document->kind(*art) != ArtKind::PointText)
    return ATE::kBadParameter;
  return ateGuarded([&] { return body(*document, *art); });
}

ATEErr rangeRelease(ATE::TextRangeRef range) {
  return releaseReference(textEngine(Host::current()).ranges, handleNumber(range), "ATE TextRange Suite.Release");
}

ATEErr rangeRemove(ATE::TextRangeRef range) {
  HOSTSIM_ENTER("ATE TextRange Suite.Remove");
  return withText(range, "ATE TextRange Suite.Remove", [](Document& document, ArtHandle text) {
    document.setText(text, "");
    return ATE::kNoError;
  });
}

ATEErr rangeInsertAfter(ATE::TextRangeRef range, const char* text, int32_t length, ATE::FontRef font) {
  HOSTSIM_ENTER("ATE TextRange Suite.InsertAfter");
  constexpr const char* kOperation = "ATE TextRange Suite.InsertAfter";
  if (length < -1 || (text == nullptr && length != 0)) return ATE::kBadParameter;
  Host& host = Host::current();
  const FontRef* chosen = nullptr;
  if (font != nullptr) {
    chosen = textEngine(host).fonts.use(host, handleNumber(font), kOperation);
    if (chosen == nullptr) return ATE::kBadParameter;
  }
  const std::string_view added =
      text == nullptr ? std::string_view() : std::string_view(text, length == -1 ? std::strlen(text) : size_t(length));
  return withText(range, kOperation, [&](Document& document, ArtHandle art) {
    document.setText(art, document.text(art) + macRomanToUtf8(added));
    if (chosen != nullptr) {
      TextStyle style = document.textStyle(art);
      style.font = *chosen;
      document.setTextStyle(art, style);
    }
    return ATE::kNoError;
  });
}

ATEErr rangeSetLocalCharFeatures(ATE::TextRangeRef range, ATE::CharFeaturesRef features) {
  HOSTSIM_ENTER("ATE TextRange Suite.SetLocalCharFeatures");
  constexpr const char* kOperation = "ATE TextRange Suite.SetLocalCharFeatures";
  Host& host = Host::current();
  const CharFeatureSet* set = textEngine(host).charFeatures.use(host, handleNumber(features), kOperation);
  if (set == nullptr) return ATE::kBadParameter;
  return withText(range, kOperation, [&](Document& document, ArtHandle art) {
    TextStyle style = document.textStyle(art);
    if (set->font) style.font = *set->font;
    if (set->sizePt) style.sizePt = *set->sizePt;
    if (set->tracking) style.tracking = *set->tracking;
    if (set->baselineShiftPt) style.baselineShiftPt = *set->baselineShiftPt;
    if (set->fill) style.fill = *set->fill;
    document.setTextStyle(art, style);
    return ATE::kNoError;
  });
}

ATEErr rangeSetLocalParaFeatures(ATE::TextRangeRef range, ATE::ParaFeaturesRef features) {
  HOSTSIM_ENTER("ATE TextRange Suite.SetLocalParaFeatures");
  constexpr const char* kOperation = "ATE TextRange Suite.SetLocalParaFeatures";
  Host& host = Host::current();
  const ParaFeatureSet* set = textEngine(host).paraFeatures.use(host, handleNumber(features), kOperation);
  if (set == nullptr) return ATE::kBadParameter;
  return withText(range, kOperation, [&](Document& document, ArtHandle art) {
    TextStyle style = document.textStyle(art);
    if (set->justification) style.justification = *set->justification;
    if (set->firstLineIndentPt) style.firstLineIndentPt = *set->firstLineIndentPt;
    if (set->startIndentPt) style.startIndentPt = *set->startIndentPt;
    document.setTextStyle(art, style);
    return ATE::kNoError;
  });
}

const ATE::TextRangeSuite kTextRange = {rangeRelease, rangeRemove, rangeInsertAfter, rangeSetLocalCharFeatures,
                                        rangeSetLocalParaFeatures};

// --- ATE CharFeatures --------------------------------------------------------------------

ATEErr withCharFeatures(ATE::CharFeaturesRef features, const char* operation, auto&& body) {
  Host& host = Host::current();
  CharFeatureSet* set = textEngine(host).charFeatures.use(host, handleNumber(features), operation);
  if (set == nullptr) return ATE::kBadParameter;
  return body(*set);
}

ATEErr charInitialize(ATE::CharFeaturesRef* features) {
  if (features != nullptr) *features = nullptr;
  HOSTSIM_ENTER("ATE CharFeatures Suite.Initialize");
  if (features == nullptr) return ATE::kBadParameter;
  Host& host = Host::current();
  return ateGuarded([&] {
    *features = handleFromNumber<ATE::CharFeaturesRef>(textEngine(host).charFeatures.add(host, {}));
    return ATE::kNoError;
  });
}

ATEErr charRelease(ATE::CharFeaturesRef features) {
  return releaseReference(textEngine(Host::current()).charFeatures, handleNumber(features),
                          "ATE CharFeatures Suite.Release");
}

ATEErr charSetFont(ATE::CharFeaturesRef features, ATE::FontRef font) {
  HOSTSIM_ENTER("ATE CharFeatures Suite.SetFont");
  constexpr const char* kOperation = "ATE CharFeatures Suite.SetFont";
  Host& host = Host::current();
  const FontRef* chosen = textEngine(host).fonts.use(host, handleNumber(font), kOperation);
  if (chosen == nullptr) return ATE::kBadParameter;
  // The set keeps the font's description, not a reference: the font may be released first.
  return withCharFeatures(features, kOperation, [&](CharFeatureSet& set) {
    set.font = *chosen;
    return ATE::kNoError;
  });
}

ATEErr charSetFontSize(ATE::CharFeaturesRef features, float size) {
  HOSTSIM_ENTER("ATE CharFeatures Suite.SetFontSize");
  if (!(size > 0) || !finite(size)) return ATE::kBadParameter;
  return withCharFeatures(features, "ATE CharFeatures Suite.SetFontSize", [&](CharFeatureSet& set) {
    set.sizePt = size;
    return ATE::kNoError;
  });
}

ATEErr charSetTracking(ATE::CharFeaturesRef features, int32_t tracking) {
  HOSTSIM_ENTER("ATE CharFeatures Suite.SetTracking");
  return withCharFeatures(features, "ATE CharFeatures Suite.SetTracking", [&](CharFeatureSet& set) {
    set.tracking = tracking;
    return ATE::kNoError;
  });
}

ATEErr charSetBaselineShift(ATE::CharFeaturesRef features, float shift) {
  HOSTSIM_ENTER("ATE CharFeatures Suite.SetBaselineShift");
  if (!finite(shift)) return ATE::kBadParameter;
  return withCharFeatures(features, "ATE CharFeatures Suite.SetBaselineShift", [&](CharFeatureSet& set) {
    set.baselineShiftPt = shift;
    return ATE::kNoError;
  });
}

ATEErr charSetFillColor(ATE::CharFeaturesRef features, ATE::ApplicationPaintRef paint) {
  HOSTSIM_ENTER("ATE CharFeatures Suite.SetFillColor");
  constexpr const char* kOperation = "ATE CharFeatures Suite.SetFillColor";
  Host& host = Host::current();
  const Rgb* colour = textEngine(host).paints.use(host, handleNumber(paint), kOperation);
  if (colour == nullptr) return ATE::kBadParameter;
  return withCharFeatures(features, kOperation, [&](CharFeatureSet& set) {
    set.fill = *colour;
    return ATE::kNoError;
  });
}

const ATE::CharFeaturesSuite kCharFeatures = {charInitialize,  charRelease,          charSetFont,     charSetFontSize,
                                              charSetTracking, charSetBaselineShift, charSetFillColor};

// --- ATE ParaFeatures --------------------------------------------------------------------

ATEErr withParaFeatures(ATE::ParaFeaturesRef features, const char* operation, auto&& body) {
  Host& host = Host::current();
  ParaFeatureSet* set = textEngine(host).paraFeatures.use(host, handleNumber(features), operation);
  if (set == nullptr) return ATE::kBadParameter;
  return body(*set);
}

ATEErr paraInitialize(ATE::ParaFeaturesRef* features) {
  if (features != nullptr) *features = nullptr;
  HOSTSIM_ENTER("ATE ParaFeatures Suite.Initialize");
  if (features == nullptr) return ATE::kBadParameter;
  Host& host = Host::current();
  return ateGuarded([&] {
    *features = handleFromNumber<ATE::ParaFeaturesRef>(textEngine(host).paraFeatures.add(host, {}));
    return ATE::kNoError;
  });
}

ATEErr paraRelease(ATE::ParaFeaturesRef features) {
  return releaseReference(textEngine(Host::current()).paraFeatures, handleNumber(features),
                          "ATE ParaFeatures Suite.Release");
}

ATEErr paraSetJustification(ATE::ParaFeaturesRef features, ATE::ParagraphJustification justification) {
  HOSTSIM_ENTER("ATE ParaFeatures Suite.SetJustification");
  std::optional<Justification> value;
  switch (justification) {
    case ATE::kLeftJustify: value = Justification::Left; break;
    case ATE::kRightJustify: value = Justification::Right; break;
    case ATE::kCenterJustify: value = Justification::Center; break;
  }
  if (!value) return ATE::kBadParameter;
  return withParaFeatures(features, "ATE ParaFeatures Suite.SetJustification", [&](ParaFeatureSet& set) {
    set.justification = value;
    return ATE::kNoError;
  });
}

ATEErr paraSetFirstLineIndent(ATE::ParaFeaturesRef features, float indent) {
  HOSTSIM_ENTER("ATE ParaFeatures Suite.SetFirstLineIndent");
  if (!finite(indent)) return ATE::kBadParameter;
  return withParaFeatures(features, "ATE ParaFeatures Suite.SetFirstLineIndent", [&](ParaFeatureSet& set) {
    set.firstLineIndentPt = indent;
    return ATE::kNoError;
  });
}

ATEErr paraSetStartIndent(ATE::ParaFeaturesRef features, float indent) {
  HOSTSIM_ENTER("ATE ParaFeatures Suite.SetStartIndent");
  if (!finite(indent)) return ATE::kBadParameter;
  return withParaFeatures(features, "ATE ParaFeatures Suite.SetStartIndent", [&](ParaFeatureSet& set) {
    set.startIndentPt = indent;
    return ATE::kNoError;
  });
}

ATEErr paraSetLeadingType(ATE::ParaFeaturesRef features, ATE::LeadingType type) {
  HOSTSIM_ENTER("ATE ParaFeatures Suite.SetLeadingType");
  if (type != ATE::kRomanLeadingType && type != ATE::kJapaneseLeadingType) return ATE::kBadParameter;
  return withParaFeatures(features, "ATE ParaFeatures Suite.SetLeadingType", [&](ParaFeatureSet& set) {
    set.leadingType = type;
    return ATE::kNoError;
  });
}

const ATE::ParaFeaturesSuite kParaFeatures = {paraInitialize,         paraRelease,        paraSetJustification,
                                              paraSetFirstLineIndent, paraSetStartIndent, paraSetLeadingType};

// --- ATE Font and ATE ApplicationPaint ---------------------------------------------------

ATEErr fontAddRef(ATE::FontRef font) {
  HOSTSIM_ENTER("ATE Font Suite.AddRef");
  return addReference(textEngine(Host::current()).fonts, handleNumber(font), "ATE Font Suite.AddRef");
}

ATEErr fontRelease(ATE::FontRef font) {
  return releaseReference(textEngine(Host::current()).fonts, handleNumber(font), "ATE Font Suite.Release");
}

const ATE::FontSuite kFont = {fontAddRef, fontRelease};

ATEErr paintAddRef(ATE::ApplicationPaintRef paint) {
  HOSTSIM_ENTER("ATE ApplicationPaint Suite.AddRef");
  return addReference(textEngine(Host::current()).paints, handleNumber(paint), "ATE ApplicationPaint Suite.AddRef");
}

ATEErr paintRelease(ATE::ApplicationPaintRef paint) {
  return releaseReference(textEngine(Host::current()).paints, handleNumber(paint),
                          "ATE ApplicationPaint Suite.Release");
}

const ATE::ApplicationPaintSuite kApplicationPaint = {paintAddRef, paintRelease};

}  // namespace

namespace {

// The version under which the interface lists a text-engine suite.
constexpr int32_t ateVersion(std::string_view name) {
#define HOSTSIM_ATE_VERSION(suite, version) \
  if (name == #suite) return version;
  ATE_SUITE_LIST(HOSTSIM_ATE_VERSION)
#undef HOSTSIM_ATE_VERSION
  return -1;
}

}  // namespace

void offerTextEngineSuites(Host& host) {
  host.offerSuite("ATE TextRange Suite", ateVersion("TextRange"), &kTextRange);
  host.offerSuite("ATE CharFeatures Suite", ateVersion("CharFeatures"), &kCharFeatures);
  host.offerSuite("ATE ParaFeatures Suite", ateVersion("ParaFeatures"), &kParaFeatures);
  host.offerSuite("ATE Font Suite", ateVersion("Font"), &kFont);
  host.offerSuite("ATE ApplicationPaint Suite", ateVersion("ApplicationPaint"), &kApplicationPaint);
}

}  // namespace hostsim
