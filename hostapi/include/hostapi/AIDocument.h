// The current document: its file, bleed and artboards; file paths; Unicode strings; the
// user services (the date).
//
// Strings, paths, artboard lists and properties handed out here belong to the caller and
// are given back through the same suite.
#pragma once

#include "ASTypes.h"

constexpr const char* kAIDocumentSuite = "AI Document Suite";
constexpr int32_t kAIDocumentSuiteVersion = 1012;

struct AIDocumentSuite {
  // The document's file location into *file (a path the caller deletes). A document that
  // was never saved gives a path that names no existing file.
  ASErr (*GetDocumentFileSpecification)(AIFilePathHandle* file);
  // The bleed on each side of the document's artboards, in points (left, top, right, bottom).
  ASErr (*GetDocumentBleeds)(AIRealRect* bleeds);
  ASErr (*SetDocumentBleeds)(const AIRealRect* bleeds);
};

constexpr const char* kAIFilePathSuite = "AI File Path Suite";
constexpr int32_t kAIFilePathSuiteVersion = 1002;

struct AIFilePathSuite {
  // True when the path names something on disk; *isFile (may be null) then says whether it
  // is a file. longPath may be null.
  AIBoolean (*Exists)(AIFilePathHandle path, AIBoolean resolveLinks, AIBoolean* longPath, AIBoolean* isFile);
  // The full path, "/" between components, as a new string the caller destroys.
  ASErr (*GetFullPath)(AIFilePathHandle path, AIBoolean displayName, AIUnicodeStringHandle* fullPath);
  // Deletes the path object; a null path is accepted and does nothing.
  ASErr (*DeletePath)(AIFilePathHandle path);
};

constexpr const char* kAIUnicodeStringSuite = "AI Unicode String Suite";
constexpr int32_t kAIUnicodeStringSuiteVersion = 1006;

struct AIUnicodeStringSuite {
  // A new string from byteLength bytes of text in the encoding, into *string.
  ASErr (*Initialize)(AIUnicodeStringHandle* string, const char* text, int32_t byteLength,
                      AICharacterEncoding encoding);
  ASErr (*Destroy)(AIUnicodeStringHandle string);
  // Makes *string equal to source, creating it when *string is null (a null source is empty).
  ASErr (*Copy)(AIUnicodeStringHandle* string, AIUnicodeStringHandle source);
  // Converts to the encoding into buffer (see AICharBufferData); *count receives the
  // number of characters written. Characters the encoding cannot hold become '?'.
  ASErr (*GetAs)(AIUnicodeStringHandle string, AICharacterEncoding encoding, AICharBufferData* buffer,
                 uint32_t* count);
  // 0 when both hold the same characters, otherwise negative or positive as a sorts before
  // or after b. A null string is empty.
  int32_t (*Compare)(AIUnicodeStringHandle a, AIUnicodeStringHandle b);
};

constexpr const char* kAIArtboardSuite = "AI Artboard Suite";
constexpr int32_t kAIArtboardSuiteVersion = 1001;

struct AIArtboardSuite {
  ASErr (*Init)(AIArtboardPropertiesHandle* properties);
  ASErr (*Dispose)(AIArtboardPropertiesHandle properties);
  // The current document's artboards; release the list when done.
  ASErr (*GetArtboardList)(AIArtboardListHandle* list);
  ASErr (*ReleaseArtboardList)(AIArtboardListHandle list);
  ASErr (*GetCount)(AIArtboardListHandle list, int32_t* count);
  // Index of the active artboard, counted from 0.
  ASErr (*GetActive)(AIArtboardListHandle list, int32_t* index);
  // Copies artboard `index` into properties made by Init.
  ASErr (*GetArtboardProperties)(AIArtboardListHandle list, int32_t index, AIArtboardPropertiesHandle properties);
  // The artboard's rectangle in points, y up.
  ASErr (*GetPosition)(AIArtboardPropertiesHandle properties, AIRealRect* rect);
};

constexpr const char* kAIUserSuite = "AI User Suite";
constexpr int32_t kAIUserSuiteVersion = 1009;

// A moment in the host's clock; read it only through the suite.
struct AIUserDateTime {
  int64_t value;
};

struct AIUserSuite {
  ASErr (*GetDateAndTime)(AIUserDateTime* now);
  ASErr (*GetYear)(const AIUserDateTime* moment, int32_t* year);
  // 1 to 12.
  ASErr (*GetMonth)(const AIUserDateTime* moment, int32_t* month);
  // 1 to 31.
  ASErr (*GetDay)(const AIUserDateTime* moment, int32_t* day);
  // 1 (Friday) to 7 (Thursday).
  ASErr (*GetDayOfWeek)(const AIUserDateTime* moment, int32_t* dayOfWeek);
};
