// The fault sweep: one full stamping through the real module, as a user would do it (the host
// starts the plug-in, the application starts, the user picks the settings command, changes a
// few settings and presses OK on a three-artboard document of their own, the host shuts down).
// Run clean once to count what it asks of the host, then once per host call, text-engine
// call, allocation and suite with that one failing, each in a child process of its own
// (isolation.h), SWEEP_JOBS at a time (2 by default). Every faulted run must end with the
// document, the host and the next normal run all sound. The figures are printed as
// "[ figures  ]" lines (ctest -V shows them).
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <sstream>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "hostsim/model/clock.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"
#include "isolation.h"
#include "support/support.h"

namespace sweep {
namespace {

const std::string kOutils = "QZV\xA5Outils";                 // Mac Roman QZV•Outils
const std::string kCommande = "QZV\xA5" "Estampilleur\xC9";  // QZV•Estampilleur…
const std::string kCalqueEstampilles = "QZV\u2022Estampilleur";
constexpr const char* kTag = "QZVNOM";
constexpr const char* kStampedInFull = "the faulted command stamped in full";
constexpr unsigned kChildTimeout = 60;  // seconds; a clean run takes well under one

// Three artboards (two A4 pages and a card) in points, each page with a bleed of its own (the
// card none), with the user's own art: a locked background layer, a drawing layer with a
// group, paths and texts (one that reads like a stamp but is not tagged), and the stamp layer
// of an earlier stamping with one stamp in it.
constexpr const char* kDocument = R"svg(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<svg width="1760pt" height="900pt" viewBox="0 0 1760 900" version="1.1" id="plaquette"
   xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
   xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd" xmlns="http://www.w3.org/2000/svg">
  <sodipodi:namedview id="vue" inkscape:document-units="pt" inkscape:current-layer="dessin">
    <inkscape:page x="0" y="0" width="595" height="842" id="recto" inkscape:label="Recto" bleed="1 2 3 4" />
    <inkscape:page x="645" y="0" width="595" height="842" id="verso" inkscape:label="Verso" bleed="5 6 7 8" />
    <inkscape:page x="1290" y="0" width="420" height="298" id="carte" inkscape:label="Carte" />
  </sodipodi:namedview>
  <g inkscape:groupmode="layer" inkscape:label="Fond verrouillé" id="fond" sodipodi:insensitive="true">
    <rect x="0" y="0" width="595" height="842" style="fill:#fffbe6" id="papier" />
    <text x="20" y="830" style="font-size:8px;font-family:'DejaVu Sans'" id="mention">Modèle déposé</text>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="Dessin" id="dessin">
    <g id="logo" transform="translate(60,80)">
      <path d="M 0,0 L 80,0 L 40,60 Z" style="fill:#1d3557" id="triangle" />
      <text x="40" y="90" style="font-size:12px;font-family:'DejaVu Serif';text-anchor:middle" id="slogan">Été <tspan style="font-weight:bold">2012</tspan></text>
    </g>
    <path d="M 700,400 C 800,300 1000,300 1100,400" style="fill:none;stroke:#e63946;stroke-width:3" id="courbe" />
    <text x="1300" y="150" style="font-size:18px;font-family:'DejaVu Sans'" id="titre">1/3 - Plaquette été 2012.svg</text>
  </g>
  <g inkscape:groupmode="layer" inkscape:label="QZV•Estampilleur" id="estampilles">
    <g id="ancien-groupe">
      <text x="297" y="870" style="font-size:12px;font-family:'DejaVu Sans'" data-tag-QZVNOM="jj" id="ancienne">Ancienne estampille</text>
    </g>
  </g>
</svg>
)svg";

// One fault the host injects, or none.
struct FaultPoint {
  enum class Kind { None, Call, Allocation, Suite } kind = Kind::None;
  uint64_t n = 0;         // the n-th numbered host call, or the n-th allocation, from 1
  ASErr code = 0;         // what a failing call answers
  std::string operation;  // a call: counted among this operation's calls only ("" for all); a suite: its name
};

// What the clean run did, for naming fault points and judging the faulted runs.
struct Reference {
  std::string problems;               // of the clean run itself
  std::vector<std::string> calls;     // the operation of each numbered call, in order
  std::vector<uint64_t> allocations;  // for each allocation, the numbered calls made before it
  std::vector<std::string> suites;    // every suite acquired, by name
  std::vector<std::string> stamps;    // as Stamps() describes them
  std::string pageBleeds;             // every page's, all four sides
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Reference, problems, calls, allocations, suites, stamps, pageBleeds)

// A run's findings: problems fail the fault point, notes are counted.
struct Findings {
  std::string problems, notes;
  void problem(const std::string& text) { problems += text + "\n"; }
};
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Findings, problems, notes)

