// The fault sweep: one full stamping through the real module, run clean once to count what
// it asks of the host, then once per host call, per text-engine call and per allocation
// with that one failing. Each try runs in a child process of its own (see isolation.h).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "isolation.h"
#include "scenario.h"

namespace sweep {
namespace {

constexpr unsigned kChildTimeout = 60;  // seconds; a clean run takes well under one

bool IsTextEngine(const std::string& operation) { return operation.rfind("ATE ", 0) == 0; }

// Every n-th fault point only, for quick runs by hand: SWEEP_STRIDE (default 1, all).
// SWEEP_ONLY=n tries the points numbered n only.
uint64_t Stride() {
  if (const char* text = std::getenv("SWEEP_STRIDE")) {
    long long stride = std::atoll(text);
    if (stride > 0) return static_cast<uint64_t>(stride);
  }
  return 1;
}

// Replaces this kind's line in the figures file; the three sweeps may run at once.
void WriteFigure(const std::string& kind, const std::string& line) {
  const std::string file = SWEEP_FIGURES_FILE;
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0644);
  if (fd < 0) return;
  ::flock(fd, LOCK_EX);
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  std::istringstream in(text);
  std::string kept;
  for (std::string old; std::getline(in, old);)
    if (old.rfind(kind + ":", 0) != 0) kept += old + "\n";
  kept += line + "\n";
  if (::ftruncate(fd, 0) == 0 && ::lseek(fd, 0, SEEK_SET) == 0) {
    ssize_t written = ::write(fd, kept.data(), kept.size());
    (void)written;
  }
  ::flock(fd, LOCK_UN);
  ::close(fd);
}

class Sweep : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto folder = std::filesystem::temp_directory_path() / ("sweep_tests_" + std::to_string(::getpid()));
    scene_ = new Scene(Prepare(ESTAMPILLEUR_MODULE, ESTAMPILLEUR_TEST_FONTS, folder));
    const Scene& scene = *scene_;
    ChildOutcome clean = RunInChild([&] { return CleanRun(scene); }, kChildTimeout);
    if (!clean.finished) {
      cleanProblems_ = new std::string("the clean run " + clean.death);
      return;
    }
    nlohmann::json json = nlohmann::json::parse(clean.report);
    cleanProblems_ = new std::string(json.at("problems").get<std::string>());
    reference_ = new Reference(Reference::fromText(json.at("reference").get<std::string>()));
  }
  static void TearDownTestSuite() {
    if (scene_ != nullptr) std::filesystem::remove_all(scene_->document.parent_path());
    delete scene_;
    delete reference_;
    delete cleanProblems_;
    scene_ = nullptr;
    reference_ = nullptr;
    cleanProblems_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(reference_, nullptr) << *cleanProblems_;
    ASSERT_EQ(*cleanProblems_, "");
  }

  // The n-th call's name and its rank among calls of the same operation.
  static std::string CallName(uint64_t n) {
    const std::string& operation = reference_->calls.at(n - 1);
    uint64_t rank = 0;
    for (uint64_t i = 0; i < n; ++i)
      if (reference_->calls[i] == operation) ++rank;
    return "call " + std::to_string(n) + " (" + operation + " #" + std::to_string(rank) + ")";
  }
  static std::string AllocationName(uint64_t n) {
    uint64_t after = reference_->allocations.at(n - 1);
    return "allocation " + std::to_string(n) + " (after " +
           (after == 0 ? std::string("no host call") : CallName(after)) + ")";
  }

  // Tries every point, a few at once; prints and records the figures, fails on any point
  // that was not survived.
  void Try(const std::string& kind, const std::vector<FaultPoint>& all) {
    std::vector<FaultPoint> points;
    const uint64_t stride = Stride();
    const char* only = std::getenv("SWEEP_ONLY");  // one fault point by number, for a closer look
    for (size_t i = 0; i < all.size(); i += stride)
      if (only == nullptr || std::strtoull(only, nullptr, 10) == all[i].n) points.push_back(all[i]);

    const auto began = std::chrono::steady_clock::now();
    std::vector<std::string> failures;
    std::map<std::string, int> notes;
    std::vector<std::string> builtDialogsEnded;
    size_t survived = 0;
    const Scene& scene = *scene_;
    const Reference& reference = *reference_;
    {
      ChildPool pool(SweepJobs(), kChildTimeout);
      for (const FaultPoint& point : points) {
        const std::string name = point.kind == FaultPoint::Kind::Call ? CallName(point.n) : AllocationName(point.n);
        pool.start(
            [&scene, &reference, point] {
              std::string found;
              std::string problems = FaultedRun(scene, reference, point, found);
              return nlohmann::json{{"problems", problems}, {"notes", found}}.dump();
            },
            [&, name](const ChildOutcome& outcome) {
              if (!outcome.finished) {
                failures.push_back(name + ": the run " + outcome.death);
                return;
              }
              nlohmann::json json = nlohmann::json::parse(outcome.report);
              const std::string problems = json.at("problems").get<std::string>();
              std::istringstream lines(json.at("notes").get<std::string>());
              for (std::string note; std::getline(lines, note);) {
                if (note.rfind("the host ended the dialog after it was built", 0) == 0) {
                  builtDialogsEnded.push_back(name + ": " + note);
                  note = "the host ended the dialog after it was built";
                }
                ++notes[note];
              }
              if (problems.empty())
                ++survived;
              else
                failures.push_back(name + ":\n" + problems);
            });
      }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

    char figure[256];
    std::snprintf(figure, sizeof figure, "%s: %zu fault points tried, %zu survived (%.1f s, %d at once%s)",
                  kind.c_str(), points.size(), survived, seconds, SweepJobs(),
                  stride == 1 ? "" : (", every " + std::to_string(stride) + "th of " + std::to_string(all.size())).c_str());
    std::printf("[ figures  ] %s\n", figure);
    for (const auto& [note, count] : notes) std::printf("[ notes    ] %s: %d\n", note.c_str(), count);
    for (const auto& line : builtDialogsEnded) std::printf("[ dialog   ] %s\n", line.c_str());
    std::fflush(stdout);
    if (stride == 1 && only == nullptr) WriteFigure(kind, figure);

    for (size_t i = 0; i < failures.size() && i < 40; ++i) ADD_FAILURE() << failures[i];
    EXPECT_EQ(failures.size(), 0u) << "fault points not survived (the first 40 are listed above)";
    EXPECT_EQ(survived, points.size());
  }

  static inline Scene* scene_ = nullptr;
  static inline Reference* reference_ = nullptr;
  static inline std::string* cleanProblems_ = nullptr;
};

