// Basic types shared by the host and its plug-ins.
//
// Everything here is plain data: integers of fixed width, opaque handles, points and
// rectangles. Document geometry is in points (1/72 inch) with y growing upward; dialog
// geometry is in 16-bit pixels with y growing downward.
#pragma once

#include <cstddef>
#include <cstdint>

// A host result: 0 for success, otherwise mostly a four-character code.
using ASErr = int32_t;
using AIErr = ASErr;
using ASBoolean = uint8_t;
using AIBoolean = uint8_t;
using ADMBoolean = uint8_t;
using AIReal = float;

// Packs four characters, most significant first: fourcc("!MEM") == 0x214D454D.
constexpr ASErr fourcc(const char (&code)[5]) {
  return static_cast<ASErr>((static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
                            (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
                            (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
                            static_cast<uint32_t>(static_cast<uint8_t>(code[3])));
}

constexpr ASErr kNoErr = 0;
constexpr ASErr kOutOfMemoryErr = fourcc("!MEM");
constexpr ASErr kUnhandledMsgErr = fourcc("!MSG");
constexpr ASErr kCantHappenErr = fourcc("CANT");
constexpr ASErr kBadParameterErr = fourcc("PARM");
constexpr ASErr kNotImplementedErr = fourcc("!IMP");
constexpr ASErr kNoDocumentErr = fourcc("DOC?");
constexpr ASErr kSPSuiteNotFoundError = fourcc("S!Fd");
constexpr ASErr kSPBadSuiteVersionError = fourcc("S!Vr");
constexpr ASErr kSPPluginCachesFlushResponse = fourcc("pFls");

// Opaque handles. Each is a distinct pointer type, so one kind cannot be passed for another.
#define HOSTAPI_HANDLE(name) using name = struct name##_Opaque*
HOSTAPI_HANDLE(SPPluginRef);
HOSTAPI_HANDLE(SPAccessRef);
HOSTAPI_HANDLE(AINotifierHandle);
HOSTAPI_HANDLE(AIAppContextHandle);
HOSTAPI_HANDLE(AIMenuItemHandle);
HOSTAPI_HANDLE(AIMenuGroup);
HOSTAPI_HANDLE(AIArtHandle);
HOSTAPI_HANDLE(AILayerHandle);
HOSTAPI_HANDLE(AIMdMemoryHandle);
HOSTAPI_HANDLE(AIUnicodeStringHandle);
HOSTAPI_HANDLE(AIFilePathHandle);
HOSTAPI_HANDLE(AIArtboardListHandle);
HOSTAPI_HANDLE(AIArtboardPropertiesHandle);
HOSTAPI_HANDLE(AIFontKey);
HOSTAPI_HANDLE(ADMDialogRef);
HOSTAPI_HANDLE(ADMItemRef);
HOSTAPI_HANDLE(ADMListRef);
HOSTAPI_HANDLE(ADMEntryRef);
HOSTAPI_HANDLE(ADMNotifierRef);
HOSTAPI_HANDLE(ADMDrawerRef);
HOSTAPI_HANDLE(ADMIconRef);
#undef HOSTAPI_HANDLE

using ADMUserData = void*;

// Document geometry, in points, y up: top is greater than bottom.
struct AIRealPoint {
  AIReal h;
  AIReal v;
};

struct AIRealRect {
  AIReal left;
  AIReal top;
  AIReal right;
  AIReal bottom;
};

struct AIRealMatrix {
  AIReal a, b, c, d, tx, ty;
};

// Dialog geometry, in pixels, y down.
struct ADMRect {
  int16_t top;
  int16_t left;
  int16_t bottom;
  int16_t right;
};

struct ADMPoint {
  int16_t v;
  int16_t h;
};

// The host's colour record: a kind, then the kind's components.
enum AIColorKind : int32_t {
  kGrayColor = 0,
  kFourColor = 1,
  kThreeColor = 5,
};

struct AIFourColorStyle {
  AIReal cyan, magenta, yellow, black;
};

struct AIThreeColorStyle {
  AIReal red, green, blue;
};

struct AIGrayColorStyle {
  AIReal gray;
};

struct AIColor {
  int32_t kind;
  union {
    AIFourColorStyle f;
    AIThreeColorStyle rgb;
    AIGrayColorStyle g;
  } c;
};

// Character encodings of 8-bit strings exchanged with the host.
using AICharacterEncoding = int32_t;
constexpr AICharacterEncoding kAIPlatformCharacterEncoding = 0;  // Mac Roman
constexpr AICharacterEncoding kAIUTF8CharacterEncoding = 1;

// A counted character buffer that the host fills (the layout of the plug-in's
// ai::AutoBuffer<char>). The host frees any block it holds and allocates the new one
// through the SP Blocks Suite, so the caller frees it there.
struct AICharBufferData {
  uint32_t count;
  char* buffer;
};
