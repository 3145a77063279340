// What the user is shown when the plug-in cannot start, and how exceptions become codes.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/IAIUnicodeString.h"
#include "host/IThrowException.h"
#include "shell/DatePlugIn.h"
#include "shell/Suites.h"
#include "shell_fixture.h"

namespace {

using shelltest::ErrorList;
using shelltest::InProcess;

class DefaultErrorTest : public InProcess {
 protected:
  // The alerts shown for error with list 16050 made of entries.
  std::vector<std::string> Shown(std::vector<std::string> entries, ASErr error) {
    Reattach(ErrorList(std::move(entries)));
    size_t before = host.alerts().size();
    Plugin::DefaultError(host.pluginRef(), error);
    std::vector<std::string> shown;
    for (size_t i = before; i < host.alerts().size(); ++i) {
      EXPECT_EQ(host.alerts()[i].kind, hostsim::Alert::Kind::Error);
      shown.push_back(host.alerts()[i].text);
    }
    EXPECT_EQ(SuitesHeldByPlugin(), 0) << "ADM Basic must be given back";
    EXPECT_EQ(sADMBasic, nullptr);
    return shown;
  }

  const std::vector<std::string> list_ = {
      "!MEM", "Plus de memoire (%s).", "300", "Trois cents : %s", "-50",  "Moins cinquante : %s",
      "16384", "Seuil %s",             "ZZZZ", "Autre erreur (%s).",
  };
};

using Alerts = std::vector<std::string>;

TEST_F(DefaultErrorTest, CodeTextIsDecimalUpTo16384AndFourCharactersAbove) {
  struct Case {
    ASErr error;
    const char* shown;
  };
  const Case cases[] = {
      {fourcc("!MEM"), "Plus de memoire (!MEM)."},
      {300, "Trois cents : 300"},
      {-50, "Moins cinquante : -50"},
      {16384, "Seuil 16384"},
      {400, "Autre erreur (400)."},                  // no pair: the last pair's message
      {fourcc("XYZW"), "Autre erreur (XYZW)."},
      {16385, "Autre erreur ()."},                   // four characters, the first of them zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_EQ(Shown(list_, c.error), Alerts{c.shown});
  }
}

TEST_F(DefaultErrorTest, MessagesOf120CharactersOrMoreAreShownUnchanged) {
  const std::string m119 = "Code %s " + std::string(119 - 8, 'x');
  const std::string m120 = "Code %s " + std::string(120 - 8, 'x');
  ASSERT_EQ(m119.size(), 119u);
  EXPECT_EQ(Shown({"300", m119}, 300), Alerts{"Code 300 " + std::string(111, 'x')});
  EXPECT_EQ(Shown({"300", m120}, 300), Alerts{m120});
}

// A resource text is no format: only its first "%s" is replaced, every other byte stays.
TEST_F(DefaultErrorTest, NoOtherByteOfTheMessageActsAsAFormattingDirective) {
  EXPECT_EQ(Shown({"300", "Erreur %d %n %x %% (%s) %s"}, 300), Alerts{"Erreur %d %n %x %% (300) %s"});
  EXPECT_EQ(Shown({"300", "Sans code %n%n%n"}, 300), Alerts{"Sans code %n%n%n"});
}

TEST_F(DefaultErrorTest, NothingIsShownWithoutAMessage) {
  EXPECT_EQ(Shown({"", "Jamais vu"}, 300), Alerts{});      // empty first code entry: no list
  EXPECT_EQ(Shown({}, 300), Alerts{});                     // no list at all
  EXPECT_EQ(Shown({"300", ""}, 300), Alerts{});            // an empty message
  host.faults().makeSuiteUnavailable(kADMBasicSuite);
  EXPECT_EQ(Shown(list_, 300), Alerts{});                  // no dialog manager to show it
}

TEST_F(DefaultErrorTest, FilteredCodesAreNeverShownNorLookedUp) {
  const ASErr filtered[] = {fourcc("FMT?"), fourcc("RFSE"), fourcc("AFTR"), fourcc("VALD"), fourcc("MOOT"),
                            fourcc("TRSH"), fourcc("CHEK"), fourcc("CHIT"), fourcc("TLTK"), fourcc("pFls"),
                            fourcc("S!Fd"), fourcc("!Acq"), fourcc("dsRP"), fourcc("skpE"), fourcc("DONE"),
                            fourcc("STOP"), 361};
  for (ASErr error : filtered) {
    EXPECT_TRUE(Plugin::FilterError(error)) << error;
    EXPECT_EQ(Shown(list_, error), Alerts{});
  }
  EXPECT_EQ(host.accounting().callsOf("ADM Basic Suite.GetIndexString"), 0u);
  for (ASErr error : {0, fourcc("!MEM"), 360, 362, fourcc("S!Vr")}) EXPECT_FALSE(Plugin::FilterError(error)) << error;
}

TEST_F(DefaultErrorTest, UsesTheHeldDialogManagerAndLeavesItHeld) {
  Reattach(ErrorList(list_));
  {
    Suites suites;
    ASSERT_EQ(suites.Error(), kNoErr);
    Plugin::DefaultError(host.pluginRef(), 300);
    ASSERT_EQ(host.alerts().size(), 1u);
    EXPECT_NE(sADMBasic, nullptr);
    EXPECT_EQ(host.accounting().suiteHeld(kADMBasicSuite, kADMBasicSuiteVersion10), 1);
    EXPECT_EQ(host.accounting().suiteHeld(kADMBasicSuite, kADMBasicSuiteVersion11), 0);
  }
  EXPECT_EQ(SuitesHeldByPlugin(), 0);
}

TEST_F(DefaultErrorTest, WithoutTheBasicSuiteNothingHappens) {
  Reattach(ErrorList(list_));
  SPBasicSuite* basic = sSPBasic;
  sSPBasic = nullptr;
  Plugin::DefaultError(host.pluginRef(), 300);
  sSPBasic = basic;
  EXPECT_TRUE(host.alerts().empty());
}

TEST_F(DefaultErrorTest, FindMsgGivesTheMessageUnformattedAndCutToTheBuffer) {
  Reattach(ErrorList(list_));
  Suites suites;
  char buffer[128];
  ASSERT_NE(Plugin::FindMsg(host.pluginRef(), -50, buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "Moins cinquante : %s");
  char small[8];
  ASSERT_NE(Plugin::FindMsg(host.pluginRef(), -50, small, sizeof small), nullptr);
  EXPECT_STREQ(small, "Moins c");
}

// A plug-in object whose menu command does what the test says, and which records reports.
class Lanceur : public DatePlugIn {
 public:
  explicit Lanceur(std::function<ASErr()> action) : DatePlugIn(nullptr), action_(std::move(action)) {}
  ASErr GoMenuItem(AIMenuMessage*) override { return action_(); }
  void ReportError(ASErr error, const char*, const char*, void*) override { reports.push_back(error); }

  std::vector<ASErr> reports;

 private:
  std::function<ASErr()> action_;
};

ASErr MenuCommand(Lanceur& plugin) {
  AIMenuMessage message{};
  return plugin.Message(kCallerAIMenu, kSelectorAIGoMenuItem, &message);
}

TEST(MessageTest, ExceptionsBecomeCodesAndAreReported) {
  struct Case {
    const char* what;
    std::function<ASErr()> action;
    ASErr expected;
  };
  const Case cases[] = {
      {"host error", [] () -> ASErr { throw ai::Error(fourcc("ABCD")); }, fourcc("ABCD")},
      {"text engine", [] () -> ASErr { throw ATE::Exception(5); }, kCantHappenErr},
      {"wrapper", [] () -> ASErr { ATE::Throw_ATE_Exception(5); }, kCantHappenErr},
      {"checked", [] () -> ASErr { ai::check_result(-108); return kNoErr; }, -108},
      {"bad_alloc", [] () -> ASErr { throw std::bad_alloc(); }, kCantHappenErr},
      {"anything", [] () -> ASErr { throw 42; }, kCantHappenErr},
      {"plain error", [] { return ASErr{fourcc("FAIL")}; }, fourcc("FAIL")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Lanceur plugin(c.action);
    EXPECT_EQ(MenuCommand(plugin), c.expected);
    EXPECT_EQ(plugin.reports, std::vector<ASErr>{c.expected});
  }
}

TEST(MessageTest, UnhandledAndSuccessfulAnswersAreNotReported) {
  Lanceur unhandled([] { return kUnhandledMsgErr; });
  EXPECT_EQ(MenuCommand(unhandled), kUnhandledMsgErr);
  EXPECT_TRUE(unhandled.reports.empty());
  Lanceur done([] { return kNoErr; });
  EXPECT_EQ(MenuCommand(done), kNoErr);
  EXPECT_TRUE(done.reports.empty());
}

TEST(MessageTest, ErrorKeepsItsCodeAndIsAStandardException) {
  try {
    ai::check_result(fourcc("!MEM"));
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    const auto* error = dynamic_cast<const ai::Error*>(&e);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(static_cast<long>(*error), fourcc("!MEM"));
  }
  EXPECT_NO_THROW(ai::check_result(kNoErr));
}

}  // namespace
