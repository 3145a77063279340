// The real module, loaded by the stand-in host: its life from start-up to shutdown, what a
// failed start-up leaves behind, the messages it does not handle, and its heap.
#include <dlfcn.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/standard_host.h"
#include "shell/Suites.h"

namespace {

// Mac Roman texts.
const std::string kOutils = "QZV\xA5Outils";                          // QZV•Outils
const std::string kCommande = "QZV\xA5" "Estampilleur\xC9";           // QZV•Estampilleur…
const std::string kGroupeAPropos = "\xCB propos des QZV\xA5Outils\xC9";  // À propos des QZV•Outils…

std::string Warning(const std::string& caller, const std::string& selector) {
  return "Warning: Unhandled plugin message: caller \"" + caller + "\" selector \"" + selector + "\"\n";
}

class ModuleTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_THROW(host.loadPlugin(ESTAMPILLEUR_MODULE)); }

  int Held() { return host.accounting().suitesHeld(); }
  // What the plug-in wrote to standard error during one message.
  std::string ErrorOutput(const char* caller, const char* selector, ASErr* result) {
    size_t before = host.pluginStderr().size();
    *result = host.send(caller, selector);
    return host.pluginStderr().substr(before);
  }

  hostsim::StandardHost host;
};

TEST_F(ModuleTest, StartsRunsUnloadsReloadsAndShutsDownGivingEverythingBack) {
  ASSERT_EQ(host.startup(), kNoErr);
  EXPECT_EQ(host.plugin().name, "Estampilleur");
  ASSERT_EQ(host.notifiers().size(), 1u);
  EXPECT_EQ(host.notifiers()[0].name, "Estampilleur App Started Notifier");
  EXPECT_EQ(host.notifiers()[0].type, kAIApplicationStartedNotifier);
  EXPECT_NE(host.plugin().globals, nullptr);
  EXPECT_EQ(Held(), 129);  // the About helper's own AI Menu Suite went back

  EXPECT_EQ(host.applicationStarted(), kNoErr);
  EXPECT_EQ(host.unload(), kNoErr);
  EXPECT_EQ(Held(), 0);
  EXPECT_NE(host.plugin().globals, nullptr);  // the object is kept for the reload

  // Unloaded: answered without routing, and without a warning.
  ASErr result = -1;
  EXPECT_EQ(ErrorOutput(kCallerAIMenu, kSelectorAIUpdateMenuItem, &result), "");
  EXPECT_EQ(result, kNoErr);

  EXPECT_EQ(host.reload(), kNoErr);
  EXPECT_EQ(Held(), 129);
  EXPECT_EQ(host.applicationStarted(), kNoErr);
  EXPECT_EQ(ErrorOutput(kCallerAIMenu, kSelectorAIUpdateMenuItem, &result),
            Warning(kCallerAIMenu, kSelectorAIUpdateMenuItem));
  // The object's data survived the re-establishment of its dispatch: it still knows its
  // About item.
  hostsim::MenuItem* about = hostsim::menus(host).findItem(kGroupeAPropos, kCommande);
  ASSERT_NE(about, nullptr);
  hostsim::dialogs(host).user().click(1);
  EXPECT_EQ(host.chooseMenuItem(about->handle()), kNoErr);
  ASSERT_NE(hostsim::dialogs(host).last(), nullptr);
  EXPECT_EQ(hostsim::dialogs(host).last()->name(), "About");

  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_EQ(host.plugin().globals, nullptr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
  EXPECT_TRUE(host.alerts().empty());
}

TEST_F(ModuleTest, ShutdownBeforeStartupDoesNothing) {
  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_EQ(host.plugin().globals, nullptr);
  EXPECT_EQ(host.accounting().totalCalls(), 0u);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST_F(ModuleTest, InstallsTheSettingsCommandAndTheAboutItem) {
  ASSERT_EQ(host.startup(), kNoErr);
  hostsim::MenuGroup* outils = hostsim::menus(host).findGroup(kOutils);
  ASSERT_NE(outils, nullptr);
  ASSERT_NE(outils->parent, nullptr);
  EXPECT_EQ(outils->parent->group->name, kToolPalettesMenuGroup);
  EXPECT_EQ(outils->options, 1);
  hostsim::MenuItem* commande = hostsim::menus(host).findItem(kOutils, kCommande);
  ASSERT_NE(commande, nullptr);
  EXPECT_EQ(commande->key, kCommande);
  EXPECT_EQ(commande->options, 1);

  hostsim::MenuGroup* apropos = hostsim::menus(host).findGroup(kGroupeAPropos);
  ASSERT_NE(apropos, nullptr);
  ASSERT_NE(apropos->parent, nullptr);
  EXPECT_EQ(apropos->parent->group->name, kAboutMenuGroup);
  ASSERT_NE(hostsim::menus(host).findItem(kGroupeAPropos, kCommande), nullptr);
  EXPECT_EQ(host.shutdown(), kNoErr);
}

// Only messages that the plug-in or its base class handle are answered without a warning;
// every other one is answered 0 with exactly one line naming it.
TEST_F(ModuleTest, UnhandledMessagesAnswerZeroWithOneWarningLine) {
  ASSERT_EQ(host.startup(), kNoErr);
  struct Case {
    const char* caller;
    const char* selector;
    bool handled;
  };
  const Case cases[] = {
      {"AI Menu", "AI Update", false},          {"SP Cache", "Plug-in Purge", true},
      {"SP Interface", "About", true},          {"SP Properties", "Acquire", false},
      {"Action Manager", "Do Action", true},    {"AI Tool", "AI Reselect", true},
      {"AI Tool", "AI Decrease Diameter", true}, {"AI Tool", "AI Select", false},
      {"AI Filter", "AI Go", false},            {"AI Timer", "AI Go", false},
      {"Workspace Manager", "Write Woskspace", false}, {"Nobody", "Anything", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.caller) + "/" + c.selector);
    ASErr result = -1;
    std::string output = ErrorOutput(c.caller, c.selector, &result);
    EXPECT_EQ(result, kNoErr);
    EXPECT_EQ(output, c.handled ? "" : Warning(c.caller, c.selector));
  }
  EXPECT_TRUE(host.alerts().empty());
  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

TEST_F(ModuleTest, AboutMessageShowsTheTwoAboutTexts) {
  ASSERT_EQ(host.startup(), kNoErr);
  EXPECT_EQ(host.send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kNoErr);
  ASSERT_EQ(host.abouts().size(), 1u);
  const auto& texts = host.plugin().resources.stringLists.at(16600);
  EXPECT_EQ(host.abouts()[0].text1, texts.at(0));
  EXPECT_EQ(host.abouts()[0].text2, texts.at(1));
  EXPECT_EQ(host.shutdown(), kNoErr);
}

// The About item opens the box placed on the screen, and the command answers 0, not the
// identifier of the button that closed it.
TEST_F(ModuleTest, AboutItemOpensTheBoxAndAnswersZero) {
  host.screen = ADMRect{0, 0, 900, 1440};
  ASSERT_EQ(host.startup(), kNoErr);
  hostsim::MenuItem* item = hostsim::menus(host).findItem(kGroupeAPropos, kCommande);
  ASSERT_NE(item, nullptr);
  hostsim::dialogs(host).user().click(1);
  EXPECT_EQ(host.chooseMenuItem(item->handle()), kNoErr);

  hostsim::adm::Dialog* box = hostsim::dialogs(host).last();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->name(), "About");
  EXPECT_EQ(box->resourceID(), 16500);
  EXPECT_EQ(box->title(), "\xCB propos de QZV\xA5" "Estampilleur");  // À propos de QZV•Estampilleur
  EXPECT_EQ(box->bounds().top, 163);
  EXPECT_EQ(box->bounds().left, 465);
  EXPECT_EQ(box->bounds().bottom, 573);
  EXPECT_EQ(box->bounds().right, 975);
  EXPECT_EQ(box->modalResult(), 1);
  EXPECT_FALSE(box->endedByHost());
  const hostsim::adm::Item* button = box->item(1);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->type(), kADMTextPushButtonType);
  EXPECT_EQ(button->font(), kADMDialogFont);
  EXPECT_EQ(button->justify(), kADMCenterJustify);
  EXPECT_FALSE(button->text().empty());
  EXPECT_TRUE(hostsim::dialogs(host).errors().empty());

  // The picture at its corner and the version line, centred across the top.
  bool icon = false;
  bool version = false;
  for (const hostsim::adm::DrawOp& op : box->drawing()) {
    if (op.kind == hostsim::adm::DrawOp::Kind::Icon) {
      icon = true;
      EXPECT_EQ(op.from.v, 30);
      EXPECT_EQ(op.from.h, -5);
    }
    if (op.kind == hostsim::adm::DrawOp::Kind::TextCentered) {
      version = true;
      EXPECT_EQ(op.text, "Version 3.3 mars 2012");
      EXPECT_EQ(op.rect.top, 6);
      EXPECT_EQ(op.rect.right, 510);
    }
  }
  EXPECT_TRUE(icon);
  EXPECT_TRUE(version);

  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

// The failed reload leaves the object without suites: it answers quietly until shutdown.
TEST_F(ModuleTest, FailedReloadKeepsThePluginQuietAndShutsDownCleanly) {
  ASSERT_EQ(host.startup(), kNoErr);
  ASSERT_EQ(host.unload(), kNoErr);
  host.faults().makeSuiteUnavailable(kAIMenuSuite);
  EXPECT_EQ(host.reload(), kSPSuiteNotFoundError);
  EXPECT_EQ(Held(), 0);
  ASErr result = -1;
  EXPECT_EQ(ErrorOutput(kCallerAIMenu, kSelectorAIUpdateMenuItem, &result), "");
  EXPECT_EQ(result, kNoErr);
  host.faults().clear();
  EXPECT_EQ(host.reload(), kNoErr);
  EXPECT_EQ(Held(), 129);
  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

// A stamping run: the file name comes back from the host as a std::string longer than any
// small-string buffer, built and freed inside the module. Every block it used is one the host
// gave and got back, or the host would have recorded a misuse.
TEST_F(ModuleTest, StampingRoundTripsTheFileNameThroughTheHostsHeap) {
  host.setFonts(std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(ESTAMPILLEUR_TEST_FONTS)));
  const std::string name = "Affiche du salon de printemps, version definitive.svg";
  auto folder = std::filesystem::temp_directory_path() / ("shell_tests_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  auto document = std::make_unique<hostsim::Document>(hostsim::Document::create({{595.0, 842.0}}));
  document->saveAs(folder / name);
  host.setDocument(std::move(document));

  ASSERT_EQ(host.startup(), kNoErr);
  hostsim::MenuItem* commande = hostsim::menus(host).findItem(kOutils, kCommande);
  ASSERT_NE(commande, nullptr);
  hostsim::dialogs(host).user().ok();
  EXPECT_EQ(host.chooseMenuItem(commande->handle()), kNoErr);
  EXPECT_TRUE(hostsim::dialogs(host).errors().empty());
  EXPECT_NE(host.document()->toString().find(name), std::string::npos);
  EXPECT_TRUE(host.accounting().misuses().empty()) << host.outstanding();

  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
  std::filesystem::remove_all(folder);
}

// The settings dialog is first placed centred, a third of the free height down: halves of
// negative widths round down, thirds of negative heights toward zero.
TEST(ModuleMenus, SettingsDialogFirstPlacement) {
  struct Case {
    ADMRect screen;
    ADMRect expected;
  };
  const Case cases[] = {
      {{0, 0, 900, 1440}, {206, 495, 486, 945}},
      {{0, 0, 200, 301}, {-26, -75, 254, 375}},
  };
  for (const Case& c : cases) {
    hostsim::StandardHost fresh;
    fresh.loadPlugin(ESTAMPILLEUR_MODULE);
    fresh.setFonts(
        std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(ESTAMPILLEUR_TEST_FONTS)));
    fresh.screen = c.screen;
    ASSERT_EQ(fresh.startup(), kNoErr);
    hostsim::dialogs(fresh).user().cancel();
    EXPECT_EQ(fresh.chooseMenuItem(hostsim::menus(fresh).findItem(kOutils, kCommande)->handle()), kNoErr);
    const hostsim::adm::Dialog* dialog = hostsim::dialogs(fresh).last();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->resourceID(), 26000);
    EXPECT_EQ(dialog->name(), "Mod\x8F" "leBidon");  // ModèleBidon
    EXPECT_EQ(dialog->bounds().top, c.expected.top);
    EXPECT_EQ(dialog->bounds().left, c.expected.left);
    EXPECT_EQ(dialog->bounds().bottom, c.expected.bottom);
    EXPECT_EQ(dialog->bounds().right, c.expected.right);
    EXPECT_EQ(fresh.shutdown(), kNoErr);
    EXPECT_TRUE(fresh.allGivenBack()) << fresh.outstanding();
  }
}

