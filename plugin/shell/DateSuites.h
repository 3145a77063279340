// The suite pointers through which the plug-in reaches the host: one process-wide global
// per imported suite, null until acquired and null again after release.
#pragma once

#include "hostapi/HostAPI.h"

extern SPBasicSuite* sSPBasic;

// Basic suites, acquired first.
extern SPAccessSuite* sSPAccess;
extern SPPluginsSuite* sSPPlugins;
extern AINotifierSuite* sAINotifier;
extern AIAppContextSuite* sAIAppContext;
extern ADMBasicSuite* sADMBasic;

// Application, dialog and memory suites.
extern AIMenuSuite* sAIMenu;
extern ASLibSuite* sASLib;
extern AIPreferenceSuite* sAIPreference;
extern AIRealMathSuite* sMath;
extern AIArtSuite* sAIArt;
extern AIPathSuite* sAIPath;
extern AIToolSuite* sAITool;
extern AITransformArtSuite* sAITransformArt;
extern AIUnicodeStringSuite* sAIUnicodeString;
extern SPBlocksSuite* sSPBlocks;
extern ADMDialogGroupSuite* sADMDialogGroup;
extern ADMDialogSuite* sADMDialog;
extern ADMItemSuite* sADMItem;
extern ADMListSuite* sADMList;
extern ADMNotifierSuite* sADMNotifier;
extern ADMEntrySuite* sADMEntry;
extern ADMTrackerSuite* sADMTracker;
extern ADMIconSuite* sADMIcon;
extern ADMIconSuite2* sADMIcon2;
extern ADMDrawerSuite* sADMDrawer;
extern AILayerSuite* sLayer;
extern AIDocumentViewSuite* sDocView;
extern AIDocumentSuite* sDoc;
extern AIMdMemorySuite* sAIMDMemory;
extern AIPathStyleSuite* sPathStyle;
extern AIAnnotatorSuite* sAIAnnotator;
extern AIAnnotatorDrawerSuite* sAIAnnotatorDrawer;
extern AICursorSnapSuite* sCursorSnap;
extern AIPluginSuite* sAIPlugin;
extern AIUserSuite* sAIUser;
extern AITextFrameSuite* sAITextFrame;
extern AIATEPaintSuite* sATEPaint;
extern AIFontSuite* sAIFont;
extern AIURLSuite* sURL;
extern AITagSuite* sTag;
extern AIMatchingArtSuite* sAIMatchingArt;
extern AIArtboardSuite* sAIArtboard;
extern AIFilePathSuite* sAIFilePath;

// Text-engine suites: sTextRange, sCharFeatures, ... one per row of ATE_SUITE_LIST.
#define DATE_DECLARE_ATE_SUITE(name, version) extern ATE::name##Suite* s##name;
ATE_SUITE_LIST(DATE_DECLARE_ATE_SUITE)
#undef DATE_DECLARE_ATE_SUITE
