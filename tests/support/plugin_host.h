// The plug-in's parts linked into the test program with their suite globals acquired from a
// test host, the settings dialog run through the host's modal loop with a scripted user.
// The plug-in's variables start and end as when it is loaded; a test ends with every frame,
// suite and host object given back and no misuse of the host.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dialog/DateDialogue.h"
#include "engine/Moteur.h"
#include "engine/Reglages.h"
#include "hostsim/adm/dialogs.h"
#include "hostsim/model/clock.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"
#include "shell/DateSuites.h"
#include "shell/Suites.h"
#include "support/support.h"

namespace testsupport {

class PluginTest : public HostTest {
 protected:
  PluginTest();
  ~PluginTest() override;
  void SetUp() override;
  void TearDown() override;

  // Runs the settings dialog as the settings command does; the user plays what was queued.
  int32_t openDialog();
  // The settings as the dialog loads them (it is opened and cancelled).
  void loadSettings();
  // OK's stamping; returns the document's bottom bleed after it.
  float stamp();

  hostsim::adm::ScriptedUser& user() { return hostsim::dialogs(host_).user(); }
  hostsim::adm::Dialog& dialog() { return *hostsim::dialogs(host_).last(); }
  hostsim::adm::Item& item(int32_t id);
  hostsim::Preferences& preferences() { return host_.preferences(); }
  // The document saved under `name` in a fresh folder, so that it has a file name.
  void saveDocumentAs(const std::string& name);
  void setDate(int year, int month, int day) { host_.clock().set({year, month, day}); }

  // The nth call of `operation` from now on fails with `code`.
  void failNextCall(const std::string& operation, ASErr code, uint64_t nth = 1) {
    host_.faults().failCall(operation, host_.accounting().callsOf(operation) + nth, code);
  }
  // The nth memory block allocated from now on is refused.
  void failNextAllocation(uint64_t nth = 1) { host_.faults().failAllocation(host_.allocations() + nth); }

  // Host notes that tell of a fault of the plug-in, or of a script the dialog refused.
  std::vector<std::string> faults();
  // The document's tagged point texts, in document order, and their (Mac Roman) texts.
  std::vector<hostsim::ArtHandle> stamps();
  std::vector<std::string> stampTexts();
  std::string textOf(AIArtHandle art);
  // The anchor as the host hands it to the plug-in, in single precision.
  AIRealPoint anchorOf(AIArtHandle art);
  hostsim::TextStyle styleOf(AIArtHandle art);
  size_t previewDraws();

 private:
  hostsim::CurrentHost current_;
  std::unique_ptr<Suites> suites_;
  std::unique_ptr<TempDir> folder_;
};

// The frames recorded in one list, in order.
std::vector<AIArtHandle> Recorded(const MaillonAHTexte* premier);
// The host's art that a handle of the plug-in names, and back.
hostsim::ArtHandle ModelArt(AIArtHandle art);
AIArtHandle PluginArt(hostsim::ArtHandle art);

}  // namespace testsupport

namespace testsupport {

// A PluginTest with the settings a user gets on a host with nothing stored.
class EngineTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    loadSettings();
  }
};

}  // namespace testsupport
