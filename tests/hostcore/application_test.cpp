// Notifiers, application contexts, the message header, what the plug-in writes to standard
// error, which host is current, the menus and the ADM Basic Suite.
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fake_plugin.h"
#include "hostsim/adm/menus.h"

namespace hostcore_test {
namespace {

using Application = FakePluginTest;

TEST_F(Application, ApplicationStartedReachesThePluginWithItsNotifierHandle) {
  AINotifierHandle registered = nullptr;
  with<AINotifierSuite>(kAINotifierSuite, kAINotifierSuiteVersion, [&](SPMessageData& m, const AINotifierSuite& n) {
    EXPECT_EQ(n.AddNotifier(m.self, "Estampilleur App Started Notifier", kAIApplicationStartedNotifier, &registered),
              kNoErr);
    AINotifierHandle refused = registered;
    EXPECT_NE(n.AddNotifier(nullptr, "Other", kAIApplicationStartedNotifier, &refused), kNoErr);
    EXPECT_EQ(refused, nullptr);
  });
  std::string received;
  onMessage([&](const char* caller, const char* selector, SPMessageData& message) {
    auto& notify = reinterpret_cast<AINotifierMessage&>(message);
    EXPECT_EQ(notify.notifier, registered);
    received += std::string(caller) + "/" + selector + "/" + notify.type;
    return kNoErr;
  });
  EXPECT_EQ(host.applicationStarted(), kNoErr);
  EXPECT_EQ(received, "AI Notifier/AI Notify/AI Application Started Notifier");
}

TEST_F(Application, ContextsArePoppedInnermostFirstAndOthersAreFlagged) {
  with<AIAppContextSuite>(kAIAppContextSuite, kAIAppContextSuiteVersion,
                          [&](SPMessageData& m, const AIAppContextSuite& c) {
    AIAppContextHandle outer = nullptr, inner = nullptr;
    EXPECT_EQ(c.PushAppContext(m.self, &outer), kNoErr);
    EXPECT_EQ(c.PushAppContext(m.self, &inner), kNoErr);
    EXPECT_NE(outer, inner);
    EXPECT_EQ(host.accounting().objectsLive("application context"), 2);
    EXPECT_EQ(c.PopAppContext(inner), kNoErr);
    EXPECT_EQ(c.PopAppContext(outer), kNoErr);
    c.PushAppContext(m.self, &outer);
    c.PushAppContext(m.self, &inner);
    EXPECT_EQ(c.PopAppContext(outer), kNoErr);  // out of order: given back, but noted
    EXPECT_EQ(c.PopAppContext(inner), kNoErr);
    EXPECT_NE(c.PopAppContext(inner), kNoErr);  // twice
  });
  EXPECT_EQ(misuses(), 2u);
  EXPECT_EQ(host.accounting().objectsLive(), 0);
}

// Ending the first host before the second would leave a destroyed host current: refused.
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

using hostsim::MenuGroup;
using hostsim::MenuItem;
using hostsim::Menus;

const std::string kTools = "Outils\xC9";                // Outils…
const std::string kAbout = "\xCB propos des outils";   // À propos des outils

// Texts in Mac Roman; the tree shows them in UTF-8, each submenu under the item that opens it.
TEST(Menus, GroupNamesStayUniqueAndSubmenusStandUnderTheirItems) {
  Menus menus;
  MenuItem* tools = nullptr;
  MenuItem* settings = nullptr;
  MenuItem* about = nullptr;
  MenuGroup* group = nullptr;
  ASSERT_EQ(menus.addItem(nullptr, "Tool Palettes", kTools, kTools, 0, &tools), kNoErr);
  ASSERT_EQ(menus.addSubmenuGroup(kTools, 1, tools, &group), kNoErr);
  EXPECT_EQ(menus.group(menus.groupCount() - 1), group);
  menus.addItem(nullptr, kTools, "R\x8Eglages", "R\x8Eglages", 1, &settings);
  menus.addItem(nullptr, "About", std::nullopt, "Other", 0, &about);
  menus.addSubmenuGroup(kAbout, 1, about, nullptr);
  menus.addItem(nullptr, kAbout, std::nullopt, "R\x8Eglages", 0, nullptr);
  EXPECT_EQ(menus.findItem("About", "Other"), about);
  EXPECT_EQ(menus.findItem("Tool Palettes", "Other"), nullptr);
  EXPECT_EQ(menus.addSubmenuGroup(kTools, 1, settings, nullptr), hostsim::kMenuGroupExistsErr);
  EXPECT_EQ(menus.addSubmenuGroup("About", 1, settings, nullptr), hostsim::kMenuGroupExistsErr);
  EXPECT_EQ(menus.addSubmenuGroup("Autre", 1, tools, nullptr), hostsim::kMenuItemHasSubmenuErr);
  EXPECT_EQ(menus.addItem(nullptr, "No Such Group", std::nullopt, "x", 0, &about), hostsim::kMenuGroupNotFoundErr);
  EXPECT_EQ(about, nullptr);
  EXPECT_EQ(menus.item(tools->handle()), tools);
  int stranger = 0;
  EXPECT_EQ(menus.item(reinterpret_cast<AIMenuItemHandle>(&stranger)), nullptr);
  EXPECT_EQ(menus.group(reinterpret_cast<AIMenuGroup>(tools)), nullptr);
  const std::string tree = menus.tree();
  EXPECT_NE(tree.find("Tool Palettes\n"
                      "  Outils…  [key \"Outils…\"]\n"
                      "    Réglages  [key \"Réglages\"]  [options 1]\n"),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find("About\n  Other  > \"À propos des outils\"\n    Réglages\n"), std::string::npos) << tree;
  EXPECT_EQ(tree.find("\nOutils…\n"), std::string::npos) << tree;  // not again as a top-level group
}

using MenuSuite = FakePluginTest;

TEST_F(MenuSuite, GroupsAreListedByIndexAndStrangeHandlesAreMisuse) {
  with<AIMenuSuite>(kAIMenuSuite, kAIMenuSuiteVersion, [&](SPMessageData&, const AIMenuSuite& menu) {
    int32_t count = 0;
    EXPECT_EQ(menu.CountMenuGroups(&count), kNoErr);
    std::vector<std::string> names;
    for (int32_t n = 0; n < count; ++n) {
      AIMenuGroup group = nullptr;
      const char* name = nullptr;
      EXPECT_EQ(menu.GetNthMenuGroup(n, &group), kNoErr);
      EXPECT_EQ(menu.GetMenuGroupName(group, &name), kNoErr);
      names.push_back(name);
    }
    EXPECT_EQ(names, Menus::hostGroups());
    AIMenuGroup group = nullptr;
    EXPECT_NE(menu.GetNthMenuGroup(count, &group), kNoErr);
    EXPECT_NE(menu.GetNthMenuGroup(-1, &group), kNoErr);
    int stranger = 0;
    const char* name = "unchanged";
    EXPECT_NE(menu.AddMenuGroupAsSubMenu("G", 0, reinterpret_cast<AIMenuItemHandle>(&stranger), &group), kNoErr);
    EXPECT_NE(menu.GetMenuGroupName(reinterpret_cast<AIMenuGroup>(&stranger), &name), kNoErr);
    EXPECT_EQ(name, nullptr);
  });
  EXPECT_EQ(misuses(), 2u);
}

TEST_F(MenuSuite, PluginBuildsItsSubmenuAndTheHostSendsItsItemBack) {
  AIMenuItemHandle settings = nullptr;
  with<AIMenuSuite>(kAIMenuSuite, kAIMenuSuiteVersion, [&](SPMessageData& m, const AIMenuSuite& menu) {
    const void* table = nullptr;
    ASSERT_EQ(m.basic->AcquireSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &table), kNoErr);
    auto* strings = static_cast<const AIUnicodeStringSuite*>(table);
    auto add = [&](const char* key, const std::string& group, const std::string& text, AIMenuItemHandle* item) {
      AIUnicodeStringHandle string = nullptr;
      strings->Initialize(&string, text.c_str(), static_cast<int32_t>(text.size()), kAIPlatformCharacterEncoding);
      AIPlatformAddMenuItemDataUS data{group.c_str(), string};
      ASErr error = menu.AddMenuItem(m.self, key, &data, 1, item);
      strings->Destroy(string);
      return error;
    };
    AIMenuItemHandle tools = nullptr;
    EXPECT_EQ(add(kTools.c_str(), "Tool Palettes", kTools, &tools), kNoErr);
    AIMenuGroup group = nullptr;
    EXPECT_EQ(menu.AddMenuGroupAsSubMenu(kTools.c_str(), 1, tools, &group), kNoErr);
    const char* name = nullptr;
    EXPECT_EQ(menu.GetMenuGroupName(group, &name), kNoErr);
    EXPECT_EQ(name, kTools);
    EXPECT_EQ(add(nullptr, kTools, "R\x8Eglages", &settings), kNoErr);
    AIMenuItemHandle lost = settings;
    EXPECT_EQ(add(nullptr, "No Such Group", "x", &lost), hostsim::kMenuGroupNotFoundErr);
    EXPECT_EQ(lost, nullptr);
    m.basic->ReleaseSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
  });
  MenuItem* item = hostsim::menus(host).findItem(kTools, "R\x8Eglages");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->handle(), settings);
  EXPECT_EQ(item->options, 1);
  EXPECT_EQ(item->owner, host.pluginRef());
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
  AIMenuItemHandle chosen = nullptr;
  onMessage([&](const char* caller, const char* selector, SPMessageData& message) {
    EXPECT_EQ(std::string(caller) + "/" + selector, "AI Menu/AI Go");
    chosen = reinterpret_cast<AIMenuMessage&>(message).menuItem;
    return kNoErr;
  });
  EXPECT_EQ(host.chooseMenuItem(item->handle()), kNoErr);
  EXPECT_EQ(chosen, settings);
}

