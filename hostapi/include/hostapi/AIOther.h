// Suites a plug-in of this generation imports but this system calls nothing of. The host
// must still supply them by name and version; their operations are not declared here.
#pragma once

#include "ASTypes.h"

struct ASLibSuite {};
constexpr const char* kASLibSuite = "AS Lib Suite";
constexpr int32_t kASLibSuiteVersion = 1002;

struct AIPathSuite {};
constexpr const char* kAIPathSuite = "AI Path Suite";
constexpr int32_t kAIPathSuiteVersion = 1009;

struct AIToolSuite {};
constexpr const char* kAIToolSuite = "AI Tool Suite";
constexpr int32_t kAIToolSuiteVersion = 1011;

struct AIDocumentViewSuite {};
constexpr const char* kAIDocumentViewSuite = "AI Document View Suite";
constexpr int32_t kAIDocumentViewSuiteVersion = 1010;

struct AIPathStyleSuite {};
constexpr const char* kAIPathStyleSuite = "AI Path Style Suite";
constexpr int32_t kAIPathStyleSuiteVersion = 1011;

struct AIAnnotatorSuite {};
constexpr const char* kAIAnnotatorSuite = "AI Annotator Suite";
constexpr int32_t kAIAnnotatorSuiteVersion = 1004;

struct AIAnnotatorDrawerSuite {};
constexpr const char* kAIAnnotatorDrawerSuite = "AI Annotator Drawer Suite";
constexpr int32_t kAIAnnotatorDrawerSuiteVersion = 1002;

struct AICursorSnapSuite {};
constexpr const char* kAICursorSnapSuite = "AI Cursor Snap Suite";
constexpr int32_t kAICursorSnapSuiteVersion = 1003;

struct AIPluginSuite {};
constexpr const char* kAIPluginSuite = "AI Plugin Suite";
constexpr int32_t kAIPluginSuiteVersion = 1003;

struct AIURLSuite {};
constexpr const char* kAIURLSuite = "AI URL Suite";
constexpr int32_t kAIURLSuiteVersion = 1001;

struct ADMDialogGroupSuite {};
constexpr const char* kADMDialogGroupSuite = "ADM Dialog Group Suite";
constexpr int32_t kADMDialogGroupSuiteVersion = 1;

struct ADMTrackerSuite {};
constexpr const char* kADMTrackerSuite = "ADM Tracker Suite";
constexpr int32_t kADMTrackerSuiteVersion = 2;
