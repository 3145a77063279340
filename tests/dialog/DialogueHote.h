// A stand-in host with a document, the fixed test fonts and a set clock, the plug-in's
// suite globals acquired from it, and the settings dialog run through the host's modal
// loop with a scripted user.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog/DateDialogue.h"
#include "engine/Moteur.h"
#include "engine/Reglages.h"
#include "hostsim/adm/dialogs.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"
#include "hostsim/standard_host.h"
#include "shell/DateSuites.h"
#include "shell/Suites.h"

namespace dialog_test {

// Every variable as the plug-in finds it when loaded: zero bytes.
void RemetAZero();

// The test fonts, in the host's order.
constexpr const char* kDejaVuSans = "DejaVuSans";
constexpr const char* kDejaVuSansBold = "DejaVuSans-Bold";
constexpr const char* kDejaVuSansMono = "DejaVuSansMono";
constexpr const char* kDejaVuSerif = "DejaVuSerif";

class DialogueHote : public ::testing::Test {
 protected:
  DialogueHote();
  ~DialogueHote() override;

  void SetUp() override;
  void TearDown() override;

  // Runs the settings dialog as the settings command does; the user plays what was queued.
  int32_t ouvre();

  hostsim::adm::ScriptedUser& utilisateur() { return hostsim::dialogs(host_).user(); }
  hostsim::adm::Dialog& dialogue() { return *hostsim::dialogs(host_).last(); }
  hostsim::adm::Item& element(int32_t id);
  hostsim::Document& document() { return *host_.document(); }
  hostsim::Preferences& preferences() { return host_.preferences(); }
  void ouvreDocument(const std::vector<hostsim::PageSize>& plans);

  // Host notes that tell of a fault of the plug-in, or of a script the dialog refused.
  std::vector<std::string> fautes();
  std::vector<std::string> alertes();
  // The document's tagged point texts, by their (Mac Roman) text.
  std::vector<std::string> estampilles();
  // How many times the preview was drawn so far.
  size_t dessinsApercu();

  hostsim::StandardHost host_;

 private:
  hostsim::CurrentHost current_;
  std::unique_ptr<Suites> suites_;
};

}  // namespace dialog_test