using AdmBasic = FakePluginTest;

// Entries count from one; one that cannot be read reads as empty; a long one is cut to the
// buffer.
TEST_F(AdmBasic, ResourceStringsAreReadIntoTheBufferGiven) {
  host.plugin().resources.stringLists = {{16050, {"!MEM", "Plus de m\x8Emoire (^0)", ""}},
                                         {16600, {"Estampilleur", "Version 3.3"}}};
  struct Case {
    int32_t list, index, size;
    bool found;
    const char* text;  // null: the buffer is left alone
  };
  const Case cases[] = {
      {16050, 1, 32, true, "!MEM"},   {16050, 2, 32, true, "Plus de m\x8Emoire (^0)"},
      {16050, 3, 32, true, ""},       {16600, 2, 32, true, "Version 3.3"},
      {16050, 2, 6, true, "Plus "},   {16050, 1, 1, true, ""},
      {16050, 1, 0, false, nullptr},  {16050, 0, 32, false, ""},
      {16050, 4, 32, false, ""},      {16050, -1, 32, false, ""},
      {999, 1, 32, false, ""},
  };
  // A planned fault, on the call after the table's and the stranger's, reads as empty too.
  host.faults().failCall("ADM Basic Suite.GetIndexString", std::size(cases) + 2, kCantHappenErr);
  with<ADMBasicSuite>(kADMBasicSuite, 10, [&](SPMessageData& m, const ADMBasicSuite& basic) {
    char buffer[40];
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.list) + "/" + std::to_string(c.index) + " in " + std::to_string(c.size));
      std::memset(buffer, 'X', 39);
      buffer[39] = '\0';
      EXPECT_EQ(basic.GetIndexString(m.self, c.list, c.index, buffer, c.size) == kNoErr, c.found);
      EXPECT_EQ(std::string(buffer), c.text != nullptr ? c.text : std::string(39, 'X'));
      EXPECT_EQ(buffer[c.size], 'X');  // nothing written past the size given
    }
    EXPECT_NE(basic.GetIndexString(nullptr, 16050, 1, buffer, 32), kNoErr);
    std::strcpy(buffer, "stale");
    EXPECT_EQ(basic.GetIndexString(m.self, 16050, 1, buffer, 32), kCantHappenErr);
    EXPECT_STREQ(buffer, "");
  });
}