// The reference itself: every artboard stamped once with the user's settings, the earlier
// stamp gone, and the bleed the one line needs below the artboards.
TEST_F(Sweep, CleanRunStampsEveryArtboardOnce) {
  const Reference& reference = *reference_;
  ASSERT_EQ(reference.stamps.size(), static_cast<size_t>(kArtboards * kItemsShown));
  std::vector<std::string> texts;
  for (const Stamp& stamp : reference.stamps) texts.push_back(stamp.text);
  for (const char* expected : {"1/3", "2/3", "3/3", " \u00B7 Plaquette \u00E9t\u00E9 2012.svg", "10/04/2012"}) {
    int count = 0;
    for (const auto& text : texts) count += text == expected;
    EXPECT_EQ(count, std::string(expected).find('/') == 1 ? 1 : kArtboards) << expected;
  }
  // One line below the artboards, its largest size the name's 14 points.
  EXPECT_NEAR(reference.bleedBottom, 1.4 * 14, 1e-3);
  EXPECT_GT(reference.calls.size(), 0u);
  EXPECT_GT(reference.allocations.size(), 0u);
  EXPECT_GT(reference.dialogOpened, 0u);
  std::printf("[ reference] %zu host calls (%zu of the text engine), %zu allocations\n", reference.calls.size(),
              static_cast<size_t>(std::count_if(reference.calls.begin(), reference.calls.end(), IsTextEngine)),
              reference.allocations.size());
}

TEST_F(Sweep, EveryFailingHostCallIsSurvived) {
  std::vector<FaultPoint> points;
  for (uint64_t n = 1; n <= reference_->calls.size(); ++n)
    if (!IsTextEngine(reference_->calls[n - 1])) points.push_back({FaultPoint::Kind::Call, n, kBadParameterErr});
  Try("calls", points);
}

// A failing text-engine call makes the plug-in's wrappers throw.
TEST_F(Sweep, EveryFailingTextEngineCallIsSurvived) {
  std::vector<FaultPoint> points;
  for (uint64_t n = 1; n <= reference_->calls.size(); ++n)
    if (IsTextEngine(reference_->calls[n - 1])) points.push_back({FaultPoint::Kind::Call, n, ATE::kBadParameter});
  Try("text-engine calls", points);
}

TEST_F(Sweep, EveryRefusedAllocationIsSurvived) {
  std::vector<FaultPoint> points;
  for (uint64_t n = 1; n <= reference_->allocations.size(); ++n)
    points.push_back({FaultPoint::Kind::Allocation, n, kOutOfMemoryErr});
  Try("allocations", points);
}

}  // namespace
}  // namespace sweep
