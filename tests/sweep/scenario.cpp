#include "scenario.h"

#include <dlfcn.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>

#include <nlohmann/json.hpp>
#include <pugixml.hpp>

#include "hostsim/adm/dialogs.h"
#include "hostsim/adm/menus.h"
#include "hostsim/model/clock.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/preferences.h"
#include "hostsim/standard_host.h"

namespace sweep {

namespace {

// Mac Roman texts of the plug-in's menus.
const std::string kOutils = "QZV\xA5Outils";                 // QZV•Outils
const std::string kCommande = "QZV\xA5" "Estampilleur\xC9";  // QZV•Estampilleur…
const std::string kCalqueEstampilles = "QZV\u2022Estampilleur";  // the stamp layer's title, UTF-8
constexpr const char* kTag = "QZVNOM";
constexpr const char* kTagAttribute = "data-tag-QZVNOM";

// The settings dialog's items the user works.
constexpr int32_t kCorpsNom = 6;
constexpr int32_t kFormatDate = 12;
constexpr int32_t kCaseTaille = 14;
constexpr int32_t kInfosSuperposees = 16;
constexpr int32_t kSeparateur = 19;

// Three artboards (two A4 pages and a card) in points, each page with a bleed of its own (the
// card none), with the user's own art: a locked background layer, a drawing layer with a
// group, paths and texts (one that reads like a stamp but is not tagged), and the stamp layer
// of an earlier stamping with one stamp in it.
constexpr const char* kDocument = R"svg(<?xml version="1.0" encoding="UTF-8" standalone="no"?>
<svg
   width="1760pt"
   height="900pt"
   viewBox="0 0 1760 900"
   version="1.1"
   id="plaquette"
   xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape"
   xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"
   xmlns="http://www.w3.org/2000/svg">
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

constexpr const char* kDocumentName = "Plaquette \u00E9t\u00E9 2012.svg";  // Plaquette été 2012.svg

// What every child shares, made once in the parent: the module stays loaded (and never
// called) so that a child's load is a reference count, and each child moves one of the
// font catalogues into its hosts.
void* gModule = nullptr;
std::filesystem::path gFontFolder;
std::unique_ptr<hostsim::FontCatalog> gFonts[2];

std::unique_ptr<hostsim::FontCatalog> Fonts(int slot) {
  if (gFonts[slot]) return std::move(gFonts[slot]);
  return std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(gFontFolder));
}

// The user's script: the date in figures, a larger name, the items on one line with their
// own separator, the size switched off, then OK.
void Script(hostsim::adm::ScriptedUser& user) {
  user.clear();
  user.choose(kFormatDate, 2)
      .setValue(kCorpsNom, 14)
      .click(kInfosSuperposees)
      .type(kSeparateur, " \u00B7 ")  // " · "
      .click(kCaseTaille)
      .ok();
}

void Furnish(hostsim::Host& host, const Scene& scene, std::unique_ptr<hostsim::Document> document, int fonts) {
  host.loadPlugin(scene.module);
  host.setFonts(Fonts(fonts));
  host.clock().set({2012, 4, 10, 9, 30, 0});
  host.setDocument(std::move(document));
}

bool IsElement(const pugi::xml_node& node) { return node.type() == pugi::node_element; }

// Removes the groups that hold nothing, innermost first; true when `node` itself is left empty.
bool PruneEmptyGroups(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child;) {
    pugi::xml_node next = child.next_sibling();
    if (IsElement(child) && std::string(child.name()) == "g" && PruneEmptyGroups(child)) node.remove_child(child);
    child = next;
  }
  for (pugi::xml_node child : node.children())
    if (IsElement(child)) return false;
  return true;
}

void RemoveTagged(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child;) {
    pugi::xml_node next = child.next_sibling();
    if (IsElement(child)) {
      if (child.attribute(kTagAttribute))
        node.remove_child(child);
      else
        RemoveTagged(child);
    }
    child = next;
  }
}

std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

