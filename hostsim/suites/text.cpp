// Text art and fonts: point-text frames, the host's font list, and the bridge from host
// colours and font keys to the text engine (whose own suites are in text_engine.cpp).
//
// A font key is the font's place in the host's list plus one, so that no key is null; the
// list is sorted by PostScript name and stays the same for the host's life.
#include "hostsim/suites/text_suites.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "hostsim/model/color.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/mac_roman.h"
#include "hostsim/suites/text_engine.h"

namespace hostsim {

namespace {

// --- AI Text Frame -----------------------------------------------------------------------

ASErr newPointText(int16_t paintOrder, AIArtHandle prep, int32_t orientation, AIRealPoint anchor,
                   AIArtHandle* newTextFrame) {
  if (newTextFrame != nullptr) *newTextFrame = nullptr;
  HOSTSIM_ENTER("AI Text Frame Suite.NewPointText");
  if (newTextFrame == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (document == nullptr) return kNoDocumentErr;
  // Vertical text is not modelled.
  if (orientation != kHorizontalTextOrientation || !std::isfinite(anchor.h) || !std::isfinite(anchor.v))
    return kBadParameterErr;
  return guarded([&] {
    ArtPlace place{};
    if (ASErr error = newArtPlace(*document, paintOrder, prep, place)) return error;
    *newTextFrame = pluginArt(document->newPointText(place.reference, place.placement, {anchor.h, anchor.v}));
    return kNoErr;
  });
}

// A valid point text of the current document, or the error that says why not.
ASErr pointText(Document* document, AIArtHandle art) {
  if (document == nullptr) return kNoDocumentErr;
  const ArtHandle handle = modelArt(art);
  if (!handle || !document->valid(handle) || document->kind(handle) != ArtKind::PointText) return kBadParameterErr;
  return kNoErr;
}

ASErr getATETextRange(AIArtHandle textFrame, ATE::TextRangeRef* range) {
  if (range != nullptr) *range = nullptr;
  HOSTSIM_ENTER("AI Text Frame Suite.GetATETextRange");
  if (range == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  if (ASErr error = pointText(host.document(), textFrame)) return error;
  return guarded([&] {
    *range = handleFromNumber<ATE::TextRangeRef>(textEngine(host).ranges.add(host, modelArt(textFrame)));
    return kNoErr;
  });
}

ASErr getPointTextAnchor(AIArtHandle textFrame, AIRealPoint* anchor) {
  HOSTSIM_ENTER("AI Text Frame Suite.GetPointTextAnchor");
  if (anchor == nullptr) return kBadParameterErr;
  Document* document = Host::current().document();
  if (ASErr error = pointText(document, textFrame)) return error;
  return guarded([&] {
    const Point p = document->textAnchor(modelArt(textFrame));
    *anchor = {static_cast<AIReal>(p.h), static_cast<AIReal>(p.v)};
    return kNoErr;
  });
}

const AITextFrameSuite kTextFrame = {newPointText, getATETextRange, getPointTextAnchor};

// --- AI Font -----------------------------------------------------------------------------

// The font a key names, or null.
const FontInfo* fontOfKey(Host& host, AIFontKey key) {
  const auto& fonts = host.fonts().fonts();
  const uintptr_t number = handleNumber(key);
  return number >= 1 && number <= fonts.size() ? &fonts[number - 1] : nullptr;
}

ASErr countFonts(int32_t* count) {
  HOSTSIM_ENTER("AI Font Suite.CountFonts");
  if (count == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    *count = static_cast<int32_t>(host.fonts().fonts().size());
    return kNoErr;
  });
}

ASErr indexFontList(int32_t index, AIFontKey* font) {
  if (font != nullptr) *font = nullptr;
  HOSTSIM_ENTER("AI Font Suite.IndexFontList");
  if (font == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    const auto count = host.fonts().fonts().size();
    if (index < 0 || static_cast<size_t>(index) >= count) return kBadParameterErr;
    *font = handleFromNumber<AIFontKey>(static_cast<uintptr_t>(index) + 1);
    return kNoErr;
  });
}

ASErr getFontName(AIFontKey font, char* name, int16_t maxLength) {
  HOSTSIM_ENTER("AI Font Suite.GetFontName");
  if (name == nullptr || maxLength <= 0) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    const FontInfo* info = fontOfKey(host, font);
    if (info == nullptr) return kBadParameterErr;
    const std::string text = utf8ToMacRoman(info->postscriptName);
    const size_t length = std::min(text.size(), static_cast<size_t>(maxLength) - 1);
    std::memcpy(name, text.data(), length);
    name[length] = '\0';
    return kNoErr;
  });
}

ASErr fontFromFontKey(AIFontKey font, ATE::FontRef* ateFont) {
  if (ateFont != nullptr) *ateFont = nullptr;
  HOSTSIM_ENTER("AI Font Suite.FontFromFontKey");
  if (ateFont == nullptr) return kBadParameterErr;
  Host& host = Host::current();
  return guarded([&] {
    const FontInfo* info = fontOfKey(host, font);
    if (info == nullptr) return kBadParameterErr;
    FontRef described{info->postscriptName, info->family, info->weight, info->slant};
    *ateFont = handleFromNumber<ATE::FontRef>(textEngine(host).fonts.add(host, std::move(described)));
    return kNoErr;
  });
}

const AIFontSuite kFont = {countFonts, indexFontList, getFontName, fontFromFontKey};

// --- AIATE Paint -------------------------------------------------------------------------

ASErr createATEApplicationPaint(const AIColor* color, ATE::ApplicationPaintRef* paint) {
  if (paint != nullptr) *paint = nullptr;
  HOSTSIM_ENTER("AIATE Paint Suite.CreateATEApplicationPaint");
  if (paint == nullptr) return kBadParameterErr;
  if (color == nullptr) return kBadParameterErr;
  Rgb rgb;
  switch (color->kind) {
    case kFourColor: {
      const auto& f = color->c.f;
      rgb = rgbFromCmyk(f.cyan, f.magenta, f.yellow, f.black);
      break;
    }
    case kThreeColor: rgb = rgbFromRgb(color->c.rgb.red, color->c.rgb.green, color->c.rgb.blue); break;
    case kGrayColor: rgb = rgbFromGray(color->c.g.gray); break;
    default: return kBadParameterErr;  // patterns, gradients, spot colours: not modelled
  }
  Host& host = Host::current();
  return guarded([&] {
    *paint = handleFromNumber<ATE::ApplicationPaintRef>(textEngine(host).paints.add(host, rgb));
    return kNoErr;
  });
}

const AIATEPaintSuite kATEPaint = {createATEApplicationPaint};

}  // namespace

void offerTextSuites(Host& host) {
  host.offerSuite(kAITextFrameSuite, kAITextFrameSuiteVersion, &kTextFrame);
  host.offerSuite(kAIFontSuite, kAIFontSuiteVersion, &kFont);
  host.offerSuite(kAIATEPaintSuite, kAIATEPaintSuiteVersion, &kATEPaint);
  offerTextEngineSuites(host);
}

}  // namespace hostsim
