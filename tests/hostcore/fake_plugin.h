// A plug-in made of test code on a fresh host: its entry point runs what the test gives it,
// so a test acts inside a message exactly as a plug-in does.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "hostsim/standard_host.h"

namespace hostcore_test {

using MessageBody = std::function<ASErr(const char* caller, const char* selector, SPMessageData& message)>;

class FakePluginTest : public ::testing::Test {
 protected:
  FakePluginTest() { host.attachPlugin(entry, {}); }
  ~FakePluginTest() override { body_ = nullptr; }

  // What the plug-in does with each message from now on; until then it answers 0.
  static void onMessage(MessageBody body) { body_ = std::move(body); }
  // Runs body inside one message ("Test"/"Run").
  void run(const std::function<void(SPMessageData&)>& body) {
    onMessage([&](const char*, const char*, SPMessageData& message) {
      body(message);
      return kNoErr;
    });
    EXPECT_EQ(host.send("Test", "Run"), kNoErr);
    onMessage(nullptr);
  }
  // Runs body inside one message with the suite acquired, and gives the suite back.
  template <typename Suite, typename Body>
  void with(const char* name, int32_t version, Body body) {
    run([&](SPMessageData& message) {
      const void* suite = nullptr;
      EXPECT_EQ(message.basic->AcquireSuite(name, version, &suite), kNoErr) << name;
      if (suite != nullptr) body(message, *static_cast<const Suite*>(suite));
      message.basic->ReleaseSuite(name, version);
    });
  }
  size_t misuses() { return host.accounting().misuses().size(); }

  hostsim::StandardHost host;

 private:
  static ASErr entry(const char* caller, const char* selector, void* message) {
    return body_ ? body_(caller, selector, *static_cast<SPMessageData*>(message)) : kNoErr;
  }
  static inline MessageBody body_;
};

}  // namespace hostcore_test
