// What the user is shown when the plug-in cannot start, and how exceptions become codes.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

#include "host/IAIUnicodeString.h"
#include "host/IThrowException.h"
#include "shell/DatePlugIn.h"
#include "shell/DateSuites.h"
#include "shell/Suites.h"
#include "support/support.h"

extern "C" ASErr PluginMain(const char* caller, const char* selector, void* message);

namespace {

using Texts = std::vector<std::string>;

const Texts kList = {"!MEM", "Plus de memoire (%s).", "300", "Trois cents : %s", "-50", "Moins cinquante : %s",
                     "16384", "Seuil %s",           "ZZZZ", "Autre erreur (%s)."};

class DefaultErrorTest : public testsupport::HostTest {
 protected:
  void SetUp() override { sSPBasic = const_cast<SPBasicSuite*>(&suite<SPBasicSuite>(kSPBasicSuite, kSPBasicSuiteVersion)); }
  void TearDown() override {
    sSPBasic = nullptr;
    HostTest::TearDown();  // the dialog manager taken for an alert went back
  }
  // The alerts, error alerts all, shown for `error` with `list` as the plug-in's list 16050.
  Texts shown(const Texts& list, ASErr error) {
    hostsim::Resources resources;
    resources.stringLists[16050] = list;
    host_.attachPlugin(PluginMain, std::move(resources));
    const size_t before = host_.alerts().size();
    Plugin::DefaultError(host_.pluginRef(), error);
    for (const hostsim::Alert& alert : host_.alerts()) EXPECT_EQ(alert.kind, hostsim::Alert::Kind::Error);
    const Texts all = alerts();
    return Texts(all.begin() + static_cast<long>(before), all.end());
  }
};

// The code is decimal up to 16384 and four characters above; a message of 120 characters or
// more is shown unchanged (cut to its buffer); only its first "%s" is replaced, every other
// byte stays. Nothing is shown for a filtered code, without a message, a dialog manager or
// the basic suite.
TEST_F(DefaultErrorTest, ShowsTheMessageOfTheCodeWithTheCodeInIt) {
  const std::string m119 = "Code %s " + std::string(111, 'x');
  const struct {
    Texts list;
    ASErr error;
    Texts shown;
  } cases[] = {{kList, fourcc("!MEM"), {"Plus de memoire (!MEM)."}},
               {kList, 300, {"Trois cents : 300"}},
               {kList, -50, {"Moins cinquante : -50"}},
               {kList, 16384, {"Seuil 16384"}},
               {kList, 400, {"Autre erreur (400)."}},  // no pair: the last pair's message
               {kList, 16385, {"Autre erreur ()."}},  // four characters, the first of them zero
               {kList, 360, {"Autre erreur (360)."}},
               {kList, 361, {}},
               {kList, 362, {"Autre erreur (362)."}},
               {kList, fourcc("S!Fd"), {}},
               {kList, fourcc("STOP"), {}},
               {{"300", m119}, 300, {"Code 300 " + std::string(111, 'x')}},
               {{"300", m119 + "x"}, 300, {m119 + "x"}},
               {{"300", m119 + std::string(100, 'y')}, 300, {(m119 + std::string(100, 'y')).substr(0, 127)}},
               {{"300", "Erreur %d %n %x %% (%s) %s"}, 300, {"Erreur %d %n %x %% (300) %s"}},
               {{"300", "Sans code %n%n%n"}, 300, {"Sans code %n%n%n"}},
               {{"", "Jamais vu"}, 300, {}},  // an empty first code entry: no list
               {{}, 300, {}},
               {{"300", ""}, 300, {}}};
  for (const auto& c : cases) EXPECT_EQ(shown(c.list, c.error), c.shown) << c.error;
  for (ASErr error : {fourcc("FMT?"), fourcc("RFSE"), fourcc("AFTR"), fourcc("VALD"), fourcc("MOOT"), fourcc("TRSH"),
                      fourcc("CHEK"), fourcc("CHIT"), fourcc("TLTK"), fourcc("pFls"), fourcc("!Acq"), fourcc("dsRP"),
                      fourcc("skpE"), fourcc("DONE")})
    EXPECT_TRUE(Plugin::FilterError(error)) << error;
  host_.faults().makeSuiteUnavailable(kADMBasicSuite);
  EXPECT_EQ(shown(kList, 300), Texts{});
  host_.faults().clear();
  sSPBasic = nullptr;
  EXPECT_EQ(shown(kList, 300), Texts{});
  EXPECT_EQ(sADMBasic, nullptr);
}

// With the suites held, their dialog manager serves and stays held.
TEST_F(DefaultErrorTest, UsesTheHeldDialogManagerAndLeavesItHeld) {
  Suites suites;
  ASSERT_EQ(suites.Error(), kNoErr);
  EXPECT_EQ(shown(kList, 300), Texts{"Trois cents : 300"});
  EXPECT_EQ(host_.accounting().suiteHeld(kADMBasicSuite, kADMBasicSuiteVersion10), 1);
  EXPECT_EQ(host_.accounting().suiteHeld(kADMBasicSuite, kADMBasicSuiteVersion11), 0);
}

// A plug-in object whose menu command does what the test says, and which records reports.
struct Lanceur : DatePlugIn {
  explicit Lanceur(std::function<ASErr()> command) : DatePlugIn(nullptr), action(std::move(command)) {}
  ASErr GoMenuItem(AIMenuMessage*) override { return action(); }
  void ReportError(ASErr error, const char*, const char*, void*) override { reports.push_back(error); }
  std::function<ASErr()> action;
  std::vector<ASErr> reports;
};

// Exceptions become codes and are reported; an unhandled or successful answer is not.
TEST(MessageTest, ExceptionsBecomeCodesAndAreReported) {
  const struct {
    std::function<ASErr()> action;
    ASErr expected;
    bool reported = true;
  } cases[] = {{[]() -> ASErr { throw ai::Error(fourcc("ABCD")); }, fourcc("ABCD")},
               {[]() -> ASErr { throw ATE::Exception(5); }, kCantHappenErr},
               {[]() -> ASErr { ATE::Throw_ATE_Exception(5); }, kCantHappenErr},
               {[]() -> ASErr { ai::check_result(-108); return kNoErr; }, -108},
               {[]() -> ASErr { throw std::bad_alloc(); }, kCantHappenErr},
               {[]() -> ASErr { throw 42; }, kCantHappenErr},
               {[] { return ASErr{fourcc("FAIL")}; }, fourcc("FAIL")},
               {[] { return kUnhandledMsgErr; }, kUnhandledMsgErr, false},
               {[] { return kNoErr; }, kNoErr, false}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    Lanceur plugin(cases[i].action);
    AIMenuMessage message{};
    EXPECT_EQ(plugin.Message(kCallerAIMenu, kSelectorAIGoMenuItem, &message), cases[i].expected) << i;
    EXPECT_EQ(plugin.reports, cases[i].reported ? std::vector<ASErr>{cases[i].expected} : std::vector<ASErr>{}) << i;
  }
}

}  // namespace
