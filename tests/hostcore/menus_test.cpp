// The host's menus, directly and through the AI Menu Suite.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_plugin.h"
#include "hostsim/adm/menus.h"
#include "hostsim/standard_host.h"

namespace hostcore_test {
namespace {

using hostsim::StandardHost;
using hostsim::MenuGroup;
using hostsim::MenuItem;
using hostsim::Menus;

const std::string kOutils = "QZV\xA5Outils";                         // QZV•Outils
const std::string kEstampilleur = "QZV\xA5" "Estampilleur\xC9";       // QZV•Estampilleur…
const std::string kAPropos = "\xCB propos des QZV\xA5Outils\xC9";    // À propos des QZV•Outils…

TEST(Menus, HostGroupsComeFirstInAFixedOrder) {
  Menus menus;
  ASSERT_GE(menus.groupCount(), 2u);
  std::vector<std::string> names;
  for (size_t n = 0; n < menus.groupCount(); ++n) names.push_back(menus.group(n)->name);
  EXPECT_EQ(names, Menus::hostGroups());
  EXPECT_NE(menus.findGroup("Tool Palettes"), nullptr);
  EXPECT_NE(menus.findGroup("About"), nullptr);
  EXPECT_EQ(menus.group(menus.groupCount()), nullptr);
}

TEST(Menus, SubmenuGroupsJoinTheListAndNamesStayUnique) {
  Menus menus;
  MenuItem* tools = nullptr;
  ASSERT_EQ(menus.addItem(nullptr, "Tool Palettes", kOutils, kOutils, 0, &tools), kNoErr);
  MenuGroup* group = nullptr;
  ASSERT_EQ(menus.addSubmenuGroup(kOutils, 1, tools, &group), kNoErr);
  EXPECT_EQ(menus.group(menus.groupCount() - 1), group);
  EXPECT_EQ(group->parent, tools);
  EXPECT_EQ(tools->submenu, group);

  MenuItem* other = nullptr;
  ASSERT_EQ(menus.addItem(nullptr, kOutils, std::nullopt, "x", 0, &other), kNoErr);
  EXPECT_EQ(menus.addSubmenuGroup(kOutils, 1, other, nullptr), hostsim::kMenuGroupExistsErr);
  EXPECT_EQ(menus.addSubmenuGroup("About", 1, other, nullptr), hostsim::kMenuGroupExistsErr);
  EXPECT_EQ(menus.addSubmenuGroup("Autre", 1, tools, nullptr), hostsim::kMenuItemHasSubmenuErr);
  EXPECT_EQ(menus.addItem(nullptr, "No Such Group", std::nullopt, "x", 0, &other), hostsim::kMenuGroupNotFoundErr);
  EXPECT_EQ(other, nullptr);
}

TEST(Menus, ItemsAreFoundByGroupAndTextAndHandlesAreRecognised) {
  Menus menus;
  MenuItem* item = nullptr;
  ASSERT_EQ(menus.addItem(nullptr, "About", std::nullopt, kAPropos, 0, &item), kNoErr);
  EXPECT_EQ(menus.findItem("About", kAPropos), item);
  EXPECT_EQ(menus.findItem("Tool Palettes", kAPropos), nullptr);
  EXPECT_EQ(menus.item(item->handle()), item);
  int stranger = 0;
  EXPECT_EQ(menus.item(reinterpret_cast<AIMenuItemHandle>(&stranger)), nullptr);
  EXPECT_EQ(menus.group(reinterpret_cast<AIMenuGroup>(item)), nullptr);
}

TEST(Menus, TreeShowsSubmenusUnderTheirItemsInUtf8) {
  Menus menus;
  MenuItem* tools = nullptr;
  MenuItem* about = nullptr;
  menus.addItem(nullptr, "Tool Palettes", kOutils, kOutils, 0, &tools);
  menus.addSubmenuGroup(kOutils, 1, tools, nullptr);
  menus.addItem(nullptr, kOutils, kEstampilleur, kEstampilleur, 1, nullptr);
  menus.addItem(nullptr, "About", std::nullopt, "Other", 0, &about);
  menus.addSubmenuGroup(kAPropos, 1, about, nullptr);
  menus.addItem(nullptr, kAPropos, std::nullopt, kEstampilleur, 0, nullptr);
  const std::string tree = menus.tree();
  EXPECT_NE(tree.find("Tool Palettes\n"
                      "  QZV•Outils  [key \"QZV•Outils\"]\n"
                      "    QZV•Estampilleur…  [key \"QZV•Estampilleur…\"]  [options 1]\n"),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find("About\n"
                      "  Other  > \"À propos des QZV•Outils…\"\n"
                      "    QZV•Estampilleur…\n"),
            std::string::npos)
      << tree;
  // Submenu groups appear once, under their item, not again as top-level groups.
  EXPECT_EQ(tree.find("\nQZV•Outils\n"), std::string::npos) << tree;
}

// --- Through the suite ---------------------------------------------------------------------

struct MenuCalls {
  SPMessageData& message;
  const AIMenuSuite* menu;
  const AIUnicodeStringSuite* strings;