// What every child shares, made once in the parent: the document saved under a name with
// accents, the user's art in it, and two font catalogues a child moves into its hosts. The
// module stays loaded (and never called) so that a child's load is a reference count.
std::filesystem::path gDocument;
std::string gUserArt;
std::unique_ptr<hostsim::FontCatalog> gFonts[2];

std::string Number(double value, int digits = 6) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
  return buffer;
}

std::vector<pugi::xml_node> Pages(const pugi::xml_node& root) {
  std::vector<pugi::xml_node> pages;
  for (pugi::xml_node view : root.children("sodipodi:namedview"))
    for (pugi::xml_node page : view.children("inkscape:page")) pages.push_back(page);
  return pages;
}

// A page's bleed (top, right, bottom, left) from the one to four numbers the file writes, as CSS margins.
std::array<double, 4> Sides(const pugi::xml_node& page) {
  std::istringstream in(page.attribute("bleed").value());
  std::vector<double> v;
  for (double side; in >> side;) v.push_back(side);
  const size_t n = v.size();
  if (n == 0) return {0, 0, 0, 0};
  return {v[0], v[n > 1 ? 1 : 0], v[n > 2 ? 2 : 0], v[n > 3 ? 3 : n > 1 ? 1 : 0]};
}

std::string PageBleeds(const std::string& svg) {
  pugi::xml_document xml;
  xml.load_buffer(svg.data(), svg.size());
  std::string text;
  for (const auto& page : Pages(xml.document_element())) {
    const auto b = Sides(page);
    text += (text.empty() ? "" : ", ") + Number(b[0]) + " " + Number(b[1]) + " " + Number(b[2]) + " " + Number(b[3]);
  }
  return text;
}

// Removes the groups that hold nothing, innermost first; true when `node` itself is left empty.
bool PruneEmptyGroups(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(), next; child; child = next) {
    next = child.next_sibling();
    if (std::string(child.name()) == "g" && PruneEmptyGroups(child)) node.remove_child(child);
  }
  for (pugi::xml_node child : node.children())
    if (child.type() == pugi::node_element) return false;
  return true;
}

void RemoveTagged(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(), next; child; child = next) {
    next = child.next_sibling();
    if (child.attribute("data-tag-QZVNOM"))
      node.remove_child(child);
    else
      RemoveTagged(child);
  }
}

// Everything of the document but our own: the saved SVG with every tagged text removed, then
// the stamp layer when nothing but empty groups is left in it, each page's bottom bleed and
// the canvas around the pages dropped; as one canonical XML text.
std::string UserArt(const std::string& svg) {
  pugi::xml_document xml;
  if (pugi::xml_parse_result parsed = xml.load_buffer(svg.data(), svg.size()); !parsed)
    return std::string("not XML: ") + parsed.description();
  pugi::xml_node root = xml.document_element();
  RemoveTagged(root);
  for (pugi::xml_node layer = root.first_child(), next; layer; layer = next) {
    next = layer.next_sibling();
    if (std::string(layer.name()) == "g" && std::string(layer.attribute("inkscape:groupmode").value()) == "layer" &&
        layer.attribute("inkscape:label").value() == kCalqueEstampilles && PruneEmptyGroups(layer))
      root.remove_child(layer);
  }
  // The bottom bleed is ours to set; every other side stays the user's. The canvas is the
  // host's, fitted around the pages, their bleeds and the stamps.
  for (const char* canvas : {"width", "height", "viewBox"}) root.remove_attribute(canvas);
  for (pugi::xml_node page : Pages(root)) {
    const auto b = Sides(page);
    page.remove_attribute("bleed");
    page.append_attribute("bleed-but-bottom") = (Number(b[0]) + " " + Number(b[1]) + " " + Number(b[3])).c_str();
  }
  std::ostringstream out;
  xml.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  return out.str();
}

