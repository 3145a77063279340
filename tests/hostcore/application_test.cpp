// Notifiers, application contexts, what the host records of each message, and which host
// is current.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "fake_plugin.h"
#include "hostsim/standard_host.h"

namespace hostcore_test {
namespace {

using hostsim::StandardHost;

TEST(Notifiers, ApplicationStartedReachesThePluginWithItsHandle) {
  StandardHost host;
  attachFakePlugin(host);
  AINotifierHandle registered = nullptr;
  inPlugin(host, [&](SPMessageData& message) {
    auto* notifier = acquire<AINotifierSuite>(message, kAINotifierSuite, kAINotifierSuiteVersion);
    EXPECT_EQ(notifier->AddNotifier(message.self, "Estampilleur App Started Notifier",
                                    kAIApplicationStartedNotifier, &registered),
              kNoErr);
    AINotifierHandle refused = registered;
    EXPECT_NE(notifier->AddNotifier(nullptr, "Other", kAIApplicationStartedNotifier, &refused), kNoErr);
    EXPECT_EQ(refused, nullptr);
    message.basic->ReleaseSuite(kAINotifierSuite, kAINotifierSuiteVersion);
    return kNoErr;
  });
  ASSERT_EQ(host.notifiers().size(), 1u);
  EXPECT_EQ(host.notifiers()[0].name, "Estampilleur App Started Notifier");

  std::vector<std::string> received;
  onMessage([&](const char* caller, const char* selector, SPMessageData& message) {
    auto& notify = reinterpret_cast<AINotifierMessage&>(message);
    received.push_back(std::string(caller) + "/" + selector + "/" + notify.type);
    EXPECT_EQ(notify.notifier, registered);
    return kNoErr;
  });
  EXPECT_EQ(host.applicationStarted(), kNoErr);
  onMessage(nullptr);
  EXPECT_EQ(received, std::vector<std::string>{"AI Notifier/AI Notify/AI Application Started Notifier"});
}

TEST(AppContexts, PushedContextsArePoppedInnermostFirst) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    auto* context = acquire<AIAppContextSuite>(message, kAIAppContextSuite, kAIAppContextSuiteVersion);
    AIAppContextHandle outer = nullptr;
    AIAppContextHandle inner = nullptr;
    EXPECT_EQ(context->PushAppContext(message.self, &outer), kNoErr);
    EXPECT_EQ(context->PushAppContext(message.self, &inner), kNoErr);
    EXPECT_NE(outer, inner);
    EXPECT_EQ(host.accounting().objectsLive("application context"), 2);
    EXPECT_EQ(context->PopAppContext(inner), kNoErr);
    EXPECT_EQ(context->PopAppContext(outer), kNoErr);
    message.basic->ReleaseSuite(kAIAppContextSuite, kAIAppContextSuiteVersion);
    return kNoErr;
  });
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST(AppContexts, PoppingUnknownOrOutOfOrderIsFlagged) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    auto* context = acquire<AIAppContextSuite>(message, kAIAppContextSuite, kAIAppContextSuiteVersion);
    AIAppContextHandle outer = nullptr;
    AIAppContextHandle inner = nullptr;
    context->PushAppContext(message.self, &outer);
    context->PushAppContext(message.self, &inner);
    EXPECT_EQ(context->PopAppContext(outer), kNoErr);  // out of order: given back, but noted
    EXPECT_EQ(context->PopAppContext(inner), kNoErr);
    EXPECT_NE(context->PopAppContext(inner), kNoErr);  // twice
    message.basic->ReleaseSuite(kAIAppContextSuite, kAIAppContextSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().misuses().size(), 2u);
  EXPECT_EQ(host.accounting().objectsLive(), 0);
}

TEST(PluginStderr, EachMessageOutputIsCapturedInOrder) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [](SPMessageData&) {
    std::fputs("first message\n", stderr);
    return kNoErr;
  });
  EXPECT_EQ(host.pluginStderr(), "first message\n");
  inPlugin(host, [](SPMessageData&) {
    std::fprintf(stderr, "Warning: %s\n", "second");
    return kNoErr;
  });
  EXPECT_EQ(host.pluginStderr(), "first message\nWarning: second\n");
}

TEST(Messages, HeaderCarriesPluginGlobalsAndBasicSuite) {
  StandardHost host;
  attachFakePlugin(host);
  static int object = 0;
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_EQ(message.SPCheck, kSPValidSPMessageData);
    EXPECT_EQ(message.self, host.pluginRef());
    EXPECT_NE(message.basic, nullptr);
    EXPECT_EQ(message.globals, nullptr);
    message.globals = &object;
    return kNoErr;
  });
  inPlugin(host, [&](SPMessageData& message) {
    EXPECT_EQ(message.globals, &object);  // kept between calls
    return kNoErr;
  });
}

// A host made while another lives is current until it ends, then gives the first back.
// Ending the first one before it would leave a destroyed host current: that is refused.
TEST(CurrentHostDeathTest, HostsEndInTheReverseOrderTheyWereMade) {
  using hostsim::Host;
  {
    Host a;
    {
      Host b;
      EXPECT_EQ(&Host::current(), &b);
    }
    EXPECT_EQ(&Host::current(), &a);
  }
  EXPECT_FALSE(Host::hasCurrent());
  EXPECT_DEATH(
      {
        auto a = std::make_unique<Host>();
        auto b = std::make_unique<Host>();
        a.reset();
      },
      "a host ended while a host made or made current after it was still there");
}

}  // namespace
}  // namespace hostcore_test
