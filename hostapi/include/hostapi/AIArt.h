// The document's art: layers, the art tree, tags, matching art, transformation and the
// real math that builds transformation matrices.
//
// Art and layer handles belong to the document. A handle kept across runs may refer to
// art that has since been disposed of: test it with ValidArt before using it.
#pragma once

#include "ASTypes.h"

// Art types.
constexpr int16_t kAnyArt = -1;
constexpr int16_t kUnknownArt = 0;
constexpr int16_t kGroupArt = 1;
constexpr int16_t kPathArt = 2;
constexpr int16_t kTextFrameArt = 12;

// Where new art or a new layer goes, relative to a reference.
constexpr int16_t kPlaceAbove = 1;
constexpr int16_t kPlaceBelow = 2;
constexpr int16_t kPlaceInsideOnTop = 3;
constexpr int16_t kPlaceInsideOnBottom = 4;
constexpr int16_t kPlaceAboveAll = 5;
constexpr int16_t kPlaceBelowAll = 6;

// Art attribute flags.
constexpr int32_t kArtSelected = 0x01;
constexpr int32_t kArtLocked = 0x02;
constexpr int32_t kArtHidden = 0x04;

// TransformArt flags.
constexpr int32_t kTransformObjects = 0x01;

constexpr const char* kAIArtSuite = "AI Art Suite";
constexpr int32_t kAIArtSuiteVersion = 1015;

struct AIArtSuite {
  // New art of `type` placed by paintOrder relative to prep; the handle goes to *newArt.
  ASErr (*NewArt)(int16_t type, int16_t paintOrder, AIArtHandle prep, AIArtHandle* newArt);
  // Removes the art and everything inside it from the document.
  ASErr (*DisposeArt)(AIArtHandle art);
  ASErr (*GetArtType)(AIArtHandle art, int16_t* type);
  // The first object inside a group, or null.
  ASErr (*GetArtFirstChild)(AIArtHandle art, AIArtHandle* child);
  // The next object in the same group, or null after the last.
  ASErr (*GetArtSibling)(AIArtHandle art, AIArtHandle* sibling);
  // The layer's top-level group.
  ASErr (*GetFirstArtOfLayer)(AILayerHandle layer, AIArtHandle* art);
  // The art's bounds in points.
  ASErr (*GetArtBounds)(AIArtHandle art, AIRealRect* bounds);
  // True when art names live art of the current document; a null handle is not valid.
  AIBoolean (*ValidArt)(AIArtHandle art, AIBoolean searchAllLayerLists);
};

constexpr const char* kAILayerSuite = "AI Layer Suite";
constexpr int32_t kAILayerSuiteVersion = 1011;

// Layers are counted from 0, the topmost.
struct AILayerSuite {
  ASErr (*CountLayers)(int32_t* count);
  ASErr (*GetNthLayer)(int32_t n, AILayerHandle* layer);
  ASErr (*GetCurrentLayer)(AILayerHandle* layer);
  // A new layer placed by paintOrder relative to `layer` (may be null for kPlaceAboveAll).
  ASErr (*InsertLayer)(AILayerHandle layer, int16_t paintOrder, AILayerHandle* newLayer);
  // The layer's title into *title: a string the host creates when *title is null,
  // otherwise the string *title is overwritten. The caller destroys it.
  ASErr (*GetLayerTitle)(AILayerHandle layer, AIUnicodeStringHandle* title);
  ASErr (*SetLayerTitle)(AILayerHandle layer, AIUnicodeStringHandle title);
  // False for a locked or hidden layer.
  ASErr (*GetLayerEditable)(AILayerHandle layer, AIBoolean* editable);
};

constexpr const char* kAITagSuite = "AI Tag Suite";
constexpr int32_t kAITagSuiteVersion = 1002;

struct AITagSuite {
  // Attaches tag `name` of `type` ("string": value is a zero-terminated string) to the art.
  ASErr (*SetTag)(AIArtHandle art, const char* name, const char* type, const void* value);
  // 0 when the art carries tag `name`; its value is copied to value unless value is null.
  ASErr (*GetTag)(AIArtHandle art, const char* name, void* value);
};

constexpr const char* kAIMatchingArtSuite = "AI Matching Art Suite";
constexpr int32_t kAIMatchingArtSuiteVersion = 1005;

// Art of `type` whose attributes masked by whichAttr equal attr.
struct AIMatchingArtSpec {
  int16_t type;
  int32_t whichAttr;
  int32_t attr;
};

struct AIMatchingArtSuite {
  // Every matching art object of the current document, in document order: *matches is a
  // host memory handle (release it with the MdMemory suite) to *numMatches handles.
  ASErr (*GetMatchingArt)(AIMatchingArtSpec* specs, int16_t numSpecs, AIArtHandle*** matches, int32_t* numMatches);
};

constexpr const char* kAIMdMemorySuite = "AI MdMemory Suite";
constexpr int32_t kAIMdMemorySuiteVersion = 1001;

struct AIMdMemorySuite {
  ASErr (*MdMemoryDisposeHandle)(AIMdMemoryHandle handle);
};

constexpr const char* kAITransformArtSuite = "AI Transform Art Suite";
constexpr int32_t kAITransformArtSuiteVersion = 1001;

struct AITransformArtSuite {
  // Applies the matrix to the art; lineScale scales strokes, flags say what is transformed.
  ASErr (*TransformArt)(AIArtHandle art, AIRealMatrix* matrix, AIReal lineScale, int32_t flags);
};

constexpr const char* kAIRealMathSuite = "AI Real Math Suite";
constexpr int32_t kAIRealMathSuiteVersion = 1001;

struct AIRealMathSuite {
  // Sets the matrix to a pure translation.
  void (*AIRealMatrixSetTranslate)(AIRealMatrix* matrix, AIReal tx, AIReal ty);
};