TEST_F(ModuleTest, AboutBoxOnANarrowScreenRoundsItsLeftDown) {
  host.screen = ADMRect{0, 0, 900, 601};
  ASSERT_EQ(host.startup(), kNoErr);
  hostsim::dialogs(host).user().click(1);
  ASSERT_EQ(host.chooseMenuItem(hostsim::menus(host).findItem(kGroupeAPropos, kCommande)->handle()), kNoErr);
  EXPECT_EQ(hostsim::dialogs(host).last()->bounds().left, 45);
  EXPECT_EQ(host.shutdown(), kNoErr);
}

// Start-up failing at each suite in turn: the code is the host's, nothing is shown (the code
// is filtered), nothing stays held and the globals slot is empty.
TEST(ModuleStartup, FailingAtAnySuiteLeavesNothingHeld) {
  std::vector<const ImportSuite*> rows;
  for (const ImportSuite& row : gBasicSuites) rows.push_back(&row);
  for (const ImportSuite* row = gImportSuites; row->name != nullptr; ++row) rows.push_back(row);
  ASSERT_EQ(rows.size(), 129u);
  for (const ImportSuite* row : rows) {
    SCOPED_TRACE(std::string(row->name) + " v" + std::to_string(row->version));
    hostsim::StandardHost host;
    host.loadPlugin(ESTAMPILLEUR_MODULE);
    host.faults().makeSuiteUnavailable(row->name);
    EXPECT_EQ(host.startup(), kSPSuiteNotFoundError);
    EXPECT_EQ(host.plugin().globals, nullptr);
    EXPECT_TRUE(host.alerts().empty());
    EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
    EXPECT_EQ(host.shutdown(), kNoErr);
  }
}

