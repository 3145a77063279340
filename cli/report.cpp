#include "report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "hostsim/model/atomic_file.h"
#include "hostsim/model/document.h"
#include "hostsim/model/fonts.h"

namespace estampilleur {

namespace {

constexpr char kStampTag[] = "QZVNOM";

Json optionalText(const std::optional<std::string>& text) {
  return text ? Json(*text) : Json(nullptr);
}

Json rectangle(const hostsim::Rect& r) {
  return {{"left", hostNumber(r.left)}, {"top", hostNumber(r.top)}, {"right", hostNumber(r.right)},
          {"bottom", hostNumber(r.bottom)}};
}

const char* justificationName(hostsim::Justification j) {
  switch (j) {
    case hostsim::Justification::Right: return "right";
    case hostsim::Justification::Center: return "center";
    case hostsim::Justification::Left: break;
  }
  return "left";
}

}  // namespace

Json hostNumber(double value) {
  auto single = static_cast<float>(value);
  if (!std::isfinite(single)) return nullptr;
  // Nine significant digits single out every float; the double nearest to that decimal is
  // written back in its shortest form, so the text stays short and reads back exactly.
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(single));
  return std::strtod(text, nullptr);
}

void describe(DocumentRecord& record, const hostsim::Document& document, const hostsim::FontCatalog& fonts,
              hostsim::TextMeasurer& metrics) {
  record.described = true;
  record.artboards.clear();
  for (int i = 0; i < document.artboardCount(); ++i) record.artboards.push_back(document.artboard(i));
  record.active = document.activeArtboard();
  record.bleed = document.bleed();

  record.stamps.clear();
  for (hostsim::ArtHandle art : document.matchingArt(hostsim::ArtKind::PointText, hostsim::LockFilter::Any)) {
    if (!document.tag(art, kStampTag)) continue;
    StampRecord stamp;
    stamp.text = document.text(art);
    hostsim::Point anchor = document.textAnchor(art);
    stamp.h = anchor.h;
    stamp.v = anchor.v;
    hostsim::TextStyle style = document.textStyle(art);
    stamp.justification = justificationName(style.justification);
    stamp.font = style.font.postscriptName;
    if (stamp.font.empty())
      if (const hostsim::FontInfo* face = fonts.resolve(style.font)) stamp.font = face->postscriptName;
    stamp.size = style.sizePt;
    stamp.bounds = document.textBounds(art, metrics);
    record.stamps.push_back(std::move(stamp));
  }
}

Json toJson(const DocumentRecord& record) {
  Json json = {
      {"input", optionalText(record.input)},
      {"output", optionalText(record.output)},
      {"saved", record.saved},
      {"dialog", optionalText(record.dialog)},
      {"error", optionalText(record.error)},
      {"endedBy", optionalText(record.endedBy)},
  };
  json["artboards"] = Json::array();
  for (const auto& artboard : record.artboards) json["artboards"].push_back(rectangle(artboard));
  json["active"] = record.described ? Json(record.active) : Json(nullptr);
  json["bleed"] = record.described ? rectangle(record.bleed) : Json(nullptr);
  json["alerts"] = record.alerts;
  json["beeps"] = record.beeps;
  json["stamps"] = Json::array();
  for (const auto& stamp : record.stamps) {
    json["stamps"].push_back({
        {"text", stamp.text},
        {"h", hostNumber(stamp.h)},
        {"v", hostNumber(stamp.v)},
        {"justification", stamp.justification},
        {"font", stamp.font},
        {"size", hostNumber(stamp.size)},
        {"bounds", rectangle(stamp.bounds)},
    });
  }
  return json;
}

Json toJson(const std::vector<DocumentRecord>& records) {
  Json documents = Json::array();
  for (const auto& record : records) documents.push_back(toJson(record));
  return {{"documents", documents}};
}

void writeReport(const std::filesystem::path& file, const std::vector<DocumentRecord>& records) {
  // File names need not be UTF-8: a stray byte becomes U+FFFD rather than losing the report.
  std::string text = toJson(records).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
  hostsim::writeFileAtomically(file, text);
}

}  // namespace estampilleur