// Each page's bleed, top, right, bottom and left as the file writes them (none is no bleed).
std::vector<std::array<double, 4>> PageBleeds(const pugi::xml_node& root) {
  std::vector<std::array<double, 4>> bleeds;
  for (pugi::xml_node view : root.children("sodipodi:namedview"))
    for (pugi::xml_node page : view.children("inkscape:page")) {
      std::istringstream in(page.attribute("bleed").value());
      std::vector<double> v;
      for (double side; in >> side;) v.push_back(side);
      const size_t n = v.size();
      bleeds.push_back(n == 0   ? std::array<double, 4>{0, 0, 0, 0}
                       : n == 1 ? std::array<double, 4>{v[0], v[0], v[0], v[0]}
                       : n == 2 ? std::array<double, 4>{v[0], v[1], v[0], v[1]}
                       : n == 3 ? std::array<double, 4>{v[0], v[1], v[2], v[1]}
                                : std::array<double, 4>{v[0], v[1], v[2], v[3]});
    }
  return bleeds;
}

std::string Describe(const std::vector<std::array<double, 4>>& bleeds) {
  std::string text;
  for (const auto& b : bleeds)
    text += (text.empty() ? "" : ", ") + Number(b[0]) + " " + Number(b[1]) + " " + Number(b[2]) + " " + Number(b[3]);
  return text;
}

std::vector<std::array<double, 4>> PageBleeds(const std::string& svg) {
  pugi::xml_document xml;
  xml.load_buffer(svg.data(), svg.size());
  return PageBleeds(xml.document_element());
}

std::vector<Stamp> Stamps(const hostsim::Document& document) {
  std::vector<Stamp> stamps;
  for (hostsim::ArtHandle art : document.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any)) {
    if (!document.tag(art, kTag)) continue;
    const hostsim::TextStyle style = document.textStyle(art);
    const hostsim::Point anchor = document.textAnchor(art);
    stamps.push_back({document.text(art), anchor.h, anchor.v, style.font.postscriptName, style.sizePt,
                      static_cast<int>(style.justification)});
  }
  return stamps;
}

// The first difference between what a run stamped and what it should have.
std::string CompareStamps(const std::vector<Stamp>& got, const std::vector<Stamp>& expected) {
  std::string text;
  if (got.size() != expected.size())
    text = std::to_string(got.size()) + " stamps instead of " + std::to_string(expected.size());
  for (size_t i = 0; i < got.size() && i < expected.size(); ++i) {
    if (got[i] == expected[i]) continue;
    if (!text.empty()) text += "; ";
    return text + "stamp " + std::to_string(i + 1) + " is " + Describe(got[i]) + " instead of " + Describe(expected[i]);
  }
  return text;
}

// The first line where two texts part, with a little of each.
std::string FirstDifference(const std::string& got, const std::string& expected) {
  size_t i = 0;
  while (i < got.size() && i < expected.size() && got[i] == expected[i]) ++i;
  size_t from = i < 60 ? 0 : i - 60;
  return "at byte " + std::to_string(i) + ": «" + got.substr(from, 200) + "» instead of «" + expected.substr(from, 200) +
         "»";
}

std::string Code(ASErr code) {
  std::string text;
  bool printable = true;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((code >> shift) & 0xFF);
    if (c < 32 || c > 126) printable = false;
    text += c;
  }
  return printable ? "'" + text + "'" : std::to_string(code);
}

// A run's findings: problems fail the fault point, notes are counted.
struct Findings {
  std::vector<std::string> problems;
  std::vector<std::string> notes;
  void problem(std::string text) { problems.push_back(std::move(text)); }
};

// After a command: the modal dialog ended and the user's art is as it was.
void CheckAfterCommand(hostsim::Host& host, const Scene& scene, const char* when, Findings& findings) {
  if (hostsim::dialogs(host).top() != nullptr) findings.problem(std::string(when) + ": a dialog is still open");
  std::string userArt = UserArt(host.document()->toString());
  if (userArt != scene.originalUserArt)
    findings.problem(std::string(when) + ": art that is not a stamp changed, " +
                     FirstDifference(userArt, scene.originalUserArt));
}

