// The real module in the stand-in host: its life from start-up to shutdown, its menus and
// messages, failed start-ups, its dialogs' places and its heap. A whole stamping through it
// is the fault sweep's clean run.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/model/fonts.h"
#include "support/support.h"

namespace {

const std::string kOutils = "QZV\xA5Outils";                             // QZV•Outils
const std::string kCommande = "QZV\xA5" "Estampilleur\xC9";              // QZV•Estampilleur…
const std::string kGroupeAPropos = "\xCB propos des QZV\xA5Outils\xC9";  // À propos des QZV•Outils…
constexpr int kSuitesHeld = 129;  // the About helper's own AI Menu Suite went back

hostsim::MenuItem* Item(hostsim::Host& host, const std::string& group) {
  return hostsim::menus(host).findItem(group, kCommande);
}

// Chooses the menu item of that group; the user closes what it opens.
hostsim::adm::Dialog* Choose(hostsim::Host& host, const std::string& group) {
  hostsim::adm::ScriptedUser& user = hostsim::dialogs(host).user();
  group == kOutils ? user.cancel() : user.click(1);
  EXPECT_EQ(host.chooseMenuItem(Item(host, group)->handle()), kNoErr);
  return hostsim::dialogs(host).last();
}

class ModuleTest : public testsupport::HostTest {
 protected:
  void SetUp() override { ASSERT_NO_THROW(host_.loadPlugin(ESTAMPILLEUR_MODULE)); }
  int held() { return host_.accounting().suitesHeld(); }
  // What the plug-in wrote to standard error while it answered one message with 0.
  std::string warningFor(const char* caller, const char* selector) {
    const size_t before = host_.pluginStderr().size();
    EXPECT_EQ(host_.send(caller, selector), kNoErr) << caller << "/" << selector;
    return host_.pluginStderr().substr(before);
  }
};

std::string Text(const ADMRect& r) {
  return std::to_string(r.top) + " " + std::to_string(r.left) + " " + std::to_string(r.bottom) + " " + std::to_string(r.right);
}

std::string Warning(const std::string& caller, const std::string& selector) {
  return "Warning: Unhandled plugin message: caller \"" + caller + "\" selector \"" + selector + "\"\n";
}

// Started, it names itself, waits for the application and installs its two menu items; it
// answers the messages that it or its base class handle quietly, every other one 0 with one
// warning line ("About" shows its two About texts). Unloaded, the object keeps its data and
// answers quietly; a failed reload leaves it so, a good one brings its suites back.
TEST_F(ModuleTest, StartsUnloadsReloadsAndShutsDownGivingEverythingBack) {
  EXPECT_EQ(host_.shutdown(), kNoErr) << "before start-up, nothing to do";
  EXPECT_EQ(host_.accounting().totalCalls(), 0u);
  ASSERT_EQ(host_.startup(), kNoErr);
  EXPECT_EQ(host_.plugin().name, "Estampilleur");
  ASSERT_EQ(host_.notifiers().size(), 1u);
  EXPECT_EQ(host_.notifiers()[0].type, kAIApplicationStartedNotifier);
  EXPECT_EQ(held(), kSuitesHeld);
  const std::string tree = hostsim::menus(host_).tree();
  EXPECT_NE(tree.find("Tool Palettes\n  QZV•Outils  [key \"QZV•Outils\"]\n"
                      "    QZV•Estampilleur…  [key \"QZV•Estampilleur…\"]  [options 1]\n"), std::string::npos) << tree;
  EXPECT_NE(tree.find("About\n  À propos des QZV•Outils…\n    QZV•Estampilleur…\n"), std::string::npos) << tree;
  EXPECT_EQ(host_.applicationStarted(), kNoErr);
  const struct {
    const char *caller, *selector;
    bool handled;
  } messages[] = {{"AI Menu", "AI Update", false},     {"SP Cache", "Plug-in Purge", true}, {"SP Interface", "About", true},
                  {"SP Properties", "Acquire", false}, {"Action Manager", "Do Action", true},
                  {"AI Tool", "AI Reselect", true},    {"AI Tool", "AI Decrease Diameter", true},
                  {"AI Tool", "AI Select", false},     {"AI Filter", "AI Go", false},    {"AI Timer", "AI Go", false},
                  {"Workspace Manager", "Write Woskspace", false}, {"Nobody", "Anything", false}};
  for (const auto& m : messages) EXPECT_EQ(warningFor(m.caller, m.selector), m.handled ? "" : Warning(m.caller, m.selector));
  ASSERT_EQ(host_.abouts().size(), 1u);
  EXPECT_EQ(host_.abouts()[0].text1, host_.plugin().resources.stringLists.at(16600).at(0));
  EXPECT_EQ(host_.abouts()[0].text2, host_.plugin().resources.stringLists.at(16600).at(1));
  for (bool reloadFails : {true, false}) {
    EXPECT_EQ(host_.unload(), kNoErr);
    EXPECT_EQ(held(), 0);
    EXPECT_NE(host_.plugin().globals, nullptr);
    EXPECT_EQ(warningFor("AI Menu", "AI Update"), "");
    if (reloadFails) host_.faults().makeSuiteUnavailable(kAIMenuSuite);
    EXPECT_EQ(host_.reload(), reloadFails ? kSPSuiteNotFoundError : kNoErr);
    host_.faults().clear();
  }
  EXPECT_EQ(held(), kSuitesHeld);
  EXPECT_EQ(warningFor("AI Menu", "AI Update"), Warning("AI Menu", "AI Update"));
  EXPECT_EQ(Choose(host_, kGroupeAPropos)->name(), "About");
  EXPECT_EQ(host_.shutdown(), kNoErr);
  EXPECT_EQ(host_.plugin().globals, nullptr);
  EXPECT_TRUE(host_.alerts().empty());
}

// The About item opens the box placed on the screen (halves of negative widths round down,
// thirds of negative heights toward zero) and answers 0, not the button that closed it. The
// settings dialog is first placed centred, a third of the free height down.
TEST_F(ModuleTest, AboutBoxAndSettingsDialogArePlacedOnTheScreen) {
  const struct {
    ADMRect screen, about, settings;
  } cases[] = {{{0, 0, 900, 1440}, {163, 465, 573, 975}, {206, 495, 486, 945}},
               {{0, 0, 200, 301}, {-70, -105, 340, 405}, {-26, -75, 254, 375}}};
  for (const auto& c : cases) {
    hostsim::StandardHost host;
    host.loadPlugin(ESTAMPILLEUR_MODULE);
    host.setFonts(std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(testsupport::kFontFolder)));
    host.screen = c.screen;
    ASSERT_EQ(host.startup(), kNoErr);
    const hostsim::adm::Dialog* box = Choose(host, kGroupeAPropos);
    EXPECT_EQ(box->name(), "About");
    EXPECT_EQ(box->modalResult(), 1);
    EXPECT_EQ(Text(box->bounds()), Text(c.about));
    const hostsim::adm::Dialog* settings = Choose(host, kOutils);
    EXPECT_EQ(Text(settings->bounds()), Text(c.settings));
    EXPECT_TRUE(hostsim::dialogs(host).errors().empty());
    EXPECT_EQ(host.shutdown(), kNoErr);
    EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
  }
}

