// The wrappers over host objects: most are worked by every stamping under the host's
// accounting, their failures by the fault sweep; what no stamping shows is here.
#include <string>

#include "host/IAIUnicodeString.h"
#include "shell/DatePlugIn.h"
#include "support/plugin_host.h"

namespace {

using WrappersTest = testsupport::PluginTest;

// A null text makes no host call; the platform text survives the round trip; assignment
// copies the characters.
TEST_F(WrappersTest, UnicodeStringsKeepTheirPlatformText) {
  const uint64_t before = host_.accounting().totalCalls();
  { ai::UnicodeString none(nullptr, kAIPlatformCharacterEncoding); }
  { ai::UnicodeString empty; }
  EXPECT_EQ(host_.accounting().totalCalls(), before);
  const std::string text = "QZV\xA5" "Estampilleur\xC9 \xCB propos";  // QZV•Estampilleur… À propos
  EXPECT_EQ(ai::UnicodeString(text.c_str(), kAIPlatformCharacterEncoding).as_Platform(), text);
  EXPECT_EQ(ai::UnicodeString("", kAIPlatformCharacterEncoding).as_Platform(), std::string());
  ai::UnicodeString source("Nom", kAIPlatformCharacterEncoding);
  ai::UnicodeString copy;
  copy = source;
  copy = copy;
  EXPECT_EQ(copy.as_Platform(), "Nom");
  copy = ai::UnicodeString("Autre", kAIPlatformCharacterEncoding);
  EXPECT_EQ(copy.as_Platform(), "Autre");
  EXPECT_EQ(source.as_Platform(), "Nom");
}

// Locks are counted: the host is asked once for access, and it is given back with the last
// unlock; an unlock too many changes nothing.
TEST_F(WrappersTest, PluginLockIsCounted) {
  DatePlugIn plugin(host_.pluginRef());
  for (bool lock : {true, true, false, false, false, true, false}) EXPECT_EQ(plugin.LockPlugin(lock), kNoErr);
  EXPECT_EQ(host_.accounting().callsOf("SP Access Suite.AcquirePlugin"), 2u);
  EXPECT_EQ(host_.accounting().callsOf("SP Access Suite.ReleasePlugin"), 2u);
  EXPECT_EQ(host_.plugin().accessCount, 0);
}

}  // namespace