// A step after the suites were acquired fails: the suites go back before the object does,
// and the user reads the message of the plug-in's list for the code.
TEST(ModuleStartup, FailingAfterTheSuitesGivesThemBackAndReportsTheCode) {
  // The About helper's calls come first and their failures are ignored: each case fails the
  // first call that start-up acts on.
  struct Case {
    const char* operation;
    uint64_t nth;
    ASErr code;
  };
  const Case cases[] = {
      {"SP Plug-ins Suite.SetPluginName", 1, fourcc("!MEM")},
      {"AI Notifier Suite.AddNotifier", 1, fourcc("CANT")},
      {"AI Menu Suite.CountMenuGroups", 2, 300},
      // GroupExists walks the host's groups first (the About group is not among them).
      {"AI Menu Suite.GetNthMenuGroup", hostsim::Menus::hostGroups().size() + 1, fourcc("MGp?")},
      {"AI Menu Suite.AddMenuItem", 3, fourcc("ZAP!")},
      {"AI Menu Suite.AddMenuGroupAsSubMenu", 2, fourcc("S!Fd")},
      {"AI Menu Suite.AddMenuItem", 4, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.operation) + " #" + std::to_string(c.nth));
    hostsim::StandardHost host;
    host.loadPlugin(ESTAMPILLEUR_MODULE);
    host.faults().failCall(c.operation, c.nth, c.code);
    EXPECT_EQ(host.startup(), c.code);
    EXPECT_EQ(host.plugin().globals, nullptr);
    EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
    if (c.code == fourcc("S!Fd")) {
      EXPECT_TRUE(host.alerts().empty());
    } else {
      ASSERT_EQ(host.alerts().size(), 1u);
      const char code[5] = {static_cast<char>(c.code >> 24), static_cast<char>(c.code >> 16),
                            static_cast<char>(c.code >> 8), static_cast<char>(c.code), 0};
      const std::string text = c.code > 16384 ? std::string(code) : std::to_string(c.code);
      EXPECT_NE(host.alerts()[0].text.find("Estampilleur"), std::string::npos) << host.alerts()[0].text;
      EXPECT_NE(host.alerts()[0].text.find("(erreur " + text + ")"), std::string::npos) << host.alerts()[0].text;
    }
  }
}