void CheckGivenBack(hostsim::Host& host, const char* when, Findings& findings) {
  if (!host.allGivenBack()) findings.problem(std::string(when) + ": not everything was given back:\n" + host.outstanding());
}

// The next normal run: the command with the same script and no fault must give exactly the
// reference stamps, the reference bleed on every side of every page, no alert and no trouble
// with the dialog.
void CheckNormalCommand(hostsim::Host& host, hostsim::MenuItem* item, const Scene& scene,
                        const std::vector<Stamp>& stamps, const std::string& bleeds, Findings& findings) {
  const char* when = "the next normal run";
  if (item == nullptr) {
    findings.problem(std::string(when) + ": the plug-in runs but its command is not in the menus");
    return;
  }
  host.setPreferences(std::make_unique<hostsim::Preferences>(std::filesystem::path()));
  hostsim::dialogs(host).clearErrors();
  Script(hostsim::dialogs(host).user());
  const size_t alerts = host.alerts().size();
  ASErr result = host.chooseMenuItem(item->handle());
  if (result != kNoErr) findings.problem(std::string(when) + ": the command answered " + Code(result));
  for (const std::string& e : hostsim::dialogs(host).errors()) findings.problem(std::string(when) + ": " + e);
  for (size_t i = alerts; i < host.alerts().size(); ++i)
    findings.problem(std::string(when) + ": an alert: " + host.alerts()[i].text);
  CheckAfterCommand(host, scene, when, findings);
  std::string difference = CompareStamps(Stamps(*host.document()), stamps);
  if (!difference.empty()) findings.problem(std::string(when) + ": " + difference);
  const std::string got = Describe(PageBleeds(host.document()->toString()));
  if (got != bleeds) findings.problem(std::string(when) + ": the pages' bleeds are " + got + " instead of " + bleeds);
}

