// A modal dialog built by test code: the test writes the init, notify and draw procedures
// as lambdas, and the host calls them through plain-function trampolines, as it calls a
// plug-in's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hostapi/HostAPI.h"
#include "hostsim/adm/dialogs.h"
#include "hostsim/standard_host.h"

namespace adm_test {

struct Suites {
  const ADMDialogSuite* dialog = nullptr;
  const ADMItemSuite* item = nullptr;
  const ADMListSuite* list = nullptr;
  const ADMEntrySuite* entry = nullptr;
  const ADMNotifierSuite* notifier = nullptr;
  const ADMDrawerSuite* drawer = nullptr;
  const ADMIconSuite* icon = nullptr;
};

using InitBody = std::function<ASErr(ADMDialogRef)>;
using NotifyBody = std::function<void(ADMItemRef, ADMNotifierRef)>;
using ItemDrawBody = std::function<void(ADMItemRef, ADMDrawerRef)>;
using DialogDrawBody = std::function<void(ADMDialogRef, ADMDrawerRef)>;

// Icons 1000 (a whole <svg> element) and 1100 (bare SVG content), as the plug-in's
// resources hold them.
hostsim::Resources testResources();

class DialogTest : public ::testing::Test {
 protected:
  DialogTest();
  ~DialogTest() override;

  // Runs a modal dialog that `init` builds; the user plays what was queued in user().
  int32_t runModal(InitBody init);

  ADMItemRef make(ADMDialogRef dialog, int32_t id, const char* type, ADMRect bounds, const char* text = nullptr);
  ADMEntryRef addEntry(ADMItemRef item, const char* text, int32_t id);

  hostsim::Dialogs& dialogs() { return hostsim::dialogs(host); }
  hostsim::adm::ScriptedUser& user() { return hostsim::dialogs(host).user(); }
  hostsim::adm::Dialog& last() { return *hostsim::dialogs(host).last(); }

  // What every item's notify and draw procedures, and the dialog's draw procedure, do.
  static inline NotifyBody onNotify;
  static inline ItemDrawBody onDraw;
  static inline DialogDrawBody onDialogDraw;
  static void notifyProc(ADMItemRef item, ADMNotifierRef notifier);
  static void drawProc(ADMItemRef item, ADMDrawerRef drawer);
  static void dialogDrawProc(ADMDialogRef dialog, ADMDrawerRef drawer);

  hostsim::StandardHost host;
  Suites s;
};

}  // namespace adm_test
