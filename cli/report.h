// The JSON report of a run (--report FILE): one entry per document, in input order, with
// what the document looks like after the run and what the plug-in showed the user.
//
// Host geometry is single precision: each number is written with enough digits to read
// back as exactly the host's value.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hostsim/model/geometry.h"

namespace hostsim {
class Document;
class FontCatalog;
class TextMeasurer;
}  // namespace hostsim

namespace estampilleur {

// Objects keep their keys in the order written, as the report is read by people too.
using Json = nlohmann::ordered_json;

struct StampRecord {
  std::string text;  // UTF-8
  double h = 0;
  double v = 0;
  std::string justification;  // "left", "right" or "center"
  std::string font;           // PostScript name
  double size = 0;            // points
  hostsim::Rect bounds;
};

struct DocumentRecord {
  std::optional<std::string> input;   // null for a new document
  std::optional<std::string> output;  // null when nothing was written
  bool saved = false;                 // the document had a file
  std::optional<std::string> dialog;  // "ok", "cancel", or null when no dialog ran
  std::optional<std::string> error;
  std::optional<std::string> endedBy;  // the plug-in's alert that refused or broke off the stamping
  bool described = false;             // the fields below hold the document's state
  std::vector<hostsim::Rect> artboards;
  int active = 0;
  hostsim::Rect bleed;
  std::vector<std::string> alerts;  // UTF-8
  int beeps = 0;
  std::vector<StampRecord> stamps;
};

// The host's value as a JSON number that reads back as the same single-precision value.
Json hostNumber(double value);

// Artboards, active artboard, bleed and stamps (every text that carries the stamp tag, in
// document order, measured with `metrics`), as the host sees them.
void describe(DocumentRecord& record, const hostsim::Document& document, const hostsim::FontCatalog& fonts,
              hostsim::TextMeasurer& metrics);

Json toJson(const DocumentRecord& record);
Json toJson(const std::vector<DocumentRecord>& records);

// Writes the report whole or not at all; throws std::runtime_error naming the file.
void writeReport(const std::filesystem::path& file, const std::vector<DocumentRecord>& records);

}  // namespace estampilleur