// The one run behind CleanRun (reference null, everything logged into `observed`) and
// FaultedRun.
Findings Run(const Scene& scene, const Reference* reference, const FaultPoint& fault, Reference& observed) {
  Findings findings;
  auto document = std::make_unique<hostsim::Document>(scene.saved ? hostsim::Document::load(scene.document)
                                                                  : hostsim::Document::parse(scene.original));
  bool running = false;
  uint64_t modal = 0;
  {
    hostsim::StandardHost host;
    Furnish(host, scene, std::move(document), 0);
    const bool logging = reference == nullptr;
    if (logging) {
      host.accounting().logCalls(true);
      host.logAllocations(true);
      hostsim::dialogs(host).onOpen(
          [&](hostsim::adm::Dialog&) { observed.dialogOpened = host.accounting().totalCalls(); });
    }
    if (fault.kind == FaultPoint::Kind::Call)
      host.faults().failCall(fault.operation.empty() ? "*" : fault.operation, fault.n, fault.code);
    if (fault.kind == FaultPoint::Kind::Allocation) host.faults().failAllocation(fault.n);
    if (fault.kind == FaultPoint::Kind::Suite) host.faults().makeSuiteUnavailable(fault.operation);
    Script(hostsim::dialogs(host).user());

    ASErr started = host.startup();
    if (started == kNoErr) host.applicationStarted();
    hostsim::MenuItem* item = hostsim::menus(host).findItem(kOutils, kCommande);
    // Chosen even after a failed start-up: the host keeps whatever items were added.
    if (item != nullptr) {
      host.chooseMenuItem(item->handle());
      modal = host.accounting().callsOf("ADM Dialog Suite.Modal");
    }
    if (!hostsim::dialogs(host).errors().empty() && reference != nullptr) {
      // Where the fault stood in the clean run's calls, when known.
      uint64_t at = 0;
      if (fault.kind == FaultPoint::Kind::Call && fault.operation.empty()) at = fault.n;
      if (fault.kind == FaultPoint::Kind::Allocation && fault.n <= reference->allocations.size())
        at = reference->allocations[fault.n - 1] + 1;
      const char* when = at == 0                           ? "the host ended the dialog: "
                         : at > reference->dialogOpened ? "the host ended the dialog after it was built: "
                                                        : "the host ended the dialog as it was built: ";
      findings.notes.push_back(when + hostsim::dialogs(host).errors().front());
    }
    if (reference == nullptr && !hostsim::dialogs(host).errors().empty())
      findings.problem("the clean run: " + hostsim::dialogs(host).errors().front());
    if (started != kNoErr) findings.notes.push_back("start-up failed");
    if (item != nullptr && modal == 0) findings.notes.push_back("no dialog");
    CheckAfterCommand(host, scene, "after the faulted command", findings);

    if (logging) {
      observed.calls = host.accounting().callLog();
      observed.suites = host.accounting().suiteNames();
      for (const auto& record : host.allocationLog()) observed.allocations.push_back(record.afterCalls);
      observed.stamps = Stamps(*host.document());
      observed.bleedBottom = host.document()->bleed().bottom;
      observed.pageBleeds = Describe(PageBleeds(host.document()->toString()));
    }
    const std::vector<Stamp>& stamps = reference != nullptr ? reference->stamps : observed.stamps;
    const std::string& bleeds = reference != nullptr ? reference->pageBleeds : observed.pageBleeds;
    if (reference != nullptr && Stamps(*host.document()) == stamps) findings.notes.push_back(kStampedInFull);

    // A point the run never reached would be counted as survived without being tried.
    const bool reached = fault.kind == FaultPoint::Kind::Call
                             ? (fault.operation.empty() ? host.accounting().totalCalls()
                                                        : host.accounting().callsOf(fault.operation)) >= fault.n
                         : fault.kind == FaultPoint::Kind::Allocation ? host.allocations() >= fault.n
                                                                      : true;
    if (!reached) findings.problem("the fault point was never reached");

    // Started, the plug-in is asked again in the same session; otherwise the host starts
    // anew with the same document.
    host.faults().clear();
    running = host.plugin().globals != nullptr;
    if (running) CheckNormalCommand(host, item, scene, stamps, bleeds, findings);
    ASErr stopped = host.shutdown();
    if (stopped != kNoErr) findings.problem("shutdown answered " + Code(stopped));
    CheckGivenBack(host, "after shutdown", findings);
    document = host.takeDocument();
  }
  if (!running) {
    hostsim::StandardHost host;
    Furnish(host, scene, std::move(document), 1);
    ASErr started = host.startup();
    if (started != kNoErr) findings.problem("the next start-up answered " + Code(started));
    host.applicationStarted();
    const std::vector<Stamp>& stamps = reference != nullptr ? reference->stamps : observed.stamps;
    const std::string& bleeds = reference != nullptr ? reference->pageBleeds : observed.pageBleeds;
    CheckNormalCommand(host, hostsim::menus(host).findItem(kOutils, kCommande), scene, stamps, bleeds, findings);
    host.shutdown();
    CheckGivenBack(host, "after the next shutdown", findings);
  }
  return findings;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

}  // namespace

std::string Describe(const Stamp& stamp) {
  return "«" + stamp.text + "» at (" + Number(stamp.h) + ", " + Number(stamp.v) + ") in " + stamp.font + " " +
         Number(stamp.size) + " pt, justification " + std::to_string(stamp.justification);
}

std::string Reference::toText() const {
  nlohmann::json json;
  json["calls"] = calls;
  json["allocations"] = allocations;
  json["dialogOpened"] = dialogOpened;
  json["suites"] = suites;
  json["bleedBottom"] = bleedBottom;
  json["pageBleeds"] = pageBleeds;
  for (const Stamp& s : stamps)
    json["stamps"].push_back({s.text, s.h, s.v, s.font, s.size, s.justification});
  return json.dump();
}

