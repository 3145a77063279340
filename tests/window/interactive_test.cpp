// estampilleur -i as a person uses it: the program runs, its window appears on the display,
// and real input events (xdotool) click its items and press its keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <string>
#include <thread>

#include "runner/run.h"

namespace {

// What xdotool printed, or nothing when it failed (within its time limit).
std::optional<std::string> xdotool(const std::string& args) {
  std::string command = "timeout 30 xdotool " + args + " 2>/dev/null";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  return ::pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

// A window of the program, found by its title, and where it stands.
struct Window {
  std::string id;
  int x = 0;
  int y = 0;

  static Window find(const std::string& title) {
    Window window;
    // Polled rather than --sync: a search fails outright when it meets a window going away.
    std::optional<std::string> ids;
    for (int tries = 0; tries < 300 && (!ids || ids->empty()); ++tries) {
      if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      ids = xdotool("search --onlyvisible --name '" + title + "'");
    }
    if (!ids || ids->empty()) throw std::runtime_error("no window «" + title + "» appeared");
    window.id = ids->substr(0, ids->find('\n'));
    std::optional<std::string> geometry = xdotool("getwindowgeometry --shell " + window.id);
    if (!geometry) throw std::runtime_error("the window «" + title + "» has no geometry");
    std::sscanf(geometry->substr(geometry->find("X=")).c_str(), "X=%d\nY=%d", &window.x, &window.y);
    xdotool("windowfocus --sync " + window.id);
    return window;
  }

  // A click in the middle of the item at (top, left, bottom, right) in the dialog.
  void click(int top, int left, int bottom, int right) const {
    xdotool("mousemove --sync " + std::to_string(x + (left + right) / 2) + " " + std::to_string(y + (top + bottom) / 2) +
            " click 1");
  }
  // The check box or radio button itself, at the item's left end.
  void tick(int top, int left, int bottom) const { click(top, left, bottom, left + 12); }
  // Pressed and released at the window, which has the keyboard: the server sees both, so
  // it never repeats the key into a window that comes next.
  void key(const std::string& name) const {
    xdotool("windowfocus --sync " + id + " keydown " + name);
    xdotool("keyup " + name);
  }
};

class InteractiveTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under Xvfb (make test does)";
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is missing";
  }

  // Runs the program in the background while the test plays the person.
  std::future<runner::Result> start(std::vector<std::string> args) {
    return std::async(std::launch::async, [this, args] { return ws.run(args, {}, 120); });
  }

  runner::Workspace ws;
};

TEST_F(InteractiveTest, ClicksAndReturnStampAndStoreWhatThePersonChose) {
  auto input = ws.example("affiche-a4.svg");
  // The window opens set as the options say, then the person works it.
  auto run = start(
      {"stamp", "-i", "--no-size", "--date", "2012-04-10", "-o", "out.svg", "--report", "report.json", input});
  Window window = Window::find("Estampilleur \\(R");
  window.key("Tab");               // from «Numéro du plan» to «Nom.»
  window.key("space");             // «Nom.» off
  window.tick(187, 160, 211);      // «Haut.»
  window.key("Return");
  runner::Result result = run.get();
  ASSERT_EQ(result.status, 0) << result.err;
  nlohmann::json report = runner::readJson(ws / "report.json");
  const auto& document = report["documents"][0];
  EXPECT_EQ(document["dialog"], "ok");
  for (const auto& text : runner::stampTexts(document)) EXPECT_EQ(text.find("affiche"), std::string::npos) << text;
  EXPECT_FALSE(runner::stampTexts(document).empty());
  const std::string preferences = runner::readFile(ws.preferences());
  EXPECT_NE(preferences.find("AvecNom = false"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("EnHaut = true"), std::string::npos) << preferences;
  EXPECT_NE(preferences.find("AvecTaille = false"), std::string::npos) << preferences;
}

TEST_F(InteractiveTest, EscapeIsAnnulerAndLeavesTheFileAsItWas) {
  auto input = ws.example("affiche-a4.svg");
  const std::string before = runner::readFile(input);
  auto run = start({"stamp", "-i", "--no-size", "--in-place", "--report", "report.json", input});
  Window window = Window::find("Estampilleur \\(R");
  window.key("Escape");
  runner::Result result = run.get();
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(runner::readJson(ws / "report.json")["documents"][0]["dialog"], "cancel");
  EXPECT_EQ(runner::readFile(input), before);
  EXPECT_FALSE(std::filesystem::exists(ws.preferences()));
}

TEST_F(InteractiveTest, TheAboutBoxClosesWithAClick) {
  auto run = start({"about", "-i"});
  Window window;
  try {
    window = Window::find("propos de QZV");
  } catch (const std::exception& e) {
    runner::Result result = run.get();
    FAIL() << e.what() << ": " << result.status << " " << result.err;
  }
  window.click(356, 25, 376, 485);
  runner::Result result = run.get();
  EXPECT_EQ(result.status, 0) << result.err;
}

TEST(Interactive, WithoutADisplayIsRefusedBeforeAnythingIsWritten) {
  runner::Workspace ws;
  auto input = ws.example("affiche-a4.svg");
  const std::string before = runner::readFile(input);
  runner::Result result =
      ws.run({"stamp", "-i", "--in-place", "--report", "report.json", input}, {"DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(runner::occurrences(result.err, "\n"), 1u) << result.err;
  EXPECT_NE(result.err.find("DISPLAY"), std::string::npos) << result.err;
  EXPECT_EQ(runner::readFile(input), before);
  EXPECT_FALSE(std::filesystem::exists(ws / "report.json"));
}

}  // namespace
