// The fault sweep: one full stamping through the real module, run clean once to count what
// it asks of the host, then once per host call, per text-engine call, per allocation and
// per suite with that one failing. Each try runs in a child process of its own (see
// isolation.h), SWEEP_JOBS at a time (2 by default).
//
// The figures, by kind, are printed as "[ figures  ]" lines and kept in sweep-figures.txt
// in the build folder: ctest --preset asan -R '^sweep\.'
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
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <sanitizer/lsan_interface.h>

#include "hostsim/core/faults.h"
#include "hostsim/model/document.h"
#include "isolation.h"
#include "scenario.h"

namespace sweep {
namespace {

constexpr unsigned kChildTimeout = 60;  // seconds; a clean run takes well under one

bool IsTextEngine(const std::string& operation) { return operation.rfind("ATE ", 0) == 0; }

// Every n-th fault point only, for quick runs by hand: SWEEP_STRIDE (default 1, all).
// SWEEP_ONLY=n tries the points numbered n only (SWEEP_ONLY=<suite name>, that suite).
uint64_t Stride() {
  if (const char* text = std::getenv("SWEEP_STRIDE")) {
    long long stride = std::atoll(text);
    if (stride > 0) return static_cast<uint64_t>(stride);
  }
  return 1;
}

// Replaces this kind's line in the figures file; the sweeps may run at once.
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

// The clean run of one scene, in a child: its reference, or what went wrong.
struct Clean {
  std::unique_ptr<Reference> reference;
  std::string problems;
};
Clean CleanRunOf(const Scene& scene) {
  Clean clean;
  ChildOutcome outcome = RunInChild([&] { return CleanRun(scene); }, kChildTimeout);
  if (!outcome.finished) {
    clean.problems = "the clean run " + outcome.death;
    return clean;
  }
  nlohmann::json json = nlohmann::json::parse(outcome.report);
  clean.problems = json.at("problems").get<std::string>();
  clean.reference = std::make_unique<Reference>(Reference::fromText(json.at("reference").get<std::string>()));
  return clean;
}

// One fault point in a child: the problems found ("" when survived) and the notes.
struct Tried {
  std::string problems;
  std::string notes;
};
std::string TryInChild(const Scene& scene, const Reference& reference, const FaultPoint& point) {
  std::string found;
  std::string problems = FaultedRun(scene, reference, point, found);
  // The hosts are gone: whatever is left unreachable leaked. The plug-in's heap and host
  // objects are the host's own accounts, checked in every run; this looks at the host's
  // side too, at several times the cost, on request (SWEEP_LEAKS=1). Under a heavy load the
  // leak checker's own tracer now and then dies ("LeakSanitizer has encountered a fatal
  // error"): that try is the tool's failure, not the plug-in's.
  if (std::getenv("SWEEP_LEAKS") != nullptr && __lsan_do_recoverable_leak_check() != 0)
    problems += "memory leaked:\n" + SanitizerReport(::getpid());
  return nlohmann::json{{"problems", problems}, {"notes", found}}.dump();
}
Tried Judge(const ChildOutcome& outcome) {
  if (!outcome.finished) return {"the run " + outcome.death, ""};
  nlohmann::json json = nlohmann::json::parse(outcome.report);
  return {json.at("problems").get<std::string>(), json.at("notes").get<std::string>()};
}

class Sweep : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    auto folder = std::filesystem::temp_directory_path() / ("sweep_tests_" + std::to_string(::getpid()));
    scene_ = new Scene(Prepare(ESTAMPILLEUR_MODULE, ESTAMPILLEUR_TEST_FONTS, folder));
    unsaved_ = new Scene(*scene_);
    unsaved_->saved = false;
    clean_ = new Clean(CleanRunOf(*scene_));
    cleanUnsaved_ = new Clean(CleanRunOf(*unsaved_));
    reference_ = clean_->reference.get();
  }
  static void TearDownTestSuite() {
    if (scene_ != nullptr) std::filesystem::remove_all(scene_->document.parent_path());
    delete scene_;
    delete unsaved_;
    delete clean_;
    delete cleanUnsaved_;
    scene_ = unsaved_ = nullptr;
    clean_ = cleanUnsaved_ = nullptr;
    reference_ = nullptr;
  }