// The document's stamps in order, each with its text, anchor, font, size and justification.
std::vector<std::string> Stamps(const hostsim::Document& document) {
  std::vector<std::string> stamps;
  for (hostsim::ArtHandle art : document.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any)) {
    if (!document.tag(art, kTag)) continue;
    const hostsim::TextStyle style = document.textStyle(art);
    const hostsim::Point anchor = document.textAnchor(art);
    stamps.push_back("«" + document.text(art) + "» at (" + Number(anchor.h, 17) + ", " + Number(anchor.v, 17) +
                     ") in " + style.font.postscriptName + " " + Number(style.sizePt, 17) + " pt, justification " +
                     std::to_string(static_cast<int>(style.justification)));
  }
  return stamps;
}

// The user's script: the date in figures, a larger name, the items on one line with their
// own separator, the size switched off, then OK.
void Script(hostsim::Host& host) {
  hostsim::adm::ScriptedUser& user = hostsim::dialogs(host).user();
  user.clear();
  // The items: 12 the date format, 6 the name's size, 16 the layout, 19 the separator, 14 the size's box.
  user.choose(12, 2).setValue(6, 14).click(16).type(19, " \u00B7 ").click(14).ok();
}

void Furnish(hostsim::Host& host, std::unique_ptr<hostsim::Document> document, int fonts) {
  host.loadPlugin(ESTAMPILLEUR_MODULE);
  host.setFonts(std::move(gFonts[fonts]));
  host.clock().set({2012, 4, 10, 9, 30, 0});
  host.setDocument(std::move(document));
  Script(host);
}

// After a command: the modal dialog ended and the user's art is as it was.
void CheckAfterCommand(hostsim::Host& host, const std::string& when, Findings& findings) {
  if (hostsim::dialogs(host).top() != nullptr) findings.problem(when + ": a dialog is still open");
  const std::string art = UserArt(host.document()->toString());
  const size_t at = std::mismatch(art.begin(), art.end(), gUserArt.begin(), gUserArt.end()).first - art.begin();
  const size_t from = at < 60 ? 0 : at - 60;
  if (art != gUserArt)
    findings.problem(when + ": art that is not a stamp changed at byte " + std::to_string(at) + ": «" +
                     art.substr(from, 200) + "» instead of «" + gUserArt.substr(from, 200) + "»");
}

// The next normal run: the command with the same script and no fault must give exactly the
// reference stamps, the reference bleed on every side of every page, no alert and no trouble
// with the dialog.
void CheckNormalCommand(hostsim::Host& host, hostsim::MenuItem* item, const Reference& reference, Findings& findings) {
  const std::string when = "the next normal run: ";
  if (item == nullptr) return findings.problem(when + "the plug-in runs but its command is not in the menus");
  host.setPreferences(std::make_unique<hostsim::Preferences>(std::filesystem::path()));
  hostsim::dialogs(host).clearErrors();
  Script(host);
  const size_t alerts = host.alerts().size();
  if (ASErr result = host.chooseMenuItem(item->handle()); result != kNoErr)
    findings.problem(when + "the command answered " + std::to_string(result));
  for (const std::string& e : hostsim::dialogs(host).errors()) findings.problem(when + e);
  for (size_t i = alerts; i < host.alerts().size(); ++i) findings.problem(when + "an alert: " + host.alerts()[i].text);
  CheckAfterCommand(host, "the next normal run", findings);
  if (const auto stamps = Stamps(*host.document()); stamps != reference.stamps)
    findings.problem(when + "the stamps are " + nlohmann::json(stamps).dump(2) + " instead of " +
                     nlohmann::json(reference.stamps).dump(2));
  if (std::string got = PageBleeds(host.document()->toString()); got != reference.pageBleeds)
    findings.problem(when + "the pages' bleeds are " + got + " instead of " + reference.pageBleeds);
}

