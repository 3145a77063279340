// estampilleur stamp: each input (or a new document) is opened in the host, the settings
// command chosen, the dialog worked, and the result saved where the options say.
#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "actions.h"
#include "commands.h"
#include "faults.h"
#include "hostsim/adm/dialogs.h"
#include "hostsim/model/compressed.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"
#include "hostsim/model/mac_roman.h"
#include "report.h"
#include "trace.h"
#include "session.h"

namespace estampilleur {

namespace {

constexpr double kPointsPerInch = 72;

std::optional<double> pointsPer(const std::string& unit) {
  if (unit == "pt") return 1.0;
  if (unit == "mm") return kPointsPerInch / 25.4;
  if (unit == "cm") return kPointsPerInch / 2.54;
  if (unit == "in") return kPointsPerInch;
  if (unit == "px") return kPointsPerInch / 96;
  return std::nullopt;
}

// "210x297mm,297x420mm": one artboard per size, width x height and a unit.
std::vector<hostsim::PageSize> parseSizes(const std::string& text, std::string& problem) {
  std::vector<hostsim::PageSize> sizes;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    std::string one = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    start = comma == std::string::npos ? text.size() + 1 : comma + 1;
    double width = 0, height = 0;
    const char* end = one.data() + one.size();
    auto [afterWidth, e1] = std::from_chars(one.data(), end, width);
    bool good = e1 == std::errc{} && afterWidth != end && *afterWidth == 'x';
    const char* afterHeight = afterWidth;
    if (good) {
      auto [next, e2] = std::from_chars(afterWidth + 1, end, height);
      good = e2 == std::errc{};
      afterHeight = next;
    }
    if (!good) {
      problem = "«" + one + "» is not WIDTHxHEIGHT with a unit, as 210x297mm";
      return {};
    }
    size_t used = static_cast<size_t>(afterHeight - one.data());
    auto perUnit = pointsPer(one.substr(used));
    if (!perUnit) {
      problem = "«" + one + "» needs a unit: mm, cm, in, pt or px";
      return {};
    }
    width *= *perUnit;
    height *= *perUnit;
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0 || width > 1e7 ||
        height > 1e7) {
      problem = "«" + one + "» is not a usable artboard size";
      return {};
    }
    sizes.push_back({width, height});
  }
  return sizes;
}