  void SetUp() override {
    for (const Clean* clean : {clean_, cleanUnsaved_}) {
      ASSERT_NE(clean->reference, nullptr) << clean->problems;
      ASSERT_EQ(clean->problems, "");
    }
  }

  // One fault point on the saved document.
  static Tried TryOne(const FaultPoint& point, const Scene* scene = nullptr, const Reference* reference = nullptr) {
    const Scene& s = scene != nullptr ? *scene : *scene_;
    const Reference& r = reference != nullptr ? *reference : *reference_;
    return Judge(RunInChild([&] { return TryInChild(s, r, point); }, kChildTimeout));
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
  void Try(const std::string& kind, const std::vector<FaultPoint>& all, const Scene* which = nullptr,
           const Reference* against = nullptr) {
    std::vector<FaultPoint> points;
    const uint64_t stride = Stride();
    const char* only = std::getenv("SWEEP_ONLY");  // one fault point by number, for a closer look
    for (size_t i = 0; i < all.size(); i += stride)
      if (only == nullptr || std::strtoull(only, nullptr, 10) == all[i].n || all[i].operation == only)
        points.push_back(all[i]);

    const auto began = std::chrono::steady_clock::now();
    std::vector<std::string> failures;
    std::map<std::string, int> notes;
    std::vector<std::string> dialogsEnded;
    size_t survived = 0;
    const Scene& scene = which != nullptr ? *which : *scene_;
    const Reference& reference = against != nullptr ? *against : *reference_;
    {
      ChildPool pool(SweepJobs(), kChildTimeout);
      for (const FaultPoint& point : points) {
        const std::string name = point.kind == FaultPoint::Kind::Call         ? CallName(point.n)
                                 : point.kind == FaultPoint::Kind::Allocation ? AllocationName(point.n)
                                                                              : "no " + point.operation;
        pool.start([&scene, &reference, point] { return TryInChild(scene, reference, point); },
            [&, name](const ChildOutcome& outcome) {
              const Tried tried = Judge(outcome);
              const std::string& problems = tried.problems;
              std::istringstream lines(tried.notes);
              for (std::string note; std::getline(lines, note);) {
                if (note.rfind("the host ended the dialog", 0) == 0) {
                  dialogsEnded.push_back(name + ": " + note);
                  note = note.substr(0, note.find(':'));
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
    for (const auto& line : dialogsEnded) std::printf("[ dialog   ] %s\n", line.c_str());
    std::fflush(stdout);
    if (stride == 1 && only == nullptr) WriteFigure(kind, figure);

    for (size_t i = 0; i < failures.size() && i < 40; ++i) ADD_FAILURE() << failures[i];
    EXPECT_EQ(failures.size(), 0u) << "fault points not survived (the first 40 are listed above)";
    EXPECT_EQ(survived, points.size());
  }

  static inline Scene* scene_ = nullptr;
  static inline Scene* unsaved_ = nullptr;
  static inline Clean* clean_ = nullptr;
  static inline Clean* cleanUnsaved_ = nullptr;
  static inline Reference* reference_ = nullptr;
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
  // One line below the artboards, its largest size the name's 14 points; the other sides of
  // each page's bleed stay its own.
  EXPECT_NEAR(reference.bleedBottom, 1.4 * 14, 1e-3);
  EXPECT_EQ(reference.pageBleeds, "1 2 19.6 4, 5 6 19.6 8, 0 0 19.6 0");
  // Every call the sweep fails is one a person can fail with --fault.
  for (const std::string& operation : std::set<std::string>(reference.calls.begin(), reference.calls.end()))
    EXPECT_TRUE(hostsim::isFailableOperation(operation)) << operation;
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
    if (!IsTextEngine(reference_->calls[n - 1])) points.push_back({FaultPoint::Kind::Call, n, kBadParameterErr, {}});
  Try("calls", points);
}

// A failing text-engine call makes the plug-in's wrappers throw.
TEST_F(Sweep, EveryFailingTextEngineCallIsSurvived) {
  std::vector<FaultPoint> points;
  for (uint64_t n = 1; n <= reference_->calls.size(); ++n)
    if (IsTextEngine(reference_->calls[n - 1])) points.push_back({FaultPoint::Kind::Call, n, ATE::kBadParameter, {}});
  Try("text-engine calls", points);
}

TEST_F(Sweep, EveryRefusedAllocationIsSurvived) {
  std::vector<FaultPoint> points;
  for (uint64_t n = 1; n <= reference_->allocations.size(); ++n)
    points.push_back({FaultPoint::Kind::Allocation, n, kOutOfMemoryErr, {}});
  Try("allocations", points);
}

// The judge of "the user's art is as it was" sees every change but ours.
TEST_F(Sweep, UserArtSeesEveryChangeButTheStamps) {
  auto find = [](hostsim::Document& document, const std::string& id) {
    for (hostsim::ArtHandle art : document.allArt())
      if (document.elementId(art) == id) return art;
    return hostsim::ArtHandle{};
  };
  auto stampLayerGroup = [](hostsim::Document& document) {
    for (int i = 0; i < document.layerCount(); ++i)
      if (document.layerTitle(document.layer(i)) == "QZV\u2022Estampilleur") return document.layerGroup(document.layer(i));
    return hostsim::ArtHandle{};
  };
  const std::string original = UserArt(scene_->original);

  hostsim::Document ours = hostsim::Document::parse(scene_->original);
  ours.dispose(find(ours, "ancienne"));
  hostsim::Rect bleed = ours.bleed();
  bleed.bottom = 20;
  ours.setBleed(bleed);
  hostsim::ArtHandle group = ours.newGroup(stampLayerGroup(ours), hostsim::Placement::InsideOnTop);
  hostsim::ArtHandle stamp = ours.newPointText(group, hostsim::Placement::InsideOnTop, {10, 10});
  ours.setText(stamp, "1/3");
  ours.setTag(stamp, "QZVNOM", "jj");
  EXPECT_EQ(UserArt(ours.toString()), original);

  hostsim::Document edited = hostsim::Document::parse(scene_->original);
  edited.setText(find(edited, "titre"), "2/3");
  EXPECT_NE(UserArt(edited.toString()), original);

  hostsim::Document untagged = hostsim::Document::parse(scene_->original);
  untagged.newPointText(find(untagged, "ancien-groupe"), hostsim::Placement::InsideOnTop, {0, 0});
  EXPECT_NE(UserArt(untagged.toString()), original);

  hostsim::Document layer = hostsim::Document::parse(scene_->original);
  layer.insertLayer(layer.currentLayer(), hostsim::LayerPlacement::AboveAll);
  EXPECT_NE(UserArt(layer.toString()), original);

  hostsim::Document moved = hostsim::Document::parse(scene_->original);
  moved.translate(find(moved, "triangle"), 1, 0);
  EXPECT_NE(UserArt(moved.toString()), original);

  hostsim::Document bled = hostsim::Document::parse(scene_->original);
  bled.setBleed({0, 0, 0, 20});
  EXPECT_NE(UserArt(bled.toString()), original) << "a side of the bleed but the bottom";
}

// A suite the host lacks: start-up fails with the host told why, or the plug-in does without.
TEST_F(Sweep, EveryMissingSuiteIsSurvived) {
  std::vector<FaultPoint> points;
  for (const std::string& name : reference_->suites) points.push_back({FaultPoint::Kind::Suite, 0, 0, name});
  Try("suites", points);
}

// The name the user never gave: the fixed "Fichier non enregistré" on every artboard.
TEST_F(Sweep, EveryRefusedAllocationIsSurvivedOnANeverSavedDocument) {
  const Reference& reference = *cleanUnsaved_->reference;
  ASSERT_EQ(reference.stamps.size(), static_cast<size_t>(kArtboards * kItemsShown));
  int unsaved = 0;
  for (const Stamp& stamp : reference.stamps) unsaved += stamp.text == " \u00B7 Fichier non enregistr\u00E9";
  EXPECT_EQ(unsaved, kArtboards);
  std::vector<FaultPoint> points;
  for (uint64_t n = 1; n <= reference.allocations.size(); ++n)
    points.push_back({FaultPoint::Kind::Allocation, n, kOutOfMemoryErr, {}});
  Try("allocations, never saved", points, unsaved_, &reference);
}

// --- Faults the sweep found, each kept as a case of its own ----------------------------------

// The application-started notifier's context could not be pushed: it was popped all the same.
TEST_F(Sweep, AContextTheHostRefusedIsNotPopped) {
  Tried tried = TryOne({FaultPoint::Kind::Call, 1, kBadParameterErr, "AI Context Suite.PushAppContext"});
  EXPECT_EQ(tried.problems, "");
}

// The settings command could not learn its own plug-in reference and opened no dialog, giving
// the host a null reference; the message's own reference serves instead.
TEST_F(Sweep, TheSettingsDialogOpensWhenTheCurrentPluginIsUnknown) {
  Tried tried = TryOne({FaultPoint::Kind::Call, 1, kBadParameterErr, "SP Access Suite.GetCurrentPlugin"});
  EXPECT_EQ(tried.problems, "");
  EXPECT_NE(tried.notes.find(kStampedInFull), std::string::npos) << tried.notes;
}

// The size buttons asked the host for their icon with a null plug-in reference.
TEST_F(Sweep, TheSizeButtonsDrawNoIconWhenTheCurrentPluginIsUnknown) {
  for (uint64_t n : {2, 3, 4}) {
    Tried tried = TryOne({FaultPoint::Kind::Call, n, kBadParameterErr, "SP Access Suite.GetCurrentPlugin"});
    EXPECT_EQ(tried.problems, "") << "GetCurrentPlugin #" << n;
    EXPECT_NE(tried.notes.find(kStampedInFull), std::string::npos) << tried.notes;
  }
}

// A frame whose tag the host refused stayed in the stamp group: untagged, no later run would
// ever remove it.
TEST_F(Sweep, AFrameThatCannotBeTaggedDoesNotStay) {
  for (uint64_t n : {1, 3, 4, 9}) {
    Tried tried = TryOne({FaultPoint::Kind::Call, n, kBadParameterErr, "AI Tag Suite.SetTag"});
    EXPECT_EQ(tried.problems, "") << "SetTag #" << n;
  }
}

// The file name came back as a string built by the module's runtime, which wrote through the
// null the module's operator new answers when the host refuses a block.
TEST_F(Sweep, ARefusedBlockForTheFileNameIsNoCrash) {
  std::vector<uint64_t> afterName;
  for (uint64_t n = 1; n <= reference_->allocations.size(); ++n) {
    uint64_t after = reference_->allocations[n - 1];
    if (after > 0 && reference_->calls[after - 1] == "AI Unicode String Suite.GetAs") afterName.push_back(n);
  }
  ASSERT_FALSE(afterName.empty());
  for (uint64_t n : afterName) {
    Tried tried = TryOne({FaultPoint::Kind::Allocation, n, kOutOfMemoryErr, {}});
    EXPECT_EQ(tried.problems, "") << "allocation " << n;
  }
}

}  // namespace
}  // namespace sweep

// Stack traces with every report, also when the test runs outside ctest.
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }
// A folder-only font configuration keeps the character sets of its fonts after it is
// destroyed: the font library's, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