// One run, then the next normal one. Without a reference it is the clean run, which fills in
// `observed` and is judged against itself.
// `saved` false opens the same document as never saved.
Findings Session(bool saved, const Reference* reference, const FaultPoint& fault, Reference& observed) {
  Findings findings;
  auto document = std::make_unique<hostsim::Document>(saved ? hostsim::Document::load(gDocument)
                                                            : hostsim::Document::parse(kDocument));
  bool running = false;
  {
    hostsim::StandardHost host;
    Furnish(host, std::move(document), 0);
    host.accounting().logCalls(reference == nullptr);
    host.logAllocations(reference == nullptr);
    if (fault.kind == FaultPoint::Kind::Call)
      host.faults().failCall(fault.operation.empty() ? "*" : fault.operation, fault.n, fault.code);
    if (fault.kind == FaultPoint::Kind::Allocation) host.faults().failAllocation(fault.n);
    if (fault.kind == FaultPoint::Kind::Suite) host.faults().makeSuiteUnavailable(fault.operation);

    const ASErr started = host.startup();
    if (started == kNoErr) host.applicationStarted();
    hostsim::MenuItem* item = hostsim::menus(host).findItem(kOutils, kCommande);
    // Chosen even after a failed start-up: the host keeps whatever items were added.
    if (item != nullptr) host.chooseMenuItem(item->handle());
    if (!hostsim::dialogs(host).errors().empty()) {
      if (reference == nullptr) findings.problem("the clean run: " + hostsim::dialogs(host).errors().front());
      else findings.notes += "the host ended the dialog: " + hostsim::dialogs(host).errors().front() + "\n";
    }
    if (started != kNoErr) findings.notes += "start-up failed\n";
    if (item != nullptr && host.accounting().callsOf("ADM Dialog Suite.Modal") == 0) findings.notes += "no dialog\n";
    CheckAfterCommand(host, "after the faulted command", findings);

    if (reference == nullptr) {
      observed.calls = host.accounting().callLog();
      observed.suites = host.accounting().suiteNames();
      for (const auto& record : host.allocationLog()) observed.allocations.push_back(record.afterCalls);
      observed.stamps = Stamps(*host.document());
      observed.pageBleeds = PageBleeds(host.document()->toString());
      reference = &observed;
    } else if (Stamps(*host.document()) == reference->stamps) {
      findings.notes += kStampedInFull + std::string("\n");
    }
    // A point the run never reached would be counted as survived without being tried.
    const uint64_t reached = fault.kind == FaultPoint::Kind::Allocation ? host.allocations()
                             : fault.operation.empty()                 ? host.accounting().totalCalls()
                                                                       : host.accounting().callsOf(fault.operation);
    if (fault.kind != FaultPoint::Kind::Suite && reached < fault.n) findings.problem("the point was never reached");

    // Started, the plug-in is asked again in the same session; otherwise the host starts
    // anew with the same document.
    host.faults().clear();
    running = host.plugin().globals != nullptr;
    if (running) CheckNormalCommand(host, item, *reference, findings);
    if (ASErr stopped = host.shutdown(); stopped) findings.problem("shutdown answered " + std::to_string(stopped));
    if (!host.allGivenBack()) findings.problem("after shutdown: not everything was given back:\n" + host.outstanding());
    document = host.takeDocument();
  }
  if (!running) {
    hostsim::StandardHost host;
    Furnish(host, std::move(document), 1);
    if (ASErr started = host.startup(); started != kNoErr)
      findings.problem("the next start-up answered " + std::to_string(started));
    host.applicationStarted();
    CheckNormalCommand(host, hostsim::menus(host).findItem(kOutils, kCommande), *reference, findings);
    host.shutdown();
    if (!host.allGivenBack())
      findings.problem("after the next shutdown: not everything was given back:\n" + host.outstanding());
  }
  return findings;
}

// Tries `point` in a child of `pool`; `done` gets the findings, or how the child died.
void TryInChild(ChildPool& pool, bool saved, const Reference& reference, const FaultPoint& point,
                std::function<void(const Findings&)> done) {
  pool.start(
      [=, &reference] {
        Reference unused;
        return nlohmann::json(Session(saved, &reference, point, unused)).dump();
      },
      [done](const ChildOutcome& outcome) {
        done(outcome.finished ? nlohmann::json::parse(outcome.report).get<Findings>()
                              : Findings{"the run " + outcome.report, ""});
      });
}

