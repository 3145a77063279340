// The suite globals and the two import tables.
#include "shell/DateSuites.h"

#include "shell/Suites.h"

SPBasicSuite* sSPBasic = nullptr;

SPAccessSuite* sSPAccess = nullptr;
SPPluginsSuite* sSPPlugins = nullptr;
AINotifierSuite* sAINotifier = nullptr;
AIAppContextSuite* sAIAppContext = nullptr;
ADMBasicSuite* sADMBasic = nullptr;

AIMenuSuite* sAIMenu = nullptr;
ASLibSuite* sASLib = nullptr;
AIPreferenceSuite* sAIPreference = nullptr;
AIRealMathSuite* sMath = nullptr;
AIArtSuite* sAIArt = nullptr;
AIPathSuite* sAIPath = nullptr;
AIToolSuite* sAITool = nullptr;
AITransformArtSuite* sAITransformArt = nullptr;
AIUnicodeStringSuite* sAIUnicodeString = nullptr;
SPBlocksSuite* sSPBlocks = nullptr;
ADMDialogGroupSuite* sADMDialogGroup = nullptr;
ADMDialogSuite* sADMDialog = nullptr;
ADMItemSuite* sADMItem = nullptr;
ADMListSuite* sADMList = nullptr;
ADMNotifierSuite* sADMNotifier = nullptr;
ADMEntrySuite* sADMEntry = nullptr;
ADMTrackerSuite* sADMTracker = nullptr;
ADMIconSuite* sADMIcon = nullptr;
ADMIconSuite2* sADMIcon2 = nullptr;
ADMDrawerSuite* sADMDrawer = nullptr;
AILayerSuite* sLayer = nullptr;
AIDocumentViewSuite* sDocView = nullptr;
AIDocumentSuite* sDoc = nullptr;
AIMdMemorySuite* sAIMDMemory = nullptr;
AIPathStyleSuite* sPathStyle = nullptr;
AIAnnotatorSuite* sAIAnnotator = nullptr;
AIAnnotatorDrawerSuite* sAIAnnotatorDrawer = nullptr;
AICursorSnapSuite* sCursorSnap = nullptr;
AIPluginSuite* sAIPlugin = nullptr;
AIUserSuite* sAIUser = nullptr;
AITextFrameSuite* sAITextFrame = nullptr;
AIATEPaintSuite* sATEPaint = nullptr;
AIFontSuite* sAIFont = nullptr;
AIURLSuite* sURL = nullptr;
AITagSuite* sTag = nullptr;
AIMatchingArtSuite* sAIMatchingArt = nullptr;
AIArtboardSuite* sAIArtboard = nullptr;
AIFilePathSuite* sAIFilePath = nullptr;

#define DATE_DEFINE_ATE_SUITE(name, version) ATE::name##Suite* s##name = nullptr;
ATE_SUITE_LIST(DATE_DEFINE_ATE_SUITE)
#undef DATE_DEFINE_ATE_SUITE

#define DATE_ROW(name, version, global) {name, version, static_cast<const void**>(static_cast<void*>(&global))}

ImportSuite gBasicSuites[kBasicSuitesCount] = {
    DATE_ROW(kSPAccessSuite, kSPAccessSuiteVersion, sSPAccess),
    DATE_ROW(kSPPluginsSuite, kSPPluginsSuiteVersion, sSPPlugins),
    DATE_ROW(kAINotifierSuite, kAINotifierSuiteVersion, sAINotifier),
    DATE_ROW(kAIAppContextSuite, kAIAppContextSuiteVersion, sAIAppContext),
    DATE_ROW(kADMBasicSuite, kADMBasicSuiteVersion10, sADMBasic),
};

#define DATE_ATE_ROW(name, version) DATE_ROW("ATE " #name " Suite", version, s##name),