std::string oneLine(std::string text) {
  for (auto& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

// The alert with which the plug-in refused a stamping (a locked or hidden layer) or broke it
// off (every error alert), among those from `first` on; the bleed alert is neither.
const hostsim::Alert* endingAlert(const std::vector<hostsim::Alert>& alerts, size_t first) {
  static const std::string kLockedLayer = "Impossible, le calque est verrouill\x8E.";  // ...verrouillé.
  for (size_t a = first; a < alerts.size(); ++a)
    if (alerts[a].kind == hostsim::Alert::Kind::Error || alerts[a].text == kLockedLayer) return &alerts[a];
  return nullptr;
}

class StampCommand final : public Command {
 public:
  explicit StampCommand(CLI::App& program) {
    app = program.add_subcommand("stamp", "Stamp SVG documents (or a new one) and save the results");
    app->add_option("inputs", inputs_, "The SVG documents to stamp")->type_name("INPUT.svg");

    const std::string where = "Where the results go (exactly one)";
    output_ = app->add_option("-o,--output", outputFile_, "Write the result to FILE (one input only); - is standard output")
                  ->type_name("FILE")
                  ->group(where);
    outDir_ = app->add_option("--out-dir", outputDir_, "Write each result as DIR/<the input's file name>")
                  ->type_name("DIR")
                  ->group(where);
    const std::string inPlaceHelp = "Replace each input by its result (atomically)";
    inPlace_ = app->add_flag("--in-place", inPlaceHelp)->group(where);

    const std::string host = "The document and the host";
    newDocument_ = app->add_option("--new", newSizes_,
                                   "Stamp a new, never-saved document instead of inputs, one artboard per size "
                                   "(as 210x297mm,297x420mm or 612x792pt; units mm, cm, in, pt, px); needs -o")
                       ->type_name("SIZES")
                       ->group(host)
                       ->check([](const std::string& text) {
                         std::string problem;
                         parseSizes(text, problem);
                         return problem;
                       });
    app->add_option("--active", active_, "The document's active artboard, counted from 1 (default 1)")
        ->type_name("N")
        ->check([](const std::string& text) {
          return text.find_first_not_of("0123456789") == std::string::npos && text.find_first_not_of('0') != std::string::npos
                     ? std::string()
                     : "«" + text + "» is not an artboard number (1, 2, ...)";
        })
        ->group(host);
    documentPathOption_ =
        app->add_option("--document-path", documentPath_,
                        "The file the input stands for, as when it is a copy: the plug-in is told the document "
                        "is PATH, and stamps its name; \"\" for a never-saved document (one INPUT only)")
            ->type_name("PATH")
            ->group(host);
    app->add_option("--date", date_, "The host's date (default: SOURCE_DATE_EPOCH when set, else today)")
        ->type_name("YYYY-MM-DD")
        ->group(host)
        ->check([](const std::string& text) {
          return parseDate(text) ? std::string() : "«" + text + "» is not a date written YYYY-MM-DD";
        });
    app->add_option("--prefs", prefs_,
                    "The host's preferences file (default $XDG_CONFIG_HOME/estampilleur/preferences.ini, "
                    "or ~/.config/...); OK stores the settings there")
        ->type_name("FILE")
        ->group(host);
    app->add_option("--report", report_, "Write a JSON report of the run to FILE")->type_name("FILE")->group(host);
    auto* cancel =
        app->add_flag("--cancel", cancel_, "Press Cancel instead of OK: the documents are saved unstamped")->group(host);
    app->add_flag("-i,--interactive", interactive_,
                  "Open the settings dialog in a window for each document, set by the dialog options given, "
                  "for you to press OK or Annuler")
        ->group(host)
        ->excludes(cancel);
    addFaultOption(*app, faults_);
    addTraceOption(*app, trace_);

    actions_.addTo(*app);
  }

  int run() override {
    if (faultHelp(faults_)) return kSuccess;
    if (auto problem = usageProblem()) {
      complain(*problem);
      return kUsage;
    }
    // Before anything is opened or written.
    if (interactive_ && !openDesktop()) return kUsage;
    std::vector<DialogAction> actions = actions_.collect();

    HostSettings settings;
    if (!openTrace(trace_, settings)) return kUsage;
    settings.windows = interactive_;
    if (!prefs_.empty()) settings.preferences = prefs_;
    if (!date_.empty()) settings.date = parseDate(date_);
    settings.faults = faults_;

    std::vector<DocumentRecord> records;
    int status = kSuccess;
    std::unique_ptr<Session> session;
    std::optional<std::string> setupError;
    try {
      session = std::make_unique<Session>(settings);
      if (!session->start()) setupError = session->startupError();
    } catch (const SetupError& e) {
      setupError = e.what();
    }
    if (setupError) {
      complain(*setupError);
      status = kFailure;
    }

    size_t jobs = isNew() ? 1 : inputs_.size();
    bool refused = false;
    for (size_t i = 0; i < jobs; ++i) {
      DocumentRecord record;
      if (!isNew()) record.input = inputs_[i];
      record.saved = !isNew();
      if (setupError) {
        record.error = *setupError;
      } else if (refused) {
        record.error = "not stamped: a dialog action was refused";
      } else {
        int outcome = stampOne(*session, i, actions, record);
        if (outcome == kUsage) refused = true;
        status = std::max(status, outcome);
      }
      records.push_back(std::move(record));
    }
    if (session && !session->finish()) status = std::max(status, kFailure);
    session.reset();

    if (!report_.empty()) {
      try {
        writeReport(report_, records);
      } catch (const std::exception& e) {
        complain(std::string("the report was not written: ") + e.what());
        status = std::max(status, kFailure);
      }
    }
    return status;
  }

 private:
  bool isNew() const { return newDocument_->count() > 0; }
  bool toStdout() const { return output_->count() > 0 && outputFile_ == "-"; }

  std::optional<std::string> usageProblem() const {
    int destinations = (output_->count() > 0) + (outDir_->count() > 0) + (inPlace_->count() > 0);
    if (isNew()) {
      if (destinations > 1) return std::string("-o, --out-dir and --in-place exclude each other: choose one");
      if (!inputs_.empty()) return std::string("--new makes a new document: give no INPUT files with it");
      if (output_->count() == 0) return std::string("--new needs -o FILE: a new document has no file of its own");
      if (documentPathOption_->count() > 0) return std::string("--document-path is for an INPUT, not --new");
      return std::nullopt;
    }
    if (destinations > 1) return std::string("-o, --out-dir and --in-place exclude each other: choose one");
    if (inputs_.empty()) return std::string("no INPUT files to stamp (or --new SIZES for a new document)");
    if (destinations == 0)
      return std::string("say where the results go: -o FILE, --out-dir DIR or --in-place");
    if (output_->count() > 0 && inputs_.size() > 1)
      return "-o takes one input, and " + std::to_string(inputs_.size()) + " were given: use --out-dir DIR";
    if (documentPathOption_->count() > 0 && inputs_.size() > 1)
      return "--document-path stands for one input's file, and " + std::to_string(inputs_.size()) + " were given";
    if (outDir_->count() > 0) {
      // Two inputs of the same name would silently overwrite each other's result.
      std::map<std::filesystem::path, std::string> taken;
      for (const auto& input : inputs_) {
        auto name = std::filesystem::path(input).filename();
        if (name.empty()) continue;  // reported as that input's fault
        auto [it, fresh] = taken.emplace(name, input);
        if (!fresh && it->second != input)
          return "--out-dir: " + it->second + " and " + input + " would both be written to " +
                 (std::filesystem::path(outputDir_) / name).string();
      }
    }
    return std::nullopt;
  }

  std::string label(const DocumentRecord& record) const { return record.input ? *record.input : "the new document"; }

  int fail(DocumentRecord& record, const std::string& message) {
    complain(message);
    record.error = message;
    return kFailure;
  }

  // Stamps job i into record; returns its exit status.
  int stampOne(Session& session, size_t i, const std::vector<DialogAction>& actions, DocumentRecord& record) {
    hostsim::Host& host = session.host();
    const std::string name = label(record);

    std::unique_ptr<hostsim::Document> document;
    try {
      if (isNew()) {
        std::string ignored;
        document = std::make_unique<hostsim::Document>(hostsim::Document::create(parseSizes(newSizes_, ignored)));
      } else {
        document = std::make_unique<hostsim::Document>(hostsim::Document::load(inputs_[i]));
      }
    } catch (const std::exception& e) {
      return fail(record, e.what());
    }

    if (documentPathOption_->count() > 0) {
      if (documentPath_.empty()) record.saved = false;
      document->setLocation(documentPath_.empty() ? std::nullopt
                                                  : std::optional<std::filesystem::path>(documentPath_));
    }

    if (active_ > document->artboardCount())
      return fail(record, name + ": --active " + std::to_string(active_) + ", but the document has " +
                              std::to_string(document->artboardCount()) + " artboard" +
                              (document->artboardCount() == 1 ? "" : "s"));
    document->setActiveArtboard(active_ - 1);

    size_t alertsBefore = host.alerts().size();
    int beepsBefore = host.beeps();
    host.setDocument(std::move(document));
    DialogScript script(actions, interactive_ ? DialogScript::Ending::Person
                                 : cancel_    ? DialogScript::Ending::Cancel
                                              : DialogScript::Ending::OK);
    DialogOutcome outcome = session.choose(kToolsGroup, kSettingsCommand, script);
    document = host.takeDocument();

    for (size_t a = alertsBefore; a < host.alerts().size(); ++a) {
      std::string text = hostsim::macRomanToUtf8(host.alerts()[a].text);
      complain(name + ": the plug-in says: " + oneLine(text));
      record.alerts.push_back(text);
    }
    record.beeps = host.beeps() - beepsBefore;
    if (outcome.opened) {
      // Either button may end the dialog with the same result: the host knows which did.
      const hostsim::adm::Dialog& dialog = *outcome.dialog;
      const bool ok = script.pressed() ? *script.pressed() == DialogScript::Ending::OK
                                       : dialog.endingItem() == std::optional<int32_t>(item::kOK);
      record.dialog = ok && !dialog.endedByHost() ? "ok" : "cancel";
    }

    if (script.refusal()) {
      complain(*script.refusal());
      record.error = *script.refusal();
      return kUsage;
    }
    if (!outcome.opened || !outcome.problems.empty() || outcome.result != kNoErr) {
      std::string why;
      for (const auto& problem : outcome.problems) why += (why.empty() ? "" : "; ") + problem;
      if (outcome.result != kNoErr)
        why += (why.empty() ? "" : "; ") + std::string("the menu command answered error ") +
               errorCodeText(outcome.result);
      if (why.empty()) why = "the plug-in opened no dialog";
      return fail(record, name + ": not stamped: " + why);
    }

    if (!document) return fail(record, name + ": the host lost the document");
    // The earlier stamps may be gone already: such a result is not saved.
    if (const hostsim::Alert* ending = endingAlert(host.alerts(), alertsBefore)) {
      record.endedBy = hostsim::macRomanToUtf8(ending->text);
      return fail(record, name + ": not stamped, nothing saved: the plug-in stopped with «" + oneLine(*record.endedBy) +
                              "»");
    }
    // The host measures the texts it writes, so that the canvas holds them all.
    hostsim::FontMetrics& metrics = host.textMetrics();
    try {
      if (toStdout()) {
        std::string svg = document->toString(&metrics);
        std::fflush(stdout);
        if (std::fwrite(svg.data(), 1, svg.size(), stdout) != svg.size() || std::fflush(stdout) != 0)
          return fail(record, name + ": cannot write the result to standard output");
        record.output = "-";
      } else {
        std::filesystem::path target = destination(i);
        if (target.empty()) return fail(record, name + ": has no file name to write under --out-dir");
        bool unchanged = inPlace_->count() > 0 && !document->modified();
        // In place the file keeps its form; elsewhere its name says it (.svgz: compressed).
        if (inPlace_->count() == 0) document->setCompressed(hostsim::namesCompressedFile(target));
        if (!unchanged) {
          if (outDir_->count() > 0) std::filesystem::create_directories(outputDir_);
          document->saveAs(target, &metrics);
        }
        record.output = target.string();
      }
    } catch (const std::exception& e) {
      return fail(record, name + ": not saved: " + e.what());
    }
    // Only the report reads the description, and measuring every stamp is not free.
    if (!report_.empty()) describe(record, *document, host.fonts(), metrics);
    return kSuccess;
  }

  std::filesystem::path destination(size_t i) const {
    if (output_->count() > 0) return outputFile_;
    std::filesystem::path input = inputs_[i];
    if (outDir_->count() > 0) {
      if (input.filename().empty()) return {};
      return std::filesystem::path(outputDir_) / input.filename();
    }
    // In place: through a symbolic link, the file it names is replaced, not the link.
    std::error_code ec;
    if (std::filesystem::is_symlink(input, ec)) {
      auto target = std::filesystem::canonical(input, ec);
      if (!ec) return target;
    }
    return input;
  }

  std::vector<std::string> inputs_;
  std::string outputFile_;
  std::string outputDir_;
  std::string newSizes_;
  std::string date_;
  std::string prefs_;
  std::string report_;
  std::string documentPath_;
  std::vector<std::string> faults_;
  std::string trace_;
  int active_ = 1;
  bool cancel_ = false;
  bool interactive_ = false;
  CLI::Option* output_ = nullptr;
  CLI::Option* outDir_ = nullptr;
  CLI::Option* inPlace_ = nullptr;
  CLI::Option* newDocument_ = nullptr;
  CLI::Option* documentPathOption_ = nullptr;
  DialogActionOptions actions_;
};

}  // namespace

std::unique_ptr<Command> stampCommand(CLI::App& program) { return std::make_unique<StampCommand>(program); }

}  // namespace estampilleur
