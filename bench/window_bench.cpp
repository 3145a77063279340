// How long a person waits on the settings window: from the host's start (fonts, module,
// plug-in start-up, menu command) to the dialog shown and painted, and from a click on a
// check box to the preview painted again. Needs a display (`make bench` gives it Xvfb).
//
//   window_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <gtkmm.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/standard_host.h"
#include "hostsim/window/dialog_windows.h"

namespace {

using Clock = std::chrono::steady_clock;
using hostsim::adm::Dialog;

const std::string kOutils = "QZV\xA5Outils";                 // QZV•Outils
const std::string kCommande = "QZV\xA5" "Estampilleur\xC9";  // QZV•Estampilleur…
constexpr int32_t kPreview = 18;
constexpr int32_t kOneLine = 16;  // «Infos superposées»

std::filesystem::path module() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "Estampilleur.so";
}

// A host with the plug-in started over a new A4 document, its dialogs in windows.
struct Session {
  hostsim::StandardHost host;
  std::unique_ptr<hostsim::window::DialogWindows> windows;

  Session() {
    host.setFonts(std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::system()));
    host.loadPlugin(module());
    host.setDocument(std::make_unique<hostsim::Document>(hostsim::Document::create({{595.3, 841.9}})));
    windows = std::make_unique<hostsim::window::DialogWindows>(host);
    hostsim::dialogs(host).setFrontEnd(windows.get());
    host.startup();
  }
  ~Session() { host.shutdown(); }

  void openSettings() { host.chooseMenuItem(hostsim::menus(host).findItem(kOutils, kCommande)->handle()); }
};

void WindowShown(benchmark::State& state) {
  for (auto _ : state) {
    const auto start = Clock::now();
    Session session;
    Clock::time_point shown{};
    session.windows->whenPainted([&](const hostsim::adm::Item& item) {
      if (item.id() == kPreview && shown == Clock::time_point{}) shown = Clock::now();
    });
    session.windows->whileWaiting([&](Dialog& dialog) {
      if (shown != Clock::time_point{}) session.windows->window(dialog)->close();
    });
    session.openSettings();
    state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
  }
}

void ClickToPreview(benchmark::State& state) {
  Session session;
  for (auto _ : state) {
    // The window's first paint is not the click's: the click comes after it.
    enum class Phase { Opening, Shown, Clicked, Painted } phase = Phase::Opening;
    Clock::time_point clicked{}, painted{};
    session.windows->whenPainted([&](const hostsim::adm::Item& item) {
      if (item.id() != kPreview) return;
      if (phase == Phase::Opening) phase = Phase::Shown;
      if (phase == Phase::Clicked) {
        painted = Clock::now();
        phase = Phase::Painted;
      }
    });
    session.windows->whileWaiting([&](Dialog& dialog) {
      if (phase == Phase::Shown) {
        auto* box = dynamic_cast<Gtk::CheckButton*>(session.windows->widget(dialog, kOneLine));
        phase = Phase::Clicked;
        clicked = Clock::now();
        box->set_active(!box->get_active());
      } else if (phase == Phase::Painted) {
        session.windows->window(dialog)->close();
      }
    });
    session.openSettings();
    state.SetIterationTime(std::chrono::duration<double>(painted - clicked).count());
  }
}

}  // namespace

BENCHMARK(WindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ClickToPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv) {
  std::string why;
  if (!hostsim::window::openDesktop(why)) {
    std::fprintf(stderr, "window_bench: %s\n", why.c_str());
    return 2;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