ImportSuite gImportSuites[] = {
    DATE_ROW(kAIMenuSuite, kAIMenuSuiteVersion, sAIMenu),
    DATE_ROW(kASLibSuite, kASLibSuiteVersion, sASLib),
    DATE_ROW(kAIPreferenceSuite, kAIPreferenceSuiteVersion, sAIPreference),
    DATE_ROW(kAIRealMathSuite, kAIRealMathSuiteVersion, sMath),
    DATE_ROW(kAIArtSuite, kAIArtSuiteVersion, sAIArt),
    DATE_ROW(kAIPathSuite, kAIPathSuiteVersion, sAIPath),
    DATE_ROW(kAIToolSuite, kAIToolSuiteVersion, sAITool),
    DATE_ROW(kAITransformArtSuite, kAITransformArtSuiteVersion, sAITransformArt),
    DATE_ROW(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, sAIUnicodeString),
    DATE_ROW(kSPBlocksSuite, kSPBlocksSuiteVersion, sSPBlocks),
    DATE_ROW(kADMDialogGroupSuite, kADMDialogGroupSuiteVersion, sADMDialogGroup),
    DATE_ROW(kADMDialogSuite, kADMDialogSuiteVersion, sADMDialog),
    DATE_ROW(kADMItemSuite, kADMItemSuiteVersion, sADMItem),
    DATE_ROW(kADMListSuite, kADMListSuiteVersion, sADMList),
    DATE_ROW(kADMNotifierSuite, kADMNotifierSuiteVersion, sADMNotifier),
    DATE_ROW(kADMEntrySuite, kADMEntrySuiteVersion, sADMEntry),
    DATE_ROW(kADMTrackerSuite, kADMTrackerSuiteVersion, sADMTracker),
    DATE_ROW(kADMIconSuite, kADMIconSuiteVersion1, sADMIcon),
    DATE_ROW(kADMIconSuite, kADMIconSuiteVersion2, sADMIcon2),
    DATE_ROW(kADMDrawerSuite, kADMDrawerSuiteVersion, sADMDrawer),
    DATE_ROW(kAILayerSuite, kAILayerSuiteVersion, sLayer),
    DATE_ROW(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, sDocView),
    DATE_ROW(kAIDocumentSuite, kAIDocumentSuiteVersion, sDoc),
    DATE_ROW(kAIMdMemorySuite, kAIMdMemorySuiteVersion, sAIMDMemory),
    DATE_ROW(kAIPathStyleSuite, kAIPathStyleSuiteVersion, sPathStyle),
    DATE_ROW(kAIAnnotatorSuite, kAIAnnotatorSuiteVersion, sAIAnnotator),
    DATE_ROW(kAIAnnotatorDrawerSuite, kAIAnnotatorDrawerSuiteVersion, sAIAnnotatorDrawer),
    DATE_ROW(kAICursorSnapSuite, kAICursorSnapSuiteVersion, sCursorSnap),
    DATE_ROW(kAIPluginSuite, kAIPluginSuiteVersion, sAIPlugin),
    DATE_ROW(kAIUserSuite, kAIUserSuiteVersion, sAIUser),
    DATE_ROW(kAITextFrameSuite, kAITextFrameSuiteVersion, sAITextFrame),
    DATE_ROW(kAIATEPaintSuite, kAIATEPaintSuiteVersion, sATEPaint),
    DATE_ROW(kAIFontSuite, kAIFontSuiteVersion, sAIFont),
    DATE_ROW(kAIURLSuite, kAIURLSuiteVersion, sURL),
    DATE_ROW(kAITagSuite, kAITagSuiteVersion, sTag),
    DATE_ROW(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, sAIMatchingArt),
    DATE_ROW(kAIArtboardSuite, kAIArtboardSuiteVersion, sAIArtboard),
    DATE_ROW(kAIFilePathSuite, kAIFilePathSuiteVersion, sAIFilePath),
    ATE_SUITE_LIST(DATE_ATE_ROW)
    // No optional suites follow.
    {nullptr, 0, nullptr},
};

#undef DATE_ATE_ROW
#undef DATE_ROW