Reference Reference::fromText(const std::string& text) {
  nlohmann::json json = nlohmann::json::parse(text);
  Reference reference;
  reference.calls = json.at("calls").get<std::vector<std::string>>();
  reference.allocations = json.at("allocations").get<std::vector<uint64_t>>();
  reference.dialogOpened = json.at("dialogOpened").get<uint64_t>();
  reference.suites = json.at("suites").get<std::vector<std::string>>();
  reference.bleedBottom = json.at("bleedBottom").get<double>();
  reference.pageBleeds = json.at("pageBleeds").get<std::string>();
  if (json.contains("stamps"))
    for (const auto& s : json.at("stamps"))
      reference.stamps.push_back({s.at(0).get<std::string>(), s.at(1).get<double>(), s.at(2).get<double>(),
                                  s.at(3).get<std::string>(), s.at(4).get<double>(), s.at(5).get<int>()});
  return reference;
}

Scene Prepare(const std::filesystem::path& module, const std::filesystem::path& fonts,
              const std::filesystem::path& folder) {
  Scene scene;
  scene.module = module;
  std::filesystem::create_directories(folder);
  scene.document = folder / kDocumentName;
  scene.original = kDocument;
  {
    std::ofstream out(scene.document, std::ios::binary);
    out << scene.original;
    if (!out) throw std::runtime_error(scene.document.string() + ": cannot write the test document");
  }
  scene.originalUserArt = UserArt(scene.original);
  if (gModule == nullptr) {
    gModule = ::dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (gModule == nullptr) throw std::runtime_error(module.string() + ": " + ::dlerror());
  }
  gFontFolder = fonts;
  for (auto& catalog : gFonts)
    if (!catalog) catalog = std::make_unique<hostsim::FontCatalog>(hostsim::FontCatalog::fromDirectory(fonts));
  return scene;
}

std::string UserArt(const std::string& svg) {
  pugi::xml_document xml;
  pugi::xml_parse_result parsed = xml.load_buffer(svg.data(), svg.size());
  if (!parsed) return std::string("not XML: ") + parsed.description();
  pugi::xml_node root = xml.document_element();
  RemoveTagged(root);
  for (pugi::xml_node layer = root.first_child(); layer;) {
    pugi::xml_node next = layer.next_sibling();
    if (IsElement(layer) && std::string(layer.name()) == "g" &&
        std::string(layer.attribute("inkscape:groupmode").value()) == "layer" &&
        layer.attribute("inkscape:label").value() == kCalqueEstampilles && PruneEmptyGroups(layer))
      root.remove_child(layer);
    layer = next;
  }
  // The bottom bleed is ours to set; every other side stays the user's. The canvas is the
  // host's, fitted around the pages, their bleeds and the stamps.
  for (const char* canvas : {"width", "height", "viewBox"}) root.remove_attribute(canvas);
  const auto bleeds = PageBleeds(root);
  size_t i = 0;
  for (pugi::xml_node view : root.children("sodipodi:namedview"))
    for (pugi::xml_node page : view.children("inkscape:page")) {
      const auto& b = bleeds[i++];
      page.remove_attribute("bleed");
      page.append_attribute("bleed-but-bottom") = (Number(b[0]) + " " + Number(b[1]) + " " + Number(b[3])).c_str();
    }
  std::ostringstream out;
  xml.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  return out.str();
}

std::string CleanRun(const Scene& scene) {
  Reference observed;
  Findings findings = Run(scene, nullptr, FaultPoint{}, observed);
  nlohmann::json json;
  json["problems"] = Join(findings.problems);
  json["reference"] = observed.toText();
  return json.dump();
}

std::string FaultedRun(const Scene& scene, const Reference& reference, const FaultPoint& fault, std::string& notes) {
  Reference unused;
  Findings findings = Run(scene, &reference, fault, unused);
  notes = Join(findings.notes);
  return Join(findings.problems);
}

}  // namespace sweep
