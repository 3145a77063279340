// Runs the built estampilleur program as a person would from a shell, in a fresh folder with
// its own preferences and the fixed test fonts, and reads back what it left.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/support.h"

namespace runner {

struct Result {
  int status = -1;           // exit status, or 128 + signal
  std::string out;           // standard output
  std::string err;           // standard error
  nlohmann::json documents;  // stamp(): the report's documents, null when it wrote none
};

// A fresh folder under the temporary folder, removed afterwards, where the program runs.
class Workspace : public testsupport::TempDir {
 public:
  // The preferences file every run of this workspace uses unless told otherwise.
  std::filesystem::path preferences() const { return path() / "config" / "estampilleur" / "preferences.ini"; }
  // Copies examples/NAME in (as `as` when given) and returns the copy.
  std::filesystem::path example(const std::string& name, const std::string& as = "") const;

  // Runs `estampilleur ARGS...` here with XDG_CONFIG_HOME and HOME inside, ESTAMPILLEUR_FONTS on
  // the test fonts, no SOURCE_DATE_EPOCH, `environment` added; killed after `limitSeconds`.
  Result run(const std::vector<std::string>& args, const std::vector<std::string>& environment = {},
             double limitSeconds = 300) const;
  // Runs `estampilleur stamp --date 2012-04-10 --report report.json ARGS...`.
  Result stamp(std::vector<std::string> args, double limitSeconds = 300) const;
};

inline std::string readFile(const std::filesystem::path& file) { return testsupport::readText(file); }
inline void writeFile(const std::filesystem::path& file, const std::string& bytes) { testsupport::writeText(file, bytes); }
inline nlohmann::json readJson(const std::filesystem::path& file) { return nlohmann::json::parse(readFile(file)); }

// The texts of a report entry's stamps, in order, and whether one of them is `text`.
inline std::vector<std::string> stampTexts(const nlohmann::json& document) {
  std::vector<std::string> texts;
  for (const auto& stamp : document.at("stamps")) texts.push_back(stamp.at("text").get<std::string>());
  return texts;
}
inline bool stamped(const nlohmann::json& document, const std::string& text) {
  return std::ranges::count(stampTexts(document), text) > 0;
}

// How often `needle` occurs in `text`.
inline size_t occurrences(const std::string& text, const std::string& needle) {
  size_t count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
  return count;
}

}  // namespace runner
