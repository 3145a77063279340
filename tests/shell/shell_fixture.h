// A host with the plug-in's own entry point attached in-process, and the plug-in's SP Basic
// global pointing at the host's: the plug-in's parts can then be called directly.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostsim/standard_host.h"
#include "shell/DateSuites.h"

extern "C" ASErr PluginMain(const char* caller, const char* selector, void* message);

namespace shelltest {

inline hostsim::Resources ErrorList(std::vector<std::string> entries) {
  hostsim::Resources resources;
  resources.stringLists[16050] = std::move(entries);
  return resources;
}

class InProcess : public testing::Test {
 protected:
  void Attach(hostsim::Resources resources) {
    host.attachPlugin(PluginMain, std::move(resources));
    const void* basic = nullptr;
    ASSERT_EQ(host.acquireSuite(kSPBasicSuite, kSPBasicSuiteVersion, &basic), kNoErr);
    sSPBasic = static_cast<SPBasicSuite*>(const_cast<void*>(basic));
    heldByFixture = 1;
  }
  void SetUp() override { Attach(hostsim::Resources{}); }
  // Another set of resources for the attached plug-in.
  void Reattach(hostsim::Resources resources) { host.attachPlugin(PluginMain, std::move(resources)); }
  void TearDown() override {
    host.releaseSuite(kSPBasicSuite, kSPBasicSuiteVersion);
    sSPBasic = nullptr;
  }
  // Suites held beyond the fixture's own SP Basic.
  int SuitesHeldByPlugin() { return host.accounting().suitesHeld() - heldByFixture; }

  hostsim::StandardHost host;
  int heldByFixture = 0;
};

}  // namespace shelltest
