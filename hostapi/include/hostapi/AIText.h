// Text art and fonts: point-text frames, the host's font list, and the bridge from host
// colours and font keys to text-engine objects.
//
// Text-engine references handed out here are owned by the caller and given back through
// the text-engine suites (ATESuites.h).
#pragma once

#include "ASTypes.h"
#include "ATESuites.h"

constexpr int32_t kHorizontalTextOrientation = 0;

constexpr const char* kAITextFrameSuite = "AI Text Frame Suite";
constexpr int32_t kAITextFrameSuiteVersion = 1002;

struct AITextFrameSuite {
  // A new, empty point text whose first baseline passes through anchor.
  ASErr (*NewPointText)(int16_t paintOrder, AIArtHandle prep, int32_t orientation, AIRealPoint anchor,
                        AIArtHandle* newTextFrame);
  // The frame's whole text as a new text-range reference the caller releases.
  ASErr (*GetATETextRange)(AIArtHandle textFrame, ATE::TextRangeRef* range);
  // The point through which the frame's first baseline passes.
  ASErr (*GetPointTextAnchor)(AIArtHandle textFrame, AIRealPoint* anchor);
};

constexpr const char* kAIFontSuite = "AI Font Suite";
constexpr int32_t kAIFontSuiteVersion = 1004;

struct AIFontSuite {
  ASErr (*CountFonts)(int32_t* count);
  // The font at index of the host's font list, counted from 0.
  ASErr (*IndexFontList)(int32_t index, AIFontKey* font);
  // The font's name, zero-terminated, cut to maxLength bytes with the terminator.
  ASErr (*GetFontName)(AIFontKey font, char* name, int16_t maxLength);
  // A new text-engine font reference for the key; the caller releases it.
  ASErr (*FontFromFontKey)(AIFontKey font, ATE::FontRef* ateFont);
};

constexpr const char* kAIATEPaintSuite = "AIATE Paint Suite";
constexpr int32_t kAIATEPaintSuiteVersion = 1001;

struct AIATEPaintSuite {
  // A new text-engine paint of the colour; the caller releases it.
  ASErr (*CreateATEApplicationPaint)(const AIColor* color, ATE::ApplicationPaintRef* paint);
};
