#include "hostsim/core/faults.h"

#include <algorithm>

namespace hostsim {

namespace {

// Each suite with the operations it counts, by name. An operation that the host numbers
// belongs here: the sweep's clean run checks that it does.
struct SuiteOperations {
  const char* suite;
  const char* operations;  // separated by spaces
};
constexpr SuiteOperations kOperations[] = {
    {"ADM Basic Suite", "AboutBox Beep ErrorAlert GetIndexString GetScreenDimensions MessageAlert"},
    {"ADM Dialog Suite", "DefaultDraw EndModal GetBoundsRect GetItem GetPluginRef Modal SetBoundsRect SetDrawProc "
                         "SetText"},
    {"ADM Drawer Suite", "Clear DrawIcon DrawLine DrawText DrawTextCentered FillRect FrameRect SetADMColor SetFont"},
    {"ADM Entry Suite", "Create GetID GetIndex Select SetID SetText"},
    {"ADM Icon Suite", "Destroy GetFromResource"},
    {"ADM Item Suite", "Activate Create DefaultNotify Enable GetBooleanValue GetDialog GetFloatValue GetID GetList "
                       "GetText GetTextLength Invalidate SetBooleanValue SetDrawProc SetFloatValue SetFont SetJustify "
                       "SetLargeIncrement SetMaxTextLength SetMinFloatValue SetNotifyProc SetSmallIncrement SetText "
                       "SetTipString SetUnits"},
    {"ADM List Suite", "GetActiveEntry IndexEntry"},
    {"ADM Notifier Suite", "IsNotifierType"},
    {"AI Art Suite", "DisposeArt GetArtBounds GetArtFirstChild GetArtSibling GetArtType GetFirstArtOfLayer NewArt "
                     "ValidArt"},
    {"AI Artboard Suite", "Dispose GetActive GetArtboardList GetArtboardProperties GetCount GetPosition Init "
                          "ReleaseArtboardList"},
    {"AI Context Suite", "PopAppContext PushAppContext"},
    {"AI Document Suite", "GetDocumentBleeds GetDocumentFileSpecification SetDocumentBleeds"},
    {"AI File Path Suite", "DeletePath Exists GetFullPath"},
    {"AI Font Suite", "CountFonts FontFromFontKey GetFontName IndexFontList"},
    {"AI Layer Suite", "CountLayers GetCurrentLayer GetLayerEditable GetLayerTitle GetNthLayer InsertLayer "
                       "SetLayerTitle"},
    {"AI Matching Art Suite", "GetMatchingArt"},
    {"AI MdMemory Suite", "MdMemoryDisposeHandle"},
    {"AI Menu Suite", "AddMenuGroupAsSubMenu AddMenuItem CountMenuGroups GetMenuGroupName GetNthMenuGroup"},
    {"AI Notifier Suite", "AddNotifier"},
    {"AI Preference Suite", "GetBooleanPreference GetIntegerPreference GetRealPreference GetStringPreference "
                            "PutBooleanPreference PutIntegerPreference PutRealPreference PutStringPreference"},
    {"AI Real Math Suite", "AIRealMatrixSetTranslate"},
    {"AI Tag Suite", "GetTag SetTag"},
    {"AI Text Frame Suite", "GetATETextRange GetPointTextAnchor NewPointText"},
    {"AI Transform Art Suite", "TransformArt"},
    {"AI Unicode String Suite", "Compare Copy Destroy GetAs Initialize"},
    {"AI User Suite", "GetDateAndTime GetDay GetDayOfWeek GetMonth GetYear"},
    {"AIATE Paint Suite", "CreateATEApplicationPaint"},
    {"ATE ApplicationPaint Suite", "AddRef Release"},
    {"ATE CharFeatures Suite", "Initialize Release SetBaselineShift SetFillColor SetFont SetFontSize SetTracking"},
    {"ATE Font Suite", "AddRef Release"},
    {"ATE ParaFeatures Suite", "Initialize Release SetFirstLineIndent SetJustification SetLeadingType "
                               "SetStartIndent"},
    {"ATE TextRange Suite", "InsertAfter Release Remove SetLocalCharFeatures SetLocalParaFeatures"},
    {"SP Access Suite", "AcquirePlugin GetCurrentPlugin ReleasePlugin"},
    {"SP Plug-ins Suite", "SetPluginName"},
};

}  // namespace

std::optional<ASErr> FaultPlan::callFails(std::string_view operation, uint64_t nthOfOperation,
                                          uint64_t nthOverall) const {
  if (failingCalls_.empty()) return std::nullopt;
  if (auto it = failingCalls_.find({std::string(operation), nthOfOperation}); it != failingCalls_.end())
    return it->second;
  if (auto it = failingCalls_.find({"*", nthOverall}); it != failingCalls_.end()) return it->second;
  return std::nullopt;
}

const std::vector<std::string>& failableOperations() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const SuiteOperations& suite : kOperations) {
      std::string_view rest = suite.operations;
      while (!rest.empty()) {
        const size_t space = rest.find(' ');
        all.push_back(std::string(suite.suite) + "." + std::string(rest.substr(0, space)));
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
      }
    }
    std::sort(all.begin(), all.end());
    return all;
  }();
  return names;
}

bool isFailableOperation(std::string_view operation) {
  const auto& names = failableOperations();
  return std::binary_search(names.begin(), names.end(), operation, std::less<>());
}

}  // namespace hostsim