// A start-up step fails (the About helper's failures are ignored: each case fails the first
// call start-up acts on): the suites go back before the object does, and the user reads the
// message for the code, unless it is filtered. The About item's own text failing only loses
// that item. No memory for the object: the user reads why.
TEST_F(ModuleTest, FailingStartUpGivesEverythingBackAndReportsTheCode) {
  const struct {
    const char* operation;
    uint64_t nth;
    ASErr code;
    const char* shown;  // at the end of the alert
  } cases[] = {{"SP Plug-ins Suite.SetPluginName", 1, fourcc("!MEM"), "(erreur !MEM)."},
               {"AI Notifier Suite.AddNotifier", 1, fourcc("CANT"), "(erreur CANT)."},
               {"AI Menu Suite.CountMenuGroups", 2, 300, "(erreur 300)."},
               // GroupExists walks the host's groups first (the About group is not among them).
               {"AI Menu Suite.GetNthMenuGroup", hostsim::Menus::hostGroups().size() + 1, fourcc("MGp?"), "(erreur MGp?)."},
               {"AI Menu Suite.AddMenuItem", 3, fourcc("ZAP!"), "(erreur ZAP!)."},
               {"AI Menu Suite.AddMenuGroupAsSubMenu", 2, fourcc("S!Fd"), nullptr},
               {"AI Menu Suite.AddMenuItem", 4, -1, "(erreur -1)."},
               {"AI Unicode String Suite.Initialize", 1, fourcc("UNI!"), "(erreur UNI!)."}};
  for (const auto& c : cases) {
    hostsim::StandardHost host;
    host.loadPlugin(ESTAMPILLEUR_MODULE);
    host.faults().failCall(c.operation, c.nth, c.code);
    ASSERT_EQ(host.startup(), c.code) << c.operation << " #" << c.nth;
    EXPECT_EQ(host.plugin().globals, nullptr);
    EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
    ASSERT_EQ(host.alerts().size(), c.shown != nullptr ? 1u : 0u);
    for (const hostsim::Alert& alert : host.alerts()) EXPECT_TRUE(alert.text.ends_with(c.shown)) << alert.text;
  }
  host_.faults().failCall("AI Unicode String Suite.Initialize", 2, fourcc("UNI!"));
  ASSERT_EQ(host_.startup(), kNoErr);
  EXPECT_EQ(Item(host_, kGroupeAPropos), nullptr);
  EXPECT_NE(Item(host_, kOutils), nullptr);
  EXPECT_EQ(host_.shutdown(), kNoErr);
  host_.faults().failAllocation(host_.allocations() + 1);
  EXPECT_EQ(host_.startup(), kOutOfMemoryErr);
  EXPECT_EQ(host_.plugin().globals, nullptr);
  EXPECT_EQ(alerts(), std::vector<std::string>{"M\x8Emoire insuffisante pour d\x8Emarrer Estampilleur (erreur !MEM)."});
}

// Before the first message the module has no heap (from it on, the host's: the fault sweep
// refuses each block). A module stays mapped once loaded: only a new process loads it afresh.
TEST(ModuleHeapDeathTest, NoHeapBeforeTheFirstMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        hostsim::StandardHost host;
        host.loadPlugin(ESTAMPILLEUR_MODULE);
        auto plainNew = reinterpret_cast<void* (*)(size_t)>(::dlsym(host.plugin().library, "_Znwm"));
        auto nothrowNew = reinterpret_cast<void* (*)(size_t, const std::nothrow_t&)>(
            ::dlsym(host.plugin().library, "_ZnwmRKSt9nothrow_t"));
        auto plainDelete = reinterpret_cast<void (*)(void*)>(::dlsym(host.plugin().library, "_ZdlPv"));
        bool fine = plainNew != nullptr && nothrowNew != nullptr && plainDelete != nullptr &&
                    plainNew(32) == nullptr && nothrowNew(32, std::nothrow) == nullptr;
        if (fine) plainDelete(nullptr);
        fine = fine && host.allocations() == 0 && host.accounting().totalCalls() == 0;
        std::exit(fine ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
