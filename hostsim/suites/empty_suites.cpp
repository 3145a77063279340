// Suites the plug-in imports but never calls: the host still supplies each by name and
// version, as tables without operations, so that acquiring them succeeds.
#include "hostsim/suites/empty_suites.h"

#include <string>
#include <type_traits>

#include "hostsim/core/host.h"

namespace hostsim {

namespace {

template <typename Suite>
void offerEmpty(Host& host, const char* name, int32_t version) {
  static_assert(std::is_empty_v<Suite>, "a suite with operations needs a real table");
  static const Suite table{};
  host.offerSuite(name, version, &table);
}

// The text-engine suites with operations are offered with the text suites; the rest here.
template <typename Suite>
void offerIfEmpty(Host& host, const char* name, int32_t version) {
  if constexpr (std::is_empty_v<Suite>) offerEmpty<Suite>(host, name, version);
}

#define HOSTSIM_COUNT_EMPTY_ATE(name, version) +(std::is_empty_v<ATE::name##Suite> ? 1 : 0)
constexpr int kEmptyTextEngineSuites = 0 ATE_SUITE_LIST(HOSTSIM_COUNT_EMPTY_ATE);
#undef HOSTSIM_COUNT_EMPTY_ATE
static_assert(kEmptyTextEngineSuites == 81, "86 text-engine suites, 5 of them with operations");

}  // namespace

void offerEmptySuites(Host& host) {
  offerEmpty<ASLibSuite>(host, kASLibSuite, kASLibSuiteVersion);
  offerEmpty<AIPathSuite>(host, kAIPathSuite, kAIPathSuiteVersion);
  offerEmpty<AIToolSuite>(host, kAIToolSuite, kAIToolSuiteVersion);
  offerEmpty<AIDocumentViewSuite>(host, kAIDocumentViewSuite, kAIDocumentViewSuiteVersion);
  offerEmpty<AIPathStyleSuite>(host, kAIPathStyleSuite, kAIPathStyleSuiteVersion);
  offerEmpty<AIAnnotatorSuite>(host, kAIAnnotatorSuite, kAIAnnotatorSuiteVersion);
  offerEmpty<AIAnnotatorDrawerSuite>(host, kAIAnnotatorDrawerSuite, kAIAnnotatorDrawerSuiteVersion);
  offerEmpty<AICursorSnapSuite>(host, kAICursorSnapSuite, kAICursorSnapSuiteVersion);
  offerEmpty<AIPluginSuite>(host, kAIPluginSuite, kAIPluginSuiteVersion);
  offerEmpty<AIURLSuite>(host, kAIURLSuite, kAIURLSuiteVersion);
  offerEmpty<ADMDialogGroupSuite>(host, kADMDialogGroupSuite, kADMDialogGroupSuiteVersion);
  offerEmpty<ADMTrackerSuite>(host, kADMTrackerSuite, kADMTrackerSuiteVersion);

#define HOSTSIM_OFFER_EMPTY_ATE(name, version) offerIfEmpty<ATE::name##Suite>(host, "ATE " #name " Suite", version);
  ATE_SUITE_LIST(HOSTSIM_OFFER_EMPTY_ATE)
#undef HOSTSIM_OFFER_EMPTY_ATE
}

}  // namespace hostsim
