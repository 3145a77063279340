// estampilleur -i as a person uses it: the program runs, its window appears on the display,
// and real input events (xdotool) click its items and press its keys.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <csignal>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "runner/run.h"

namespace {

// What xdotool printed, or nothing when it failed (within its time limit).
std::optional<std::string> xdotool(const std::string& args, const std::string& display = "") {
  const std::string on = display.empty() ? "" : "DISPLAY=" + display + " ";
  std::FILE* pipe = ::popen((on + "timeout 30 xdotool " + args + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return std::nullopt;
  std::string out;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  return ::pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

class InteractiveTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') GTEST_SKIP() << "no display: run under Xvfb (make test does)";
    if (!xdotool("version")) GTEST_SKIP() << "xdotool is missing";
  }
  // Runs the program in the background while a person at its window `title` does `acts`:
  // "click H V" at (H, V) in the dialog, or "key NAME".
  runner::Result play(std::vector<std::string> args, const std::string& title, std::vector<std::string> acts) {
    auto run = std::async(std::launch::async, [this, args] { return ws.run(args, {}, 120); });
    // Polled rather than --sync: a search fails outright when it meets a window going away.
    std::string id;
    for (int tries = 0; tries < 300 && id.empty(); ++tries) {
      if (tries > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      id = xdotool("search --onlyvisible --name '" + title + "'").value_or("");
    }
    id = id.substr(0, id.find('\n'));
    std::string geometry = xdotool("getwindowgeometry --shell " + id).value_or("X=-1\nY=-1");
    int x = 0, y = 0, h = 0, v = 0;
    std::sscanf(geometry.substr(geometry.find("X=")).c_str(), "X=%d\nY=%d", &x, &y);
    EXPECT_FALSE(id.empty()) << "no window «" << title << "» appeared";
    for (const std::string& act : acts) {
      if (std::sscanf(act.c_str(), "click %d %d", &h, &v) == 2) {
        xdotool("mousemove --sync " + std::to_string(x + h) + " " + std::to_string(y + v) + " click 1");
      } else {  // pressed and released at the window, which has the keyboard: the server sees
                // both, so it never repeats the key into a window that comes next
        xdotool("windowfocus --sync " + id + " keydown " + act.substr(4));
        xdotool("keyup " + act.substr(4));
      }
    }
    return run.get();
  }

  runner::Workspace ws;
};

TEST_F(InteractiveTest, APersonWorksTheWindowsWithRealClicksAndKeys) {
  auto input = ws.example("affiche-a4.svg");
  // The window opens set as the options say, then the person works it.
  runner::Result result = play(
      {"stamp", "-i", "--no-size", "--date", "2012-04-10", "-o", "out.svg", "--report", "report.json", input},
      "Estampilleur \\(R",
      {"key Tab", "key space", "click 166 199", "key Return"});  // to «Nom.», «Nom.» off, «Haut.», OK
  ASSERT_EQ(result.status, 0) << result.err;
  const nlohmann::json document = runner::readJson(ws / "report.json")["documents"][0];
  EXPECT_EQ(document["dialog"], "ok");
  EXPECT_FALSE(runner::stampTexts(document).empty());
  for (const auto& text : runner::stampTexts(document)) EXPECT_EQ(text.find("affiche"), std::string::npos) << text;
  const std::string preferences = runner::readFile(ws.preferences());
  for (const char* line : {"AvecNom = false", "EnHaut = true", "AvecTaille = false"})
    EXPECT_NE(preferences.find(line), std::string::npos) << line << " in " << preferences;

  // Escape is Annuler: the file and the settings are left as they were.
  const std::string before = runner::readFile(input);
  result = play({"stamp", "-i", "--in-place", "--report", "report.json", input}, "Estampilleur \\(R", {"key Escape"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(runner::readJson(ws / "report.json")["documents"][0]["dialog"], "cancel");
  EXPECT_EQ(runner::readFile(input), before);
  EXPECT_EQ(runner::readFile(ws.preferences()), preferences);
  // The About box closes with a click on its button.
  result = play({"about", "-i"}, "propos de QZV", {"click 255 366"});
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

// A display that turns connections away for a moment (here its server is still starting) is
// tried again, not given up at once.
TEST_F(InteractiveTest, ADisplayNotReadyAtOnceIsTriedAgain) {
  int number = 70;
  while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
         std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock"))
    ++number;
  const std::string display = ":" + std::to_string(number);
  const std::string server = "(sleep 0.3; exec timeout 120 Xvfb " + display + " -nolisten tcp) >/dev/null 2>&1";
  std::FILE* started = ::popen((server + " & echo $!").c_str(), "r");
  ASSERT_NE(started, nullptr);
  int pid = 0;
  ASSERT_EQ(std::fscanf(started, "%d", &pid), 1);
  ::pclose(started);
  auto run = std::async(std::launch::async, [&] { return ws.run({"about", "-i"}, {"DISPLAY=" + display}, 120); });
  std::string id;
  for (int tries = 0; tries < 300 && id.empty(); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    id = xdotool("search --onlyvisible --name 'propos de QZV'", display).value_or("");
  }
  EXPECT_FALSE(id.empty()) << "the About box did not appear";
  xdotool("windowfocus --sync " + id.substr(0, id.find('\n')) + " key Escape", display);
  const runner::Result result = run.get();
  ::kill(pid, SIGTERM);
  EXPECT_EQ(result.status, 0) << result.err;
}

}  // namespace
