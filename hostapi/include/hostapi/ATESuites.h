// The text engine: text ranges, character and paragraph features, fonts and paints.
//
// Every reference the engine hands out carries one count owned by the receiver, who gives
// it back with the suite's Release. Results are text-engine error codes, 0 for success.
#pragma once

#include "ASTypes.h"

namespace ATE {

using ATEErr = int32_t;
constexpr ATEErr kNoError = 0;
constexpr ATEErr kBadParameter = 1;
constexpr ATEErr kOutOfMemory = 2;

#define ATE_REF(name) using name##Ref = struct name##_Opaque*
ATE_REF(TextRange);
ATE_REF(CharFeatures);
ATE_REF(ParaFeatures);
ATE_REF(Font);
ATE_REF(ApplicationPaint);
#undef ATE_REF

enum ParagraphJustification : int32_t {
  kLeftJustify = 0,
  kRightJustify = 1,
  kCenterJustify = 2,
};

enum LeadingType : int32_t {
  kRomanLeadingType = 0,
  kJapaneseLeadingType = 1,
};

struct TextRangeSuite {
  ATEErr (*Release)(TextRangeRef range);
  // Deletes the range's text.
  ATEErr (*Remove)(TextRangeRef range);
  // Inserts length bytes of platform-encoded text after the range (-1: up to the terminator),
  // in font unless font is null.
  ATEErr (*InsertAfter)(TextRangeRef range, const char* text, int32_t length, FontRef font);
  ATEErr (*SetLocalCharFeatures)(TextRangeRef range, CharFeaturesRef features);
  ATEErr (*SetLocalParaFeatures)(TextRangeRef range, ParaFeaturesRef features);
};

struct CharFeaturesSuite {
  // A new, empty feature set into *features.
  ATEErr (*Initialize)(CharFeaturesRef* features);
  ATEErr (*Release)(CharFeaturesRef features);
  ATEErr (*SetFont)(CharFeaturesRef features, FontRef font);
  ATEErr (*SetFontSize)(CharFeaturesRef features, float size);
  ATEErr (*SetTracking)(CharFeaturesRef features, int32_t tracking);
  ATEErr (*SetBaselineShift)(CharFeaturesRef features, float shift);
  ATEErr (*SetFillColor)(CharFeaturesRef features, ApplicationPaintRef paint);
};

struct ParaFeaturesSuite {
  ATEErr (*Initialize)(ParaFeaturesRef* features);
  ATEErr (*Release)(ParaFeaturesRef features);
  ATEErr (*SetJustification)(ParaFeaturesRef features, ParagraphJustification justification);
  ATEErr (*SetFirstLineIndent)(ParaFeaturesRef features, float indent);
  ATEErr (*SetStartIndent)(ParaFeaturesRef features, float indent);
  ATEErr (*SetLeadingType)(ParaFeaturesRef features, LeadingType type);
};

struct FontSuite {
  ATEErr (*AddRef)(FontRef font);
  ATEErr (*Release)(FontRef font);
};

struct ApplicationPaintSuite {
  ATEErr (*AddRef)(ApplicationPaintRef paint);
  ATEErr (*Release)(ApplicationPaintRef paint);
};

// Every text-engine suite of this generation, in import order: X(Name, version). The
// suite's name is "ATE " #Name " Suite" and its table type Name##Suite.
#define ATE_SUITE_LIST(X)                                                                                   \
  X(ApplicationPaint, 1) X(CompFont, 1) X(CompFontClass, 1) X(CompFontClassSet, 1) X(CompFontComponent, 1) \
  X(CompFontSet, 1) X(GlyphRun, 1) X(GlyphRunsIterator, 1) X(MojiKumi, 1) X(MojiKumiSet, 1)                \
  X(TextFrame, 101) X(TextFramesIterator, 1) X(TextLine, 1) X(TextLinesIterator, 1) X(TextResources, 1)    \
  X(ApplicationTextResources, 1) X(DocumentTextResources, 101) X(VersionInfo, 1)                           \
  X(ArrayApplicationPaintRef, 1) X(ArrayReal, 1) X(ArrayBool, 1) X(ArrayInteger, 1)                        \
  X(ArrayLineCapType, 1) X(ArrayFigureStyle, 1) X(ArrayLineJoinType, 1) X(ArrayWariChuJustification, 1)    \
  X(ArrayStyleRunAlignment, 1) X(ArrayAutoKernType, 1) X(ArrayBaselineDirection, 1) X(ArrayLanguage, 1)    \
  X(ArrayFontCapsOption, 1) X(ArrayFontBaselineOption, 1) X(ArrayFontOpenTypePositionOption, 1)            \
  X(ArrayUnderlinePosition, 1) X(ArrayStrikethroughPosition, 1) X(ArrayParagraphJustification, 1)          \
  X(ArrayArrayReal, 1) X(ArrayBurasagariType, 1) X(ArrayPreferredKinsokuOrder, 1) X(ArrayKinsokuRef, 1)    \
  X(ArrayMojiKumiRef, 1) X(ArrayMojiKumiSetRef, 1) X(ArrayTabStopsRef, 1) X(ArrayLeadingType, 1)           \
  X(ArrayFontRef, 1) X(ArrayGlyphID, 1) X(ArrayRealPoint, 1) X(ArrayRealMatrix, 1)                         \
  X(ArrayParagraphDirection, 1) X(ArrayJustificationMethod, 1) X(ArrayKashidas, 1) X(ArrayDirOverride, 1) \
  X(ArrayDigitSet, 1) X(ArrayDiacVPos, 1) X(CharFeatures, 101) X(CharInspector, 101) X(CharStyle, 1)       \
  X(CharStyles, 1) X(CharStylesIterator, 1) X(Find, 101) X(Font, 1) X(Glyph, 1) X(Glyphs, 1)              \
  X(GlyphsIterator, 1) X(Kinsoku, 1) X(KinsokuSet, 1) X(ParaFeatures, 101) X(Paragraph, 1)                 \
  X(ParagraphsIterator, 1) X(ParaInspector, 101) X(ParaStyle, 1) X(ParaStyles, 1) X(ParaStylesIterator, 1) \
  X(Spell, 101) X(Stories, 1) X(Story, 1) X(TabStop, 1) X(TabStops, 1) X(TabStopsIterator, 1)              \
  X(TextRange, 1) X(TextRanges, 1) X(TextRangesIterator, 1) X(TextRunsIterator, 1) X(WordsIterator, 1)     \
  X(ArrayLine, 1) X(ArrayComposerEngine, 1)

// The suites above whose operations this system does not call: tables without entries.
#define ATE_DECLARE_EMPTY_SUITE(name, version) struct name##Suite;
ATE_SUITE_LIST(ATE_DECLARE_EMPTY_SUITE)
#undef ATE_DECLARE_EMPTY_SUITE

#define ATE_EMPTY_SUITE(name) \
  struct name##Suite {}
ATE_EMPTY_SUITE(CompFont); ATE_EMPTY_SUITE(CompFontClass); ATE_EMPTY_SUITE(CompFontClassSet);
ATE_EMPTY_SUITE(CompFontComponent); ATE_EMPTY_SUITE(CompFontSet); ATE_EMPTY_SUITE(GlyphRun);
ATE_EMPTY_SUITE(GlyphRunsIterator); ATE_EMPTY_SUITE(MojiKumi); ATE_EMPTY_SUITE(MojiKumiSet);
ATE_EMPTY_SUITE(TextFrame); ATE_EMPTY_SUITE(TextFramesIterator); ATE_EMPTY_SUITE(TextLine);
ATE_EMPTY_SUITE(TextLinesIterator); ATE_EMPTY_SUITE(TextResources); ATE_EMPTY_SUITE(ApplicationTextResources);
ATE_EMPTY_SUITE(DocumentTextResources); ATE_EMPTY_SUITE(VersionInfo); ATE_EMPTY_SUITE(ArrayApplicationPaintRef);
ATE_EMPTY_SUITE(ArrayReal); ATE_EMPTY_SUITE(ArrayBool); ATE_EMPTY_SUITE(ArrayInteger);
ATE_EMPTY_SUITE(ArrayLineCapType); ATE_EMPTY_SUITE(ArrayFigureStyle); ATE_EMPTY_SUITE(ArrayLineJoinType);
ATE_EMPTY_SUITE(ArrayWariChuJustification); ATE_EMPTY_SUITE(ArrayStyleRunAlignment);
ATE_EMPTY_SUITE(ArrayAutoKernType); ATE_EMPTY_SUITE(ArrayBaselineDirection); ATE_EMPTY_SUITE(ArrayLanguage);
ATE_EMPTY_SUITE(ArrayFontCapsOption); ATE_EMPTY_SUITE(ArrayFontBaselineOption);
ATE_EMPTY_SUITE(ArrayFontOpenTypePositionOption); ATE_EMPTY_SUITE(ArrayUnderlinePosition);
ATE_EMPTY_SUITE(ArrayStrikethroughPosition); ATE_EMPTY_SUITE(ArrayParagraphJustification);
ATE_EMPTY_SUITE(ArrayArrayReal); ATE_EMPTY_SUITE(ArrayBurasagariType); ATE_EMPTY_SUITE(ArrayPreferredKinsokuOrder);
ATE_EMPTY_SUITE(ArrayKinsokuRef); ATE_EMPTY_SUITE(ArrayMojiKumiRef); ATE_EMPTY_SUITE(ArrayMojiKumiSetRef);
ATE_EMPTY_SUITE(ArrayTabStopsRef); ATE_EMPTY_SUITE(ArrayLeadingType); ATE_EMPTY_SUITE(ArrayFontRef);
ATE_EMPTY_SUITE(ArrayGlyphID); ATE_EMPTY_SUITE(ArrayRealPoint); ATE_EMPTY_SUITE(ArrayRealMatrix);
ATE_EMPTY_SUITE(ArrayParagraphDirection); ATE_EMPTY_SUITE(ArrayJustificationMethod); ATE_EMPTY_SUITE(ArrayKashidas);
ATE_EMPTY_SUITE(ArrayDirOverride); ATE_EMPTY_SUITE(ArrayDigitSet); ATE_EMPTY_SUITE(ArrayDiacVPos);
ATE_EMPTY_SUITE(CharInspector); ATE_EMPTY_SUITE(CharStyle); ATE_EMPTY_SUITE(CharStyles);
ATE_EMPTY_SUITE(CharStylesIterator); ATE_EMPTY_SUITE(Find); ATE_EMPTY_SUITE(Glyph); ATE_EMPTY_SUITE(Glyphs);
ATE_EMPTY_SUITE(GlyphsIterator); ATE_EMPTY_SUITE(Kinsoku); ATE_EMPTY_SUITE(KinsokuSet); ATE_EMPTY_SUITE(Paragraph);
ATE_EMPTY_SUITE(ParagraphsIterator); ATE_EMPTY_SUITE(ParaInspector); ATE_EMPTY_SUITE(ParaStyle);
ATE_EMPTY_SUITE(ParaStyles); ATE_EMPTY_SUITE(ParaStylesIterator); ATE_EMPTY_SUITE(Spell); ATE_EMPTY_SUITE(Stories);
ATE_EMPTY_SUITE(Story); ATE_EMPTY_SUITE(TabStop); ATE_EMPTY_SUITE(TabStops); ATE_EMPTY_SUITE(TabStopsIterator);
ATE_EMPTY_SUITE(TextRanges); ATE_EMPTY_SUITE(TextRangesIterator); ATE_EMPTY_SUITE(TextRunsIterator);
ATE_EMPTY_SUITE(WordsIterator); ATE_EMPTY_SUITE(ArrayLine); ATE_EMPTY_SUITE(ArrayComposerEngine);
#undef ATE_EMPTY_SUITE

}  // namespace ATE