TEST_F(AdmBasic, AlertsAreRecordedByKindAndAFaultyScreenReadsEmpty) {
  host.screen = ADMRect{0, 0, 200, 301};
  host.faults().failCall("ADM Basic Suite.GetScreenDimensions", 2, kCantHappenErr);
  with<ADMBasicSuite>(kADMBasicSuite, 11, [&](SPMessageData&, const ADMBasicSuite& basic) {
    basic.ErrorAlert("Plus de m\x8Emoire");
    basic.MessageAlert("Verrouill\x8E.");
    ADMRect bounds{1, 2, 3, 4};
    basic.GetScreenDimensions(&bounds);
    EXPECT_EQ(bounds.bottom * 1000 + bounds.right, 200301);
    basic.GetScreenDimensions(&bounds);
    EXPECT_EQ(bounds.bottom * 1000 + bounds.right, 0);
  });
  ASSERT_EQ(host.alerts().size(), 2u);
  EXPECT_EQ(host.alerts()[0].kind, hostsim::Alert::Kind::Error);
  EXPECT_EQ(host.alerts()[0].text, "Plus de m\x8Emoire");
  EXPECT_EQ(host.alerts()[1].kind, hostsim::Alert::Kind::Message);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

}  // namespace
}  // namespace hostcore_test