const int kJobs = std::getenv("SWEEP_JOBS") != nullptr ? std::max(1, std::atoi(std::getenv("SWEEP_JOBS"))) : 2;

class Sweep : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testsupport::TempDir;
    gDocument = folder_->path() / "Plaquette \u00E9t\u00E9 2012.svg";
    testsupport::writeText(gDocument, kDocument);
    gUserArt = UserArt(kDocument);
    static void* module = ::dlopen(ESTAMPILLEUR_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    for (auto& catalog : gFonts)
      catalog = std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(testsupport::kFontFolder));
    ChildPool pool(2, kChildTimeout);
    for (bool saved : {true, false})
      pool.start(
          [saved] {
            Reference observed;
            observed.problems = Session(saved, nullptr, FaultPoint{}, observed).problems;
            return nlohmann::json(observed).dump();
          },
          [&reference = saved ? reference_ : unsaved_](const ChildOutcome& clean) {
            if (clean.finished) reference = nlohmann::json::parse(clean.report).get<Reference>();
            else reference.problems = "the clean run " + clean.report;
          });
  }
  static void TearDownTestSuite() { delete folder_; }

  void SetUp() override {
    for (const Reference* reference : {&reference_, &unsaved_}) {
      ASSERT_EQ(reference->problems, "");
      ASSERT_FALSE(reference->calls.empty());
    }
  }

  // The n-th call's name and its rank among calls of the same operation, as --fault takes it.
  static std::string CallName(const Reference& reference, uint64_t n) {
    const std::string& operation = reference.calls.at(n - 1);
    const auto rank = std::count(reference.calls.begin(), reference.calls.begin() + static_cast<long>(n), operation);
    return "call " + std::to_string(n) + " (" + operation + " #" + std::to_string(rank) + ")";
  }
  static std::string Name(const FaultPoint& point, const Reference& reference) {
    if (point.kind == FaultPoint::Kind::Suite) return "no " + point.operation;
    if (point.kind == FaultPoint::Kind::Call) return CallName(reference, point.n);
    const uint64_t after = reference.allocations.at(point.n - 1);
    return "allocation " + std::to_string(point.n) + " (after " + (after ? CallName(reference, after) : "no call") + ")";
  }

  // Tries every point, a few at once; prints and records the figures, fails on any point
  // that was not survived.
  void Try(const std::string& kind, const std::vector<FaultPoint>& points, bool saved = true) {
    const Reference& reference = saved ? reference_ : unsaved_;
    const auto began = std::chrono::steady_clock::now();
    std::vector<std::string> failures;
    std::map<std::string, int> notes;
    {
      ChildPool pool(kJobs, kChildTimeout);
      for (const FaultPoint& point : points)
        TryInChild(pool, saved, reference, point, [&, name = Name(point, reference)](const Findings& findings) {
          std::istringstream lines(findings.notes);
          for (std::string note; std::getline(lines, note);) ++notes[note.substr(0, note.find(':'))];
          if (!findings.problems.empty()) failures.push_back(name + ":\n" + findings.problems);
        });
    }
    std::printf("[ figures  ] %s: %zu fault points tried, %zu survived (%.1f s, %d at once)\n", kind.c_str(),
                points.size(), points.size() - failures.size(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(), kJobs);
    for (const auto& [note, count] : notes) std::printf("[ notes    ] %s: %d\n", note.c_str(), count);
    for (size_t i = 0; i < failures.size() && i < 40; ++i) ADD_FAILURE() << failures[i];
    EXPECT_EQ(failures.size(), 0u) << "fault points not survived (the first 40 are listed above)";
  }

  // Every call of the clean run that the text engine does (or does not) make, failing.
  static std::vector<FaultPoint> Calls(bool textEngine, ASErr code) {
    std::vector<FaultPoint> points;
    for (uint64_t n = 1; n <= reference_.calls.size(); ++n)
      if ((reference_.calls[n - 1].rfind("ATE ", 0) == 0) == textEngine)
        points.push_back({FaultPoint::Kind::Call, n, code, {}});
    return points;
  }
  static std::vector<FaultPoint> Allocations(const Reference& reference) {
    std::vector<FaultPoint> points;
    for (uint64_t n = 1; n <= reference.allocations.size(); ++n)
      points.push_back({FaultPoint::Kind::Allocation, n, kOutOfMemoryErr, {}});
    return points;
  }

  static inline testsupport::TempDir* folder_ = nullptr;
  static inline Reference reference_, unsaved_;
};

