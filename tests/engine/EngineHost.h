// A stand-in host with one open document, the fixed test fonts and a set clock, and the
// plug-in's suite globals acquired from it, for tests of the stamping engine.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/Moteur.h"
#include "hostsim/model/clock.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"
#include "hostsim/standard_host.h"
#include "shell/DateSuites.h"
#include "shell/Suites.h"

namespace engine_test {

// The settings a user gets on a host with nothing stored, and empty engine state.
void ResetEngineState();

// The art of the host's document that a handle of the plug-in names.
hostsim::ArtHandle ModelArt(AIArtHandle art);
AIArtHandle PluginArt(hostsim::ArtHandle art);

// The frames recorded in one list, in order.
std::vector<AIArtHandle> Recorded(const MaillonAHTexte* premier);

class EngineHost : public ::testing::Test {
 protected:
  EngineHost();
  ~EngineHost() override;

  void SetUp() override;
  void TearDown() override;

  hostsim::Document& document() { return *host_.document(); }
  void openDocument(const std::vector<hostsim::PageSize>& artboards);
  // The document saved under `name` in a fresh folder, so that it has a file name.
  void saveDocumentAs(const std::string& name);
  void setDate(int year, int month, int day);
  // The nth call of `operation` from now on fails with `code`.
  void failNextCall(const std::string& operation, ASErr code, uint64_t nth = 1) {
    host_.faults().failCall(operation, host_.accounting().callsOf(operation) + nth, code);
  }
  // The nth memory block allocated from now on is refused.
  void failNextAllocation(uint64_t nth = 1) { host_.faults().failAllocation(host_.allocations() + nth); }

  // What OK does around the engine: remove the tagged unlocked texts, make a fresh group,
  // count the artboards, empty the lists, stamp each artboard (or the active one). Returns
  // the last artboard's bleed, or -1 when the group could not be made.
  AIReal stamp();

  // The tagged point texts of the document, in document order.
  std::vector<hostsim::ArtHandle> stamps();
  std::string textOf(AIArtHandle art);
  // The anchor as the host hands it to the plug-in, in single precision.
  AIRealPoint anchorOf(AIArtHandle art);
  hostsim::TextStyle styleOf(AIArtHandle art);
  std::vector<std::string> alerts();

  hostsim::StandardHost host_;

 private:
  hostsim::CurrentHost current_;
  std::unique_ptr<Suites> suites_;
  std::filesystem::path folder_;
};

}  // namespace engine_test