  explicit MenuCalls(SPMessageData& m)
      : message(m),
        menu(acquire<AIMenuSuite>(m, kAIMenuSuite, kAIMenuSuiteVersion)),
        strings(acquire<AIUnicodeStringSuite>(m, kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion)) {}
  ~MenuCalls() {
    message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    message.basic->ReleaseSuite(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion);
  }

  ASErr add(const char* key, const std::string& group, const std::string& text, int32_t options,
            AIMenuItemHandle* item) {
    AIUnicodeStringHandle string = nullptr;
    EXPECT_EQ(strings->Initialize(&string, text.c_str(), static_cast<int32_t>(text.size()),
                                  kAIPlatformCharacterEncoding),
              kNoErr);
    AIPlatformAddMenuItemDataUS data{group.c_str(), string};
    ASErr error = menu->AddMenuItem(message.self, key, &data, options, item);
    strings->Destroy(string);
    return error;
  }
};

TEST(MenuSuite, GroupsAreListedByIndexWithTheirNames) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    auto* menu = acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion);
    int32_t count = 0;
    EXPECT_EQ(menu->CountMenuGroups(&count), kNoErr);
    EXPECT_EQ(count, static_cast<int32_t>(Menus::hostGroups().size()));
    for (int32_t n = 0; n < count; ++n) {
      AIMenuGroup group = nullptr;
      const char* name = nullptr;
      EXPECT_EQ(menu->GetNthMenuGroup(n, &group), kNoErr);
      EXPECT_EQ(menu->GetMenuGroupName(group, &name), kNoErr);
      EXPECT_STREQ(name, Menus::hostGroups()[static_cast<size_t>(n)].c_str());
    }
    AIMenuGroup group = nullptr;
    EXPECT_NE(menu->GetNthMenuGroup(count, &group), kNoErr);
    EXPECT_NE(menu->GetNthMenuGroup(-1, &group), kNoErr);
    message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    return kNoErr;
  });
}

TEST(MenuSuite, PluginBuildsItsSubmenusAndTheHostSendsItsItemBack) {
  StandardHost host;
  attachFakePlugin(host);
  AIMenuItemHandle settings = nullptr;
  ASErr built = inPlugin(host, [&](SPMessageData& message) {
    MenuCalls calls(message);
    if (calls.strings == nullptr) {
      ADD_FAILURE() << "the host offers no AI Unicode String Suite";
      return kCantHappenErr;
    }
    AIMenuItemHandle tools = nullptr;
    EXPECT_EQ(calls.add(kOutils.c_str(), "Tool Palettes", kOutils, 0, &tools), kNoErr);
    AIMenuGroup group = nullptr;
    EXPECT_EQ(calls.menu->AddMenuGroupAsSubMenu(kOutils.c_str(), 1, tools, &group), kNoErr);
    const char* name = nullptr;
    EXPECT_EQ(calls.menu->GetMenuGroupName(group, &name), kNoErr);
    EXPECT_STREQ(name, kOutils.c_str());
    EXPECT_EQ(calls.menu->AddMenuGroupAsSubMenu("About", 1, tools, &group), hostsim::kMenuGroupExistsErr);
    EXPECT_EQ(calls.add(kEstampilleur.c_str(), kOutils, kEstampilleur, 1, &settings), kNoErr);
    AIMenuItemHandle lost = settings;
    EXPECT_EQ(calls.add(nullptr, "No Such Group", "x", 0, &lost), hostsim::kMenuGroupNotFoundErr);
    EXPECT_EQ(lost, nullptr);
    return kNoErr;
  });
  ASSERT_EQ(built, kNoErr);
  MenuItem* item = hostsim::menus(host).findItem(kOutils, kEstampilleur);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->handle(), settings);
  EXPECT_EQ(item->options, 1);
  EXPECT_EQ(item->owner, host.pluginRef());
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();

  AIMenuItemHandle chosen = nullptr;
  onMessage([&](const char* caller, const char* selector, SPMessageData& message) {
    EXPECT_STREQ(caller, "AI Menu");
    EXPECT_STREQ(selector, "AI Go");
    chosen = reinterpret_cast<AIMenuMessage&>(message).menuItem;
    return kNoErr;
  });
  EXPECT_EQ(host.chooseMenuItem(item->handle()), kNoErr);
  onMessage(nullptr);
  EXPECT_EQ(chosen, settings);
}

TEST(MenuSuite, HandlesTheHostNeverGaveAreMisuse) {
  StandardHost host;
  attachFakePlugin(host);
  inPlugin(host, [&](SPMessageData& message) {
    auto* menu = acquire<AIMenuSuite>(message, kAIMenuSuite, kAIMenuSuiteVersion);
    int stranger = 0;
    AIMenuGroup group = nullptr;
    const char* name = "unchanged";
    EXPECT_NE(menu->AddMenuGroupAsSubMenu("G", 0, reinterpret_cast<AIMenuItemHandle>(&stranger), &group), kNoErr);
    EXPECT_NE(menu->GetMenuGroupName(reinterpret_cast<AIMenuGroup>(&stranger), &name), kNoErr);
    EXPECT_EQ(name, nullptr);
    message.basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion);
    return kNoErr;
  });
  EXPECT_EQ(host.accounting().misuses().size(), 2u);
}

}  // namespace
}  // namespace hostcore_test