// The reference itself: every artboard stamped once with the user's settings, the earlier
// stamp gone, and the bleed the one line needs below the artboards (1.4 times the name's 14
// points), the other sides of each page's bleed its own; never saved, the fixed name.
TEST_F(Sweep, CleanRunStampsEveryArtboardOnce) {
  const auto count = [](const Reference& reference, const std::string& text) {
    return std::count_if(reference.stamps.begin(), reference.stamps.end(),
                         [&](const std::string& stamp) { return stamp.rfind("«" + text + "»", 0) == 0; });
  };
  for (const Reference* reference : {&reference_, &unsaved_}) {
    EXPECT_EQ(reference->stamps.size(), 9u) << "three artboards, three items each (the size is switched off)";
    for (const char* number : {"1/3", "2/3", "3/3"}) EXPECT_EQ(count(*reference, number), 1) << number;
    EXPECT_EQ(count(*reference, "10/04/2012"), 3);
    EXPECT_EQ(reference->pageBleeds, "1 2 19.6 4, 5 6 19.6 8, 0 0 19.6 0");
  }
  EXPECT_EQ(count(reference_, " \u00B7 Plaquette \u00E9t\u00E9 2012.svg"), 3);
  EXPECT_EQ(count(unsaved_, " \u00B7 Fichier non enregistr\u00E9"), 3);
  // Every call the sweep fails is one a person can fail with --fault.
  for (const std::string& operation : reference_.calls)
    EXPECT_TRUE(hostsim::isFailableOperation(operation)) << operation;
  EXPECT_GT(reference_.allocations.size(), 0u);
}

TEST_F(Sweep, EveryFailingHostCallIsSurvived) { Try("calls", Calls(false, kBadParameterErr)); }

// A failing text-engine call makes the plug-in's wrappers throw.
TEST_F(Sweep, EveryFailingTextEngineCallIsSurvived) { Try("text-engine calls", Calls(true, ATE::kBadParameter)); }

TEST_F(Sweep, EveryRefusedAllocationIsSurvived) { Try("allocations", Allocations(reference_)); }

// Never saved, the file name the plug-in asks for is not there.
TEST_F(Sweep, EveryRefusedAllocationIsSurvivedOnANeverSavedDocument) {
  Try("allocations, never saved", Allocations(unsaved_), false);
}

// A suite the host lacks: start-up fails with the host told why, or the plug-in does without.
TEST_F(Sweep, EveryMissingSuiteIsSurvived) {
  std::vector<FaultPoint> points;
  for (const std::string& name : reference_.suites) points.push_back({FaultPoint::Kind::Suite, 0, 0, name});
  Try("suites", points);
}

// Not knowing its own plug-in reference, the settings command once opened no dialog (the
// message's own reference serves instead) and the size buttons asked for their icon with a null
// reference: surviving is not enough, the faulted command must still stamp in full.
TEST_F(Sweep, TheCommandStampsInFullWhenTheCurrentPluginIsUnknown) {
  ChildPool pool(kJobs, kChildTimeout);
  for (uint64_t n : {1, 2, 3, 4})
    TryInChild(pool, true, reference_, {FaultPoint::Kind::Call, n, kBadParameterErr, "SP Access Suite.GetCurrentPlugin"},
               [n](const Findings& findings) {
                 EXPECT_EQ(findings.problems, "") << "GetCurrentPlugin #" << n;
                 EXPECT_NE(findings.notes.find(kStampedInFull), std::string::npos) << "GetCurrentPlugin #" << n;
               });
}

}  // namespace
}  // namespace sweep

// Stack traces with every report, also when the test runs outside ctest.
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }
// A folder-only font configuration keeps the character sets of its fonts after it is
// destroyed: the font library's, not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