// A menu text the host cannot make throws inside the plug-in: the host gets a code, never
// an exception, and nothing stays held.
TEST(ModuleStartup, FailingMenuTextIsAnErrorNotACrash) {
  hostsim::StandardHost host;
  host.loadPlugin(ESTAMPILLEUR_MODULE);
  host.faults().failCall("AI Unicode String Suite.Initialize", 1, fourcc("UNI!"));
  EXPECT_EQ(host.startup(), fourcc("UNI!"));
  EXPECT_EQ(host.plugin().globals, nullptr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

// The About item's own text failing is no start-up failure: the plug-in starts without it,
// and the menu suite the About helper took is given back.
TEST(ModuleStartup, FailingAboutItemTextOnlyLosesTheAboutItem) {
  hostsim::StandardHost host;
  host.loadPlugin(ESTAMPILLEUR_MODULE);
  host.faults().failCall("AI Unicode String Suite.Initialize", 2, fourcc("UNI!"));
  ASSERT_EQ(host.startup(), kNoErr);
  EXPECT_EQ(hostsim::menus(host).findItem(kGroupeAPropos, kCommande), nullptr);
  EXPECT_NE(hostsim::menus(host).findItem(kOutils, kCommande), nullptr);
  EXPECT_EQ(host.accounting().suitesHeld(), 129);
  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

// The module's heap is the host's, from the first message on; before it there is none.
// Once loaded the module stays mapped, so the first load is only fresh in a new process:
// the check runs in one.
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

TEST(ModuleHeap, AllocationGoesThroughTheMessagesBasicSuite) {
  hostsim::StandardHost host;
  host.loadPlugin(ESTAMPILLEUR_MODULE);
  using New = void* (*)(size_t);
  using Delete = void (*)(void*);
  auto plainNew = reinterpret_cast<New>(::dlsym(host.plugin().library, "_Znwm"));
  auto plainDelete = reinterpret_cast<Delete>(::dlsym(host.plugin().library, "_ZdlPv"));
  auto arrayNew = reinterpret_cast<New>(::dlsym(host.plugin().library, "_Znam"));
  auto arrayDelete = reinterpret_cast<Delete>(::dlsym(host.plugin().library, "_ZdaPv"));
  ASSERT_NE(plainNew, nullptr);
  ASSERT_NE(plainDelete, nullptr);
  ASSERT_NE(arrayNew, nullptr);
  ASSERT_NE(arrayDelete, nullptr);
  // The module's operators are its own, not the test program's.
  EXPECT_NE(reinterpret_cast<void*>(plainNew), ::dlsym(RTLD_DEFAULT, "_Znwm"));

  ASSERT_EQ(host.startup(), kNoErr);
  uint64_t allocations = host.allocations();
  void* block = plainNew(32);
  void* array = arrayNew(64);
  EXPECT_NE(block, nullptr);
  EXPECT_NE(array, nullptr);
  EXPECT_EQ(host.allocations(), allocations + 2);
  plainDelete(block);
  arrayDelete(array);

  host.faults().failAllocation(host.allocations() + 1);
  EXPECT_EQ(plainNew(32), nullptr);  // a failed block is null, never an exception

  EXPECT_EQ(host.shutdown(), kNoErr);
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

// No memory for the plug-in object: start-up answers "!MEM" and the user reads why.
TEST(ModuleHeap, NoMemoryForThePluginObject) {
  hostsim::StandardHost host;
  host.loadPlugin(ESTAMPILLEUR_MODULE);
  host.faults().failAllocation(1);
  EXPECT_EQ(host.startup(), kOutOfMemoryErr);
  EXPECT_EQ(host.plugin().globals, nullptr);
  ASSERT_EQ(host.alerts().size(), 1u);
  EXPECT_EQ(host.alerts()[0].text, "M\x8Emoire insuffisante pour d\x8Emarrer Estampilleur (erreur !MEM).");
  EXPECT_TRUE(host.allGivenBack()) << host.outstanding();
}

}  // namespace
