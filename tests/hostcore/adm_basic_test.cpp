// ADM Basic Suite: resource strings, alerts, the screen, the About box, the beep.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fake_plugin.h"
#include "hostsim/standard_host.h"

namespace hostcore_test {
namespace {

using hostsim::Alert;
using hostsim::Host;
using hostsim::StandardHost;

hostsim::Resources stringResources() {
  hostsim::Resources resources;
  resources.stringLists[16050] = {"!MEM", "Plus de m\x8Emoire (^0)", ""};  // Plus de mémoire
  resources.stringLists[16600] = {"Estampilleur", "Version 3.3"};
  return resources;
}

// Runs body with ADM Basic acquired in the version the test names.
template <typename Body>
void withBasic(Host& host, int32_t version, Body body) {
  inPlugin(host, [&](SPMessageData& message) {
    auto* basic = acquire<ADMBasicSuite>(message, kADMBasicSuite, version);
    EXPECT_NE(basic, nullptr);
    if (basic != nullptr) body(message, *basic);
    message.basic->ReleaseSuite(kADMBasicSuite, version);
    return kNoErr;
  });
}

TEST(ResourceStrings, EntriesAreCountedFromOne) {
  StandardHost host;
  attachFakePlugin(host, stringResources());
  withBasic(host, 10, [](SPMessageData& message, const ADMBasicSuite& basic) {
    char buffer[128];
    EXPECT_EQ(basic.GetIndexString(message.self, 16050, 1, buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "!MEM");
    EXPECT_EQ(basic.GetIndexString(message.self, 16050, 2, buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "Plus de m\x8Emoire (^0)");
    EXPECT_EQ(basic.GetIndexString(message.self, 16050, 3, buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(basic.GetIndexString(message.self, 16600, 2, buffer, sizeof buffer), kNoErr);
    EXPECT_STREQ(buffer, "Version 3.3");
  });
}

TEST(ResourceStrings, MissingListOrIndexIsAnErrorWithEmptyText) {
  StandardHost host;
  attachFakePlugin(host, stringResources());
  withBasic(host, 11, [](SPMessageData& message, const ADMBasicSuite& basic) {
    char buffer[16];
    for (auto [list, index] : {std::pair{16050, 0}, std::pair{16050, 4}, std::pair{16050, -1}, std::pair{999, 1}}) {
      std::strcpy(buffer, "stale");
      EXPECT_NE(basic.GetIndexString(message.self, list, index, buffer, sizeof buffer), kNoErr)
          << list << "/" << index;
      EXPECT_STREQ(buffer, "") << list << "/" << index;
    }
    EXPECT_NE(basic.GetIndexString(nullptr, 16050, 1, buffer, sizeof buffer), kNoErr);
  });
}

TEST(ResourceStrings, EntryLongerThanTheBufferIsCut) {
  StandardHost host;
  attachFakePlugin(host, stringResources());
  withBasic(host, 10, [](SPMessageData& message, const ADMBasicSuite& basic) {
    char buffer[10];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(basic.GetIndexString(message.self, 16050, 2, buffer, 6), kNoErr);
    EXPECT_STREQ(buffer, "Plus ");
    EXPECT_EQ(buffer[6], 'X');  // nothing written past the size given
    EXPECT_EQ(basic.GetIndexString(message.self, 16050, 1, buffer, 1), kNoErr);
    EXPECT_STREQ(buffer, "");
    EXPECT_NE(basic.GetIndexString(message.self, 16050, 1, buffer, 0), kNoErr);
  });
}

TEST(ResourceStrings, PlannedFaultReadsAsEmptyText) {
  StandardHost host;
  attachFakePlugin(host, stringResources());
  constexpr ASErr kChosen = fourcc("Zut!");
  host.faults().failCall("ADM Basic Suite.GetIndexString", 1, kChosen);
  withBasic(host, 10, [&](SPMessageData& message, const ADMBasicSuite& basic) {
    char buffer[16] = "stale";
    EXPECT_EQ(basic.GetIndexString(message.self, 16050, 1, buffer, sizeof buffer), kChosen);
    EXPECT_STREQ(buffer, "");
  });
}

TEST(UserFeedback, AlertsAboutBoxesAndBeepsAreRecorded) {
  StandardHost host;
  attachFakePlugin(host);
  withBasic(host, 11, [](SPMessageData& message, const ADMBasicSuite& basic) {
    basic.ErrorAlert("Plus de m\x8Emoire");
    basic.MessageAlert("Impossible, le calque est verrouill\x8E.");
    basic.AboutBox(message.self, "Estampilleur", "Version 3.3");
    basic.Beep();
    basic.Beep();
  });
  ASSERT_EQ(host.alerts().size(), 2u);
  EXPECT_EQ(host.alerts()[0].kind, Alert::Kind::Error);
  EXPECT_EQ(host.alerts()[0].text, "Plus de m\x8Emoire");
  EXPECT_EQ(host.alerts()[1].kind, Alert::Kind::Message);
  ASSERT_EQ(host.abouts().size(), 1u);
  EXPECT_EQ(host.abouts()[0].text1, "Estampilleur");
  EXPECT_EQ(host.abouts()[0].text2, "Version 3.3");
  EXPECT_EQ(host.beeps(), 2);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(UserFeedback, ScreenIsTheHostsAndAFaultGivesAnEmptyOne) {
  StandardHost host;
  attachFakePlugin(host);
  host.screen = ADMRect{0, 0, 200, 301};
  host.faults().failCall("ADM Basic Suite.GetScreenDimensions", 2, kCantHappenErr);
  withBasic(host, 10, [](SPMessageData&, const ADMBasicSuite& basic) {
    ADMRect bounds{1, 2, 3, 4};
    basic.GetScreenDimensions(&bounds);
    EXPECT_EQ(bounds.bottom, 200);
    EXPECT_EQ(bounds.right, 301);
    basic.GetScreenDimensions(&bounds);
    EXPECT_EQ(bounds.bottom, 0);
    EXPECT_EQ(bounds.right, 0);
  });
}

}  // namespace
}  // namespace hostcore_test
