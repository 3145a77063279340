// What stamping costs a person: the `estampilleur stamp` command run whole (process start,
// plug-in start-up, load, dialog, OK on every artboard, save, shut-down) on drawings of 1
// to 10,000 pages and on a poster holding an 84 MB photograph, beside the same command
// pressing Cancel and beside the document model alone loading and saving the same files.
// After Google Benchmark's own lines, tables of the medians in milliseconds (real time, and
// the processor time the work itself used) and of the peak memory each needed.
//
//   estampilleur_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//   estampilleur_bench --write-document N FILE    (the drawing of N pages, e.g. to profile)
//   estampilleur_bench --write-document photo FILE    (the poster)
//
// The command is the `estampilleur` beside this program; it loads its module from beside
// itself (or $ESTAMPILLEUR_PLUGIN) and lists the system's fonts (or $ESTAMPILLEUR_FONTS).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hostsim/model/compressed.h"
#include "hostsim/model/document.h"
#include "pages.h"

extern char** environ;

namespace estampilleur::bench {
namespace {

namespace fs = std::filesystem;

constexpr char kDate[] = "2012-04-10";
constexpr char kStampTag[] = "QZVNOM";
// The poster's photograph: 63 MB, 84 MB once written in base64.
constexpr std::size_t kPhotoBytes = 63'000'000;
constexpr int kPhoto = 0;  // the poster's argument, where the others give their pages

void writeFile(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out.flush()) throw std::runtime_error("cannot write " + file.string());
}

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A private folder holding the generated drawings, the outputs and the preferences file
// (so the person's own settings are neither read nor changed); removed at exit.
class Workspace {
 public:
  Workspace() {
    std::string pattern = (fs::temp_directory_path() / "estampilleur-bench.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
      throw std::runtime_error("cannot create a folder in " + fs::temp_directory_path().string() + ": " +
                               std::strerror(errno));
    folder_ = pattern;
    program_ = fs::read_symlink("/proc/self/exe").parent_path() / "estampilleur";
    // The command keeps the system's font list here, not in the person's cache.
    ::setenv("XDG_CACHE_HOME", (folder_ / "cache").c_str(), 1);
  }
  ~Workspace() {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const fs::path& program() const { return program_; }
  fs::path file(const std::string& name) const { return folder_ / name; }

  // The drawing of `pages` pages (the poster for kPhoto), written on first use.
  fs::path input(int pages, bool compressed = false) {
    fs::path file = folder_ / (pages == kPhoto ? std::string("photo.svg")
                                               : "pages-" + std::to_string(pages) + (compressed ? ".svgz" : ".svg"));
    if (!fs::exists(file)) {
      const std::string svg = pages == kPhoto ? photoDocument(kPhotoBytes) : pagesDocument(pages);
      writeFile(file, compressed ? hostsim::gzip(svg) : svg);
    }
    return file;
  }

 private:
  fs::path folder_;
  fs::path program_;
};

Workspace& workspace() {
  static Workspace instance;
  return instance;
}

double milliseconds(const timeval& time) { return static_cast<double>(time.tv_sec) * 1e3 + time.tv_usec / 1e3; }

// The exit status (128 + the signal when killed); standard output goes nowhere, standard
// error to `log`, and `environment` is added to this process's. `cpuMs` gets the processor
// time the command used (user and system), which the machine's other work does not inflate.
int run(const std::vector<std::string>& command, const fs::path& log, double& cpuMs,
        const std::vector<std::string>& environment = {}) {
  std::vector<char*> argv, envp;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  for (const std::string& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
  for (char** variable = environ; *variable; ++variable) {
    const std::string_view name(*variable, std::strcspn(*variable, "="));
    if (std::none_of(environment.begin(), environment.end(),
                     [&](const std::string& added) { return added.starts_with(name) && added[name.size()] == '='; }))
      envp.push_back(*variable);
  }
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child = 0;
  const int error = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -error;
  int status = 0;
  rusage usage{};
  while (::wait4(child, &status, 0, &usage) < 0)
    if (errno != EINTR) return -errno;
  cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The same, run once under /usr/bin/time for `peakMb`, the most memory the command held (a
// child spawned straight from this large process would start out counted at its peak).
int runForPeak(const std::vector<std::string>& command, const fs::path& log, double& peakMb) {
  const fs::path peakFile = log.string() + ".peak";
  std::vector<std::string> timed = {"/usr/bin/time", "-f", "%M", "-o", peakFile.string()};
  timed.insert(timed.end(), command.begin(), command.end());
  double cpuMs = 0;
  const int status = run(timed, log, cpuMs);
  std::ifstream peak(peakFile);
  double kilobytes = 0;
  if (peak >> kilobytes) peakMb = kilobytes / 1024;
  return status;
}

// The texts carrying the plug-in's tag: what the run stamped.
int stampsIn(const fs::path& file) {
  const hostsim::Document document = hostsim::Document::load(file);
  int stamps = 0;
  for (hostsim::ArtHandle text : document.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any))
    if (document.tag(text, kStampTag)) ++stamps;
  return stamps;
}

// The command on the drawing of state.range(0) pages: OK with "Sur tous les plans"
// checked, or Cancel; compressed, read and written as .svgz. One untimed run first, which
// also stores the settings.
void commandBenchmark(benchmark::State& state, bool cancel, bool compressed = false, bool traced = false) {
  const int pages = static_cast<int>(state.range(0));
  Workspace& space = workspace();
  const std::string tag = (cancel ? "cancel-" : "stamp-") + std::to_string(pages);
  const fs::path input = space.input(pages, compressed);
  const fs::path output = space.file(tag + (compressed ? ".svgz" : ".svg"));
  const fs::path log = space.file(tag + ".log");
  std::vector<std::string> arguments = {space.program().string(), "stamp", "--date", kDate, "--prefs",
                                        space.file("preferences.ini").string(), "--all"};
  if (cancel) arguments.push_back("--cancel");
  if (traced) arguments.insert(arguments.end(), {"--trace", space.file(tag + ".trace").string()});
  arguments.insert(arguments.end(), {"-o", output.string(), input.string()});
  const auto failed = [&](int status) {
    std::string message = space.program().string() + " ended with status " + std::to_string(status);
    std::string errors = readFile(log);
    if (!errors.empty()) message += ": " + errors.substr(0, errors.find('\n'));
    state.SkipWithError(message.c_str());
  };

  double cpuMs = 0, totalCpuMs = 0, peakMb = 0;
  if (int status = runForPeak(arguments, log, peakMb); status != 0) {
    failed(status);
    return;
  }
  for (auto _ : state) {
    if (int status = run(arguments, log, cpuMs); status != 0) {
      failed(status);
      return;
    }
    totalCpuMs += cpuMs;
  }

  const int stamps = stampsIn(output);
  const int artboards = std::max(pages, 1);
  if (cancel ? stamps != 0 : stamps < artboards) {
    const std::string message = std::to_string(stamps) + " stamps in " + output.string() + " for " +
                                std::to_string(pages) + " artboards";
    state.SkipWithError(message.c_str());
    return;
  }
  state.counters["artboards"] = artboards;
  state.counters["stamps"] = stamps;
  state.counters["cpu_ms"] = benchmark::Counter(totalCpuMs, benchmark::Counter::kAvgIterations);
  state.counters["peak_mb"] = peakMb;
}

void stamp(benchmark::State& state) { commandBenchmark(state, false); }
void cancel(benchmark::State& state) { commandBenchmark(state, true); }
void stampCompressed(benchmark::State& state) { commandBenchmark(state, false, true); }
void stampTraced(benchmark::State& state) { commandBenchmark(state, false, false, true); }

// The host's start-up and shut-down alone: `estampilleur menus` starts the host (its fonts,
// preferences and the plug-in's module), lists the menus the plug-in added and quits. With the
// system's font list kept from the run before, or made anew each time (no cache folder).
void startup(benchmark::State& state) {
  const bool kept = state.range(0) != 0;
  Workspace& space = workspace();
  const fs::path log = space.file("startup.log");
  const std::vector<std::string> arguments = {space.program().string(), "menus"};
  // A cache folder under a file cannot be made.
  std::vector<std::string> environment;
  if (!kept) environment.push_back("XDG_CACHE_HOME=" + (log / "cache").string());
  double cpuMs = 0, totalCpuMs = 0;
  const auto failed = [&](int status) {
    state.SkipWithError(("estampilleur menus ended with status " + std::to_string(status)).c_str());
  };
  if (int status = run(arguments, log, cpuMs, environment); status != 0) return failed(status);
  for (auto _ : state) {
    if (int status = run(arguments, log, cpuMs, environment); status != 0) return failed(status);
    totalCpuMs += cpuMs;
  }
  state.counters["cpu_ms"] = benchmark::Counter(totalCpuMs, benchmark::Counter::kAvgIterations);
}

// The document model alone, in this process: the same file loaded and saved (atomically,
// as the command saves), nothing else.
void loadSave(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  Workspace& space = workspace();
  const fs::path input = space.input(pages);
  const fs::path output = space.file("load-save-" + std::to_string(pages) + ".svg");
  const auto cpuNow = [] {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
  };
  const auto loadAndSave = [&] {
    hostsim::Document document = hostsim::Document::load(input);
    document.saveAs(output);
  };
  const double cpuBefore = cpuNow();
  try {
    for (auto _ : state) loadAndSave();
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  const double cpuMs = cpuNow() - cpuBefore;
  // The peak memory of one load and save alone, in a process of its own.
  double peakMb = 0;
  const fs::path log = space.file("load-save.log");
  if (runForPeak({fs::read_symlink("/proc/self/exe").string(), "--load-save", input.string(), output.string()}, log,
                 peakMb) != 0) {
    state.SkipWithError(("cannot measure the memory of loading and saving " + input.string()).c_str());
    return;
  }
  state.counters["artboards"] = std::max(pages, 1);
  state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
  state.counters["peak_mb"] = peakMb;
}

void sizes(benchmark::internal::Benchmark* benchmark) {
  for (int pages : {1, 10, 100, 1000, 10000}) benchmark->Arg(pages);
  benchmark->Arg(kPhoto)->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(startup)->ArgName("kept")->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(stamp)->Apply(sizes);
BENCHMARK(cancel)->Apply(sizes);
BENCHMARK(loadSave)->Name("load_save")->Apply(sizes);
BENCHMARK(stampCompressed)->Name("stamp_svgz")->Arg(1)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(stampTraced)->Name("stamp_trace")->Arg(1)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);

// Google Benchmark's usual lines, then the medians (or the single runs) side by side.
class TableReporter final : public benchmark::ConsoleReporter {
 public:
  TableReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      if (!median && !single) continue;
      const bool startup = run.run_name.function_name == "startup";
      const std::string& args = run.run_name.args;
      Figure& figure = startup ? startup_[args.back() == '1']
                               : figures_[std::stoi(args)][run.run_name.function_name];
      figure.realMs = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
      if (const auto cpu = run.counters.find("cpu_ms"); cpu != run.counters.end()) figure.cpuMs = cpu->second;
      if (const auto peak = run.counters.find("peak_mb"); peak != run.counters.end()) figure.peakMb = peak->second;
      repetitions_ = std::max<std::int64_t>(run.repetitions, 1);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    if (figures_.empty() && startup_.empty()) return;
    std::printf("\nMedians of %lld runs, in ms: real time / processor time (user + system).\n\n",
                static_cast<long long>(repetitions_));
    if (!startup_.empty()) {
      std::printf("| Start-up and shut-down (`menus`) | font list kept | font list made anew |\n|---|---:|---:|\n");
      std::printf("| the host, its fonts and preferences, the plug-in's module | %s | %s |\n\n",
                  cell(startupFigure(true)).c_str(), cell(startupFigure(false)).c_str());
    }
    if (figures_.empty()) return;
    std::printf("| Artboards | `stamp` | `stamp --cancel` | stamping adds | load + save (model) | `stamp` per artboard "
                "| `stamp` .svgz | `stamp --trace` |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& [pages, row] : figures_) {
      if (pages == kPhoto) continue;
      const auto stamped = find(row, "stamp"), cancelled = find(row, "cancel");
      std::optional<Figure> added, perArtboard;
      if (stamped && cancelled) added = Figure{stamped->realMs - cancelled->realMs, stamped->cpuMs - cancelled->cpuMs};
      if (stamped) perArtboard = Figure{stamped->realMs / pages, stamped->cpuMs / pages};
      std::printf("| %d | %s | %s | %s | %s | %s | %s | %s |\n", pages, cell(stamped).c_str(), cell(cancelled).c_str(),
                  cell(added).c_str(), cell(find(row, "load_save")).c_str(), cell(perArtboard).c_str(),
                  cell(find(row, "stamp_svgz")).c_str(), cell(find(row, "stamp_trace")).c_str());
    }
    std::printf(
        "\n`stamp`: the whole command, process start to exit, OK with every artboard checked.\n"
        "`stamp --cancel`: the same run pressing Cancel (load, dialog, save unstamped).\n"
        "stamping adds: the difference. load + save: hostsim::Document::load and saveAs alone.\n"
        "`stamp` .svgz: `stamp` on the same drawing compressed, written compressed.\n"
        "`stamp --trace`: `stamp` writing its trace to a file.\n");

    std::printf("\nPeak memory in MB (resident), and the times as above:\n\n");
    std::printf("| Document | MB | `stamp` | `stamp --cancel` | load + save (model) |\n|---|---:|---:|---:|---:|\n");
    for (const auto& [pages, row] : figures_) {
      const fs::path input = workspace().input(pages);
      std::error_code ec;
      const double megabytes = static_cast<double>(fs::file_size(input, ec)) / 1e6;
      const auto both = [&](const char* name) {
        const auto figure = find(row, name);
        return figure ? number(figure->peakMb) + " MB, " + cell(figure) + " ms" : std::string("-");
      };
      std::printf("| %s | %s | %s | %s | %s |\n",
                  (pages == kPhoto ? std::string("poster, 84 MB photo") : std::to_string(pages) + " pages").c_str(),
                  number(ec ? 0 : megabytes).c_str(), both("stamp").c_str(), both("cancel").c_str(),
                  both("load_save").c_str());
    }
  }

 private:
  struct Figure {
    double realMs = 0;
    double cpuMs = 0;
    double peakMb = 0;
  };
  using Row = std::map<std::string, Figure>;

  static std::optional<Figure> find(const Row& row, const std::string& name) {
    const auto found = row.find(name);
    return found == row.end() ? std::nullopt : std::optional<Figure>(found->second);
  }
  std::optional<Figure> startupFigure(bool kept) const {
    const auto found = startup_.find(kept);
    return found == startup_.end() ? std::nullopt : std::optional<Figure>(found->second);
  }
  static std::string number(double ms) {
    char text[32];
    const double size = std::abs(ms);  // a difference of noisy figures may fall below zero
    std::snprintf(text, sizeof text, size < 1 ? "%.3f" : size < 10 ? "%.2f" : "%.0f", ms);
    return text;
  }
  static std::string cell(const std::optional<Figure>& figure) {
    return figure ? number(figure->realMs) + " / " + number(figure->cpuMs) : "-";
  }

  std::map<int, Row> figures_;
  std::map<bool, Figure> startup_;
  std::int64_t repetitions_ = 1;
};

}  // namespace
}  // namespace estampilleur::bench

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--load-save") == 0) {
    try {
      hostsim::Document::load(argv[2]).saveAs(argv[3]);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--write-document") == 0) {
    const bool photo = argc == 4 && std::strcmp(argv[2], "photo") == 0;
    int pages = argc == 4 ? std::atoi(argv[2]) : 0;
    if (pages < 1 && !photo) {
      std::fprintf(stderr, "usage: %s --write-document PAGES|photo FILE\n", argv[0]);
      return 2;
    }
    try {
      estampilleur::bench::writeFile(argv[3], photo ? estampilleur::bench::photoDocument(estampilleur::bench::kPhotoBytes)
                                                    : estampilleur::bench::pagesDocument(pages));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  try {
    estampilleur::bench::workspace();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  estampilleur::bench::TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
