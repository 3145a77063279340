// ADM Basic Suite: the plug-in's resource strings, alerts, the screen, the standard About
// box and the beep. Offered under versions 10 and 11 with the same operations.
//
// Alerts, About boxes and beeps are recorded by the host instead of shown, so a run can say
// what the user would have seen.
#include "hostsim/suites/adm_basic_suite.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "hostsim/core/host.h"

namespace hostsim {

namespace {

// The plug-in has no string list of that number, or the list no entry of that index.
constexpr ASErr kStringNotFoundErr = fourcc("STR?");

ASErr getIndexString(SPPluginRef plugin, int32_t listID, int32_t index, char* buffer, int32_t bufferSize) {
  // A string that cannot be read reads as empty.
  if (buffer != nullptr && bufferSize > 0) buffer[0] = '\0';
  HOSTSIM_ENTER("ADM Basic Suite.GetIndexString");
  Host& host = Host::current();
  if (buffer == nullptr || bufferSize <= 0 || !host.isPlugin(plugin)) return kBadParameterErr;
  const auto& lists = host.plugin().resources.stringLists;
  auto list = lists.find(listID);
  if (list == lists.end() || index < 1 || static_cast<size_t>(index) > list->second.size()) return kStringNotFoundErr;
  // An entry longer than the buffer is cut; Mac Roman has one byte per character, so no
  // character is split.
  const std::string& entry = list->second[static_cast<size_t>(index) - 1];
  size_t length = std::min(entry.size(), static_cast<size_t>(bufferSize) - 1);
  std::memcpy(buffer, entry.data(), length);
  buffer[length] = '\0';
  return kNoErr;
}

void errorAlert(const char* text) {
  HOSTSIM_ENTER_VOID("ADM Basic Suite.ErrorAlert");
  Host::current().alert(Alert::Kind::Error, text != nullptr ? text : "");
}

void messageAlert(const char* text) {
  HOSTSIM_ENTER_VOID("ADM Basic Suite.MessageAlert");
  Host::current().alert(Alert::Kind::Message, text != nullptr ? text : "");
}

void getScreenDimensions(ADMRect* bounds) {
  // A screen the host cannot measure reads as empty rather than as the caller's old values.
  if (bounds != nullptr) *bounds = ADMRect{0, 0, 0, 0};
  HOSTSIM_ENTER_VOID("ADM Basic Suite.GetScreenDimensions");
  if (bounds != nullptr) *bounds = Host::current().screen;
}

void aboutBox(SPPluginRef plugin, const char* text1, const char* text2) {
  HOSTSIM_ENTER_VOID("ADM Basic Suite.AboutBox");
  Host& host = Host::current();
  if (!host.isPlugin(plugin)) {
    host.accounting().misuse("asked for the About box of a plug-in the host does not know");
    return;
  }
  host.about({text1 != nullptr ? text1 : "", text2 != nullptr ? text2 : ""});
}

void beep() {
  HOSTSIM_ENTER_VOID("ADM Basic Suite.Beep");
  Host::current().beep();
}

const ADMBasicSuite kBasic = {getIndexString, errorAlert, messageAlert, getScreenDimensions, aboutBox, beep};

}  // namespace

void offerADMBasicSuite(Host& host) {
  host.offerSuite(kADMBasicSuite, kADMBasicSuiteVersion10, &kBasic);
  host.offerSuite(kADMBasicSuite, kADMBasicSuiteVersion11, &kBasic);
}

}  // namespace hostsim
